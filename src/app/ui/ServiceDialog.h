// Connect > Service...: the gateway service to attach to, chosen from the remembered ones or
// typed (a socket path or HOST:PORT, the name this console goes by, an optional token). UI thread.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <optional>
#include <vector>

#include "console/ServicesFile.h"

namespace mav {

class ServiceDialog : public QDialog {
  Q_OBJECT

 public:
  ServiceDialog(std::vector<ServiceEntry> remembered, QWidget* parent);

  // The service to attach to; nothing when cancelled or no address was given.
  std::optional<ServiceEntry> chosen() const;

 private:
  void fill(int index);

  std::vector<ServiceEntry> remembered_;
  QComboBox* list_ = nullptr;
  QLineEdit* address_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* token_ = nullptr;
};

}  // namespace mav
