#include "config/ui/ConfigurationFileDialog.h"

namespace mav {

std::unique_ptr<QFileDialog> make_configuration_dialog(FileChoice choice,
                                                       const std::filesystem::path& folder,
                                                       QWidget* parent) {
  const bool saving = choice == FileChoice::Save;
  auto dialog = std::make_unique<QFileDialog>(
      parent, saving ? QStringLiteral("Save configuration") : QStringLiteral("Load Configuration"),
      QString::fromStdString(folder.string()));
  dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // A name typed for loading need not exist: the load then says it could not open the file.
  dialog->setFileMode(QFileDialog::AnyFile);
  // The pattern stands for the extension in any case, as "mav" files are written; a desktop's own
  // chooser may match case-sensitively, so both cases are named.
  dialog->setNameFilter(QStringLiteral("Configuration files (*.MAV *.mav)"));
  dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
  dialog->setDefaultSuffix(QStringLiteral("mav"));
  return dialog;
}

std::optional<std::filesystem::path> chosen_file(const QFileDialog& dialog) {
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  return std::filesystem::path(files.front().toStdString());
}

}  // namespace mav
