// "Select Serial Port": the port name (four fixed names or any other device, the devices this
// machine has offered in a list) and the gateway's line speed. OK opens the port through the
// application and closes the dialog only when the port opened; Cancel warns when no port is open.
// UI thread.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <array>
#include <string>

#include "app/Application.h"

namespace mav {

class SerialPortDialog : public QDialog {
  Q_OBJECT

 public:
  // shown_name: the name to show at opening ("----" when there is none).
  SerialPortDialog(Application& app, const std::string& shown_name, std::int32_t baud,
                   QWidget* parent);

  // Cancel, Escape and the close box alike: the warning when no port is open.
  void reject() override;

 protected:
  // Focus on the other name's field chooses "(Other) -->", as typing in it does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void on_ok();
  std::string chosen_name() const;

  Application& app_;
  std::array<QRadioButton*, 4> fixed_names_{};
  QRadioButton* other_ = nullptr;
  QLineEdit* other_name_ = nullptr;
  QRadioButton* slow_ = nullptr;
  QRadioButton* fast_ = nullptr;
};

}  // namespace mav
