// The whole program in a temporary program directory, with the operator's boxes and dialogs
// answered by a script and recorded.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <memory>
#include <vector>

#include "app/ui/ControllerProgram.h"
#include "gui/ProcessEventsUntil.h"
#include "platform/qt/OperatorPrompts.h"
#include "preferences/PreferencesCodec.h"
#include "preferences/PreferencesFile.h"
#include "support/PseudoTerminal.h"
#include "support/ScratchDirectory.h"

namespace mav::test {

class RecordingPrompts final : public OperatorPrompts {
 public:
  void tell(const MessageBoxRequest& box, QWidget*) override { told.push_back(box); }
  bool ask_yes_no(const MessageBoxRequest& box, QWidget*) override {
    asked.push_back(box);
    return answer_yes;
  }
  bool ask_ok_cancel(const MessageBoxRequest& box, QWidget* p) override {
    return ask_yes_no(box, p);
  }
  void show(const MessageBoxRequest& box, QWidget*) override { shown.push_back(box); }
  int run_dialog(QDialog& dialog) override {
    ++dialogs_run;
    return dialog_script ? dialog_script(dialog) : QDialog::Rejected;
  }
  std::vector<std::string> told_texts() const {
    std::vector<std::string> texts;
    for (const auto& box : told) texts.push_back(box.text);
    return texts;
  }

  std::vector<MessageBoxRequest> told, asked, shown;  // shown: boxes that do not wait
  bool answer_yes = true;
  int dialogs_run = 0;
  std::function<int(QDialog&)> dialog_script;
};

// The dialog's control with the given id (controls are named "id<id>").
template <typename Widget = QLineEdit>
Widget* child(QDialog& dialog, int id) {
  return dialog.findChild<Widget*>(QStringLiteral("id%1").arg(id));
}
inline void click(QDialog& dialog, int id) {
  child<QPushButton>(dialog, id)->click();
}
inline void type(QDialog& dialog, int id, const QString& text) {
  child(dialog, id)->setText(text);
}

// Whether `wanted` reaches the line before a generous deadline.
inline bool line_receives(PseudoTerminal& line, const std::string& wanted) {
  std::string received;
  for (int i = 0; i < 50 && received.find(wanted) == std::string::npos; ++i) {
    received += line.read(1, std::chrono::milliseconds(200));
  }
  return received.find(wanted) != std::string::npos;
}

class ProgramRig : public ::testing::Test {
 protected:
  std::filesystem::path prefs_file() const { return dir_.path() / "MAV_Controller.cfg"; }
  void write_preferences(const Preferences& prefs) {
    ASSERT_TRUE(save_preferences_file(prefs_file(), prefs));
  }
  Preferences saved_preferences() const {
    Preferences prefs;
    load_preferences(prefs_file(), prefs);
    return prefs;
  }

  void start(const RunConnection& run = {}) {
    program_ = std::make_unique<ControllerProgram>(ProgramFolders{dir_.path(), dir_.path()},
                                                   prompts_, run);
    ASSERT_TRUE(program_->init());
  }
  void stop() { program_.reset(); }
  // Starts with the preferences naming `serial_port` and connecting at start-up.
  void start_on_serial_port(const std::string& serial_port) {
    Preferences prefs;
    prefs.serial_port_name = serial_port;
    prefs.auto_connect = true;
    write_preferences(prefs);
    start();
  }

  MainWindow& window() { return program_->window(); }
  bool checked(int command_id) { return window().menus().is_checked(command_id); }
  std::string title() { return window().windowTitle().toStdString(); }
  void trigger(int command_id) { window().menus().action(command_id)->trigger(); }

  // The dialog's result is what its own buttons left, or `forced` when one is given.
  void with_dialog(int command_id, const std::function<void(QDialog&)>& steps, int forced = -1) {
    prompts_.dialog_script = [steps, forced](QDialog& dialog) {
      steps(dialog);
      return forced >= 0 ? forced : dialog.result();
    };
    trigger(command_id);
  }

  ScratchDirectory dir_;
  RecordingPrompts prompts_;
  std::unique_ptr<ControllerProgram> program_;
};

}  // namespace mav::test
