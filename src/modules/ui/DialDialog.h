// The LINE-7 dial dialog: the number to dial, the phone book's descriptions (choosing one fills
// the number), the line, "No Number Required", and Dial or Cancel. It gives up by itself after 30
// seconds without activity. The session holds the rules; this is the window. UI thread.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "modules/DialSession.h"
#include "modules/PhoneBook.h"
#include "platform/qt/OperatorPrompts.h"

namespace mav {

class DialDialog : public QDialog {
  Q_OBJECT

 public:
  DialDialog(const DialParts& parts, PhoneBookStore& book, OperatorPrompts& prompts, int port,
             QWidget* parent);

  void accept() override;  // Dial
  void reject() override;  // Cancel, Escape and closing the window

 private:
  void restart_timer();
  void show_number_of(const QString& description);
  void add_to_list();
  void remove_from_list();
  void check_inactivity();
  void tell(const char* text, MessageIcon icon);

  DialSession session_;
  PhoneBookStore& book_;
  OperatorPrompts& prompts_;
  QLineEdit* number_;
  QComboBox* descriptions_;
  QRadioButton* line2_;
  QCheckBox* no_number_;
  QTimer inactivity_;
};

}  // namespace mav
