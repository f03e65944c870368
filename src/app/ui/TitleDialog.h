// The operator's own window title. UI thread.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <string>

namespace mav {

class TitleDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens with the title in use filled in and selected, so typing replaces it.
  TitleDialog(const std::string& current_title, QWidget* parent);
  // The typed title, at most 254 characters; empty when the dialog was cancelled.
  std::string title() const;

 private:
  QLineEdit* edit_ = nullptr;
};

}  // namespace mav
