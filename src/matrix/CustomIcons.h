// The operator's own icon pictures, loaded from files into 26 slots and known by 551 + slot. The
// configuration loader and the settings dialogs reach them through this interface; the UI's
// IconStore carries it. Any thread (the store locks its slots).
#pragma once

namespace mav {

class CustomIcons {
 public:
  virtual ~CustomIcons() = default;
  // Frees old_id's slot when old_id is a custom icon (551 or more); then, with a path (BMP or
  // PNG), loads the file into the lowest free slot and returns 551 + slot. -1 without a path,
  // when the file cannot be loaded or when all 26 slots are taken.
  virtual int LoadCustom(const char* path, int old_id) = 0;
  // Frees all 26 slots.
  virtual void FreeCustom() = 0;
};

}  // namespace mav
