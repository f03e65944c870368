// "Security Settings": the 20 PIN users, the security mode and, for reference, every port's
// security level. It edits nothing itself: its caller sends what `order` makes of the controls
// once the operator has pressed OK. UI thread.
#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QLineEdit>
#include <array>

#include "model/DeviceModel.h"
#include "security/PinSettings.h"
#include "security/PinTable.h"

namespace mav {

class SecurityDialog : public QDialog {
  Q_OBJECT

 public:
  // `security_mode`: the mode the gateway last reported (any other value checks no button).
  SecurityDialog(const PinTable& pins, int security_mode, const DeviceModel& model,
                 QWidget* parent);

  // The lines and PIN table entries the rows and the checked mode stand for.
  PinSettingsOrder order() const;

 private:
  struct RowEdits {
    QLineEdit* name;
    QLineEdit* pin;
    QLineEdit* level;
    PinRowText text() const;
  };

  QWidget* make_users(const PinTable& pins);
  void mark(const RowEdits& row);
  QWidget* make_modules(const DeviceModel& model);

  std::array<RowEdits, kPinTableEntries> rows_{};
  QButtonGroup modes_;
};

}  // namespace mav
