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

// Fills in what other parts of the program hold while it runs and the file keeps as well; called
// before every write, under the store's lock.
using PreferencesCapture = std::function<void(Preferences&)>;

class PreferencesStore {
 public:
  explicit PreferencesStore(std::filesystem::path file, PreferencesCapture capture = {})
      : file_(std::move(file)), capture_(std::move(capture)) {}

  // Start-up: reads the file over `defaults` (see load_preferences).
  PreferencesOrigin load(const Preferences& defaults);

  Preferences get() const;
  // Changes the record in memory only.
  void change(const std::function<void(Preferences&)>& edit);
  // Runs `edit` on the record; when it reports a change, the file is rewritten. Returns what
  // `edit` returned; a file that cannot be written keeps its old content.
  bool edit(const std::function<bool(Preferences&)>& edit);
  // False when the file could not be written (the record stays in memory).
  bool save();

  const std::filesystem::path& file() const { return file_; }

 private:
  bool write();  // the mutex held

  const std::filesystem::path file_;
  const PreferencesCapture capture_;
  mutable std::mutex mutex_;
  Preferences prefs_;
};

}  // namespace mav
