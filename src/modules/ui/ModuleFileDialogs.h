// The templates' and custom icons' questions put to the operator: file dialogs and message boxes
// owned by the main window, run through the operator prompts. UI thread.
#pragma once

#include <QFileDialog>
#include <QWidget>
#include <memory>

#include "modules/ModuleTemplates.h"
#include "platform/qt/OperatorPrompts.h"

namespace mav {

// The file dialog a request describes; it never changes the current directory.
std::unique_ptr<QFileDialog> make_file_dialog(const FileRequest& request, QWidget* parent);

class ModuleFileDialogs final : public ModuleFilePrompts {
 public:
  explicit ModuleFileDialogs(OperatorPrompts& prompts) : prompts_(prompts) {}

  // The main window, once it exists.
  void set_owner(QWidget& owner) { owner_ = &owner; }

  std::optional<std::filesystem::path> choose_file(const FileRequest& request) override;
  void tell(const MessageBoxRequest& box) override;
  bool ask_ok_cancel(const MessageBoxRequest& box) override;

 private:
  OperatorPrompts& prompts_;
  QWidget* owner_ = nullptr;
};

}  // namespace mav
