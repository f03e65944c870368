// The parts of the preferences that other subsystems work with, each through the store of its
// own subsystem: the password and its switches, the colour scheme and the phone book. Any thread
// unless a store says otherwise.
#pragma once

#include <functional>

#include "matrix/ColorSchemeSection.h"
#include "modules/PhoneBookSection.h"
#include "preferences/PreferencesSection.h"
#include "security/ProtectionSection.h"

namespace mav {

class PreferenceSections {
 public:
  // `repaint_matrix` shows a new colour scheme.
  PreferenceSections(PreferencesStore& store, std::function<void()> repaint_matrix)
      : protection_part_(store, &Preferences::protection),
        colors_part_(store, &Preferences::colors),
        phone_book_part_(store, &Preferences::dial_list),
        protection_(protection_part_),
        colors_(colors_part_, std::move(repaint_matrix)),
        phone_book_(phone_book_part_) {}

  ProtectionStore& protection() { return protection_; }
  ColorSchemeStore& colors() { return colors_; }
  PhoneBookStore& phone_book() { return phone_book_; }

 private:
  PreferencesSection<Protection> protection_part_;
  PreferencesSection<ColorScheme> colors_part_;
  PreferencesSection<PhoneBook> phone_book_part_;
  ProtectionSection protection_;
  ColorSchemeSection colors_;
  PhoneBookSection phone_book_;
};

}  // namespace mav
