// "Select Network Site": adding sites (address, port, description), the stored sites with
// Connect, Remove and Disconnect. Every check and refusal is told to the operator; the site
// list itself lives in the application's preferences. Enter in the form adds the typed site;
// Enter or a double-click on a listed site connects to it. UI thread.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <array>

#include "app/Application.h"
#include "platform/qt/OperatorPrompts.h"

namespace mav {

class NetworkSiteDialog : public QDialog {
  Q_OBJECT

 public:
  NetworkSiteDialog(Application& app, OperatorPrompts& prompts, QWidget* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The stored sites, the one in use in bold.
  void fill_list();
  void clear_form();
  // Checks and stores the typed site; false (with the reason told) when it was not added.
  bool add_typed_site();
  void on_add_and_connect();
  // The highlighted site's row; -1 when none is highlighted.
  int selected_row() const;
  void on_connect();
  void on_remove();
  void on_disconnect();
  void warn(const char* text);

  Application& app_;
  OperatorPrompts& prompts_;
  std::array<QLineEdit*, 4> address_{};
  QLineEdit* port_ = nullptr;
  QLineEdit* description_ = nullptr;
  QListWidget* sites_ = nullptr;
};

}  // namespace mav
