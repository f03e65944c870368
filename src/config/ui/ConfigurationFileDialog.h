// The file chooser of Save Configuration and Load Configuration: configuration files ("mav")
// in the Configurations folder, asking before a save overwrites a file. UI thread.
#pragma once

#include <QFileDialog>
#include <filesystem>
#include <memory>
#include <optional>

#include "config/ConfigurationPrompts.h"

namespace mav {

std::unique_ptr<QFileDialog> make_configuration_dialog(FileChoice choice,
                                                       const std::filesystem::path& folder,
                                                       QWidget* parent);

// The file an accepted dialog chose; nothing when none was.
std::optional<std::filesystem::path> chosen_file(const QFileDialog& dialog);

}  // namespace mav
