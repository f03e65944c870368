// All matrix artwork, drawn once at start-up in the exact pixel sizes of each role and screen
// size, and the operator's custom icons (26 slots, 551 + slot). Draw and LoadAll run on the UI
// thread; LoadCustom and FreeCustom may come from any thread (the slots are locked).
#pragma once

#include <QImage>
#include <QPainter>
#include <array>
#include <mutex>
#include <vector>

#include "matrix/Artwork.h"
#include "matrix/CustomIcons.h"

namespace mav {

class IconStore final : public CustomIcons {
 public:
  IconStore();

  // Draws every preset image and empties the custom slots; false if any image came out empty.
  bool LoadAll();
  // Copies an image 1:1 with its top left at (x, y); a custom icon is scaled to the custom size.
  // Unknown ids and empty slots draw nothing.
  void Draw(int id, int x, int y, QPainter& target) const;
  // The size custom icons are drawn in.
  void SetCustomSize(int height, int width);
  // The preset image of an id; null for custom icons and unknown ids.
  const QImage* Image(int id) const;

  int LoadCustom(const char* path, int old_id) override;
  void FreeCustom() override;
  // Frees every image; LoadAll draws them anew.
  void FreeAll();

 private:
  struct CustomSlot {
    QImage original;
    QImage scaled;  // original at the custom size, made on first use
  };

  std::vector<QImage> preset_;  // indexed by id, below kCustomIconBase
  mutable std::mutex custom_mutex_;
  mutable std::array<CustomSlot, kCustomIconSlots> custom_;
  int custom_width_ = 0;
  int custom_height_ = 0;
};

}  // namespace mav
