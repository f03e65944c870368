#include "modules/ui/ModuleFileDialogs.h"

namespace mav {

std::unique_ptr<QFileDialog> make_file_dialog(const FileRequest& request, QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, QString::fromStdString(request.title),
                                              QString::fromStdString(request.folder.string()));
  dialog->setAcceptMode(request.saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // A typed name need not exist when opening: reading it then reports the file as unopenable.
  dialog->setFileMode(QFileDialog::AnyFile);
  QStringList filters;
  for (const std::string& filter : request.filters) filters << QString::fromStdString(filter);
  dialog->setNameFilters(filters);
  dialog->setDefaultSuffix(QString::fromStdString(request.default_suffix));
  return dialog;
}

std::optional<std::filesystem::path> ModuleFileDialogs::choose_file(const FileRequest& request) {
  const std::unique_ptr<QFileDialog> dialog = make_file_dialog(request, owner_);
  if (prompts_.run_dialog(*dialog) != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog->selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  return std::filesystem::path(files.front().toStdString());
}

void ModuleFileDialogs::tell(const MessageBoxRequest& box) {
  prompts_.tell(box, owner_);
}

bool ModuleFileDialogs::ask_ok_cancel(const MessageBoxRequest& box) {
  return prompts_.ask_ok_cancel(box, owner_);
}

}  // namespace mav
