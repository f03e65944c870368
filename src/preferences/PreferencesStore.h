// The operator's settings shared by the UI thread and the worker thread, with the file they live
// in. One mutex covers the record and each write of the file, so a save always writes one
// consistent record and the last change always reaches the disk. Any thread.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>

#include "preferences/Preferences.h"
#include "preferences/PreferencesFile.h"

namespace mav {

class PreferencesStore {
 public:
  explicit PreferencesStore(std::filesystem::path file) : file_(std::move(file)) {}

  // Start-up: reads the file over `defaults` (see load_preferences).
  PreferencesOrigin load(const Preferences& defaults);

  Preferences get() const;
  // Changes the record in memory only.
  void change(const std::function<void(Preferences&)>& edit);
  // Changes the record and rewrites the file; false when the file could not be written (the
  // change stays in memory).
  bool change_and_save(const std::function<void(Preferences&)>& edit);
  bool save();

  const std::filesystem::path& file() const { return file_; }

 private:
  const std::filesystem::path file_;
  mutable std::mutex mutex_;
  Preferences prefs_;
};

}  // namespace mav
