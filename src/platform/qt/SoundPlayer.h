// The program's WAV files, played asynchronously. Without an audio device the sounds are
// silently skipped; nothing waits for the audio system. UI thread.
#pragma once

#include <QObject>
#include <QSoundEffect>
#include <QString>
#include <filesystem>
#include <map>
#include <memory>
#include <string_view>

namespace mav {

class SoundPlayer {
 public:
  explicit SoundPlayer(std::filesystem::path sounds_directory);
  // A file of the sounds folder by name, e.g. "Connect.wav".
  void play(std::string_view file_name);

 private:
  std::filesystem::path directory_;
  bool have_output_ = false;
  std::map<std::string, std::unique_ptr<QSoundEffect>, std::less<>> effects_;
};

}  // namespace mav
