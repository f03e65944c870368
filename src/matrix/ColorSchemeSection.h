// The colour scheme as one part of the settings file, shown as soon as it is stored. UI thread.
#pragma once

#include <functional>
#include <utility>

#include "matrix/ColorScheme.h"
#include "platform/SettingsSection.h"

namespace mav {

class ColorSchemeSection final : public ColorSchemeStore {
 public:
  ColorSchemeSection(SettingsSection<ColorScheme>& part, std::function<void()> repaint)
      : part_(part), repaint_(std::move(repaint)) {}

  ColorScheme color_scheme() const override { return part_.get(); }
  void set_colors(const ColorScheme& scheme) override {
    part_.edit([&](ColorScheme& kept) {
      kept = scheme;
      return true;
    });
    repaint_();
  }

 private:
  SettingsSection<ColorScheme>& part_;
  std::function<void()> repaint_;
};

}  // namespace mav
