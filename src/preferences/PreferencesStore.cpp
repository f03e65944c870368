#include "preferences/PreferencesStore.h"

namespace mav {

PreferencesOrigin PreferencesStore::load(const Preferences& defaults) {
  std::lock_guard lock(mutex_);
  prefs_ = defaults;
  return load_preferences(file_, prefs_);
}

Preferences PreferencesStore::get() const {
  std::lock_guard lock(mutex_);
  return prefs_;
}

void PreferencesStore::change(const std::function<void(Preferences&)>& edit) {
  std::lock_guard lock(mutex_);
  edit(prefs_);
}

bool PreferencesStore::edit(const std::function<bool(Preferences&)>& edit) {
  std::lock_guard lock(mutex_);
  const bool changed = edit(prefs_);
  if (changed) write();
  return changed;
}

bool PreferencesStore::save() {
  std::lock_guard lock(mutex_);
  return write();
}

bool PreferencesStore::write() {
  if (capture_) capture_(prefs_);
  return save_preferences_file(file_, prefs_);
}

}  // namespace mav
