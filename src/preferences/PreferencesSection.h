// One field of the preferences, handed to the subsystem that owns its type. Any thread.
#pragma once

#include "platform/SettingsSection.h"
#include "preferences/PreferencesStore.h"

namespace mav {

template <typename Part>
class PreferencesSection final : public SettingsSection<Part> {
 public:
  PreferencesSection(PreferencesStore& store, Part Preferences::*field)
      : store_(store), field_(field) {}

  Part get() const override { return store_.get().*field_; }
  bool edit(const std::function<bool(Part&)>& edit) override {
    return store_.edit([&](Preferences& prefs) { return edit(prefs.*field_); });
  }

 private:
  PreferencesStore& store_;
  Part Preferences::*field_;
};

}  // namespace mav
