#include "platform/qt/SoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QUrl>

namespace mav {

SoundPlayer::SoundPlayer(std::filesystem::path sounds_directory)
    : directory_(std::move(sounds_directory)),
      have_output_(!QMediaDevices::audioOutputs().isEmpty()) {}

void SoundPlayer::play(std::string_view file_name) {
  if (!have_output_) return;
  auto found = effects_.find(file_name);
  if (found == effects_.end()) {
    auto effect = std::make_unique<QSoundEffect>();
    const auto path = directory_ / std::string(file_name);
    effect->setSource(QUrl::fromLocalFile(QString::fromStdString(path.string())));
    found = effects_.emplace(std::string(file_name), std::move(effect)).first;
  }
  found->second->play();
}

}  // namespace mav
