// The program's only top-level window: the matrix fills it, the menu bar carries every command.
// It routes the menu commands, keeps the size rules of the three screen sizes and shows the
// connection indicator. UI thread.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>
#include <memory>

#include "app/Application.h"
#include "app/ShellWindow.h"
#include "app/ui/MenuBar.h"
#include "config/ConfigurationPrompts.h"
#include "frontend/Frontend.h"
#include "frontend/MenuIds.h"
#include "matrix/MatrixGestures.h"
#include "matrix/ui/MatrixWidget.h"
#include "modules/ui/ModuleSettingsOpener.h"
#include "platform/qt/OperatorPrompts.h"
#include "protocol/SessionState.h"

namespace mav {

// Everything the window works with; each outlives it.
struct MainWindowParts {
  Application& app;
  SessionState& session;
  OperatorPrompts& prompts;
  MatrixWidget& matrix;       // becomes the window's central widget
  CommandRegistry& commands;  // the window registers its own commands and routes every id here
  MatrixGestures& gestures;   // receives the characters typed anywhere in the window
  ModuleSettingsOpener& module_settings;
};

// A console attached to a service, as the window asks it: it turns some commands into requests
// and answers for what needs the gateway's own link, which the service holds.
class WindowConsole {
 public:
  virtual ~WindowConsole() = default;
  // True when the console took the menu command.
  virtual bool take_command(int command_id) = 0;
  // True when the console took the opening of the port's module settings.
  virtual bool take_module_settings(int port) = 0;
  // The connection indicator's text: how the service and its gateway stand.
  virtual std::string link_text() const = 0;
};

class MainWindow final : public QMainWindow, public ShellWindow, public ConfigurationPrompts {
  Q_OBJECT

 public:
  explicit MainWindow(const MainWindowParts& parts);
  ~MainWindow() override;

  MenuBar& menus() { return *menus_; }
  // Routes one menu command (what a click on the item does) to the subsystem that owns it; while
  // a configuration replay runs, the command waits for its end.
  void run_command(int command_id);
  // While set, the attached console sees every command and module settings dialog first.
  void set_console(WindowConsole* console) {
    console_ = console;
    menus_->action(menu::kDetachService)->setEnabled(console != nullptr);
    show_link_state();
  }

  // The module settings dialog of a port, modal over the window (see ModuleSettingsOpener).

  // The screen size 0..2, optionally maximised: window size, matrix size, preferences.
  void set_screen_size(int index, bool maximize);
  // The preferences the matrix paints with, taken anew.
  void apply_appearance();
  // Shutdown without asking anything (a signal ends the program), then the event loop's end.
  void close_without_questions();
  // The connection indicator in the menu bar's corner, read anew from the link.
  void show_link_state();

  // ShellWindow
  void set_title(const std::string& title) override;
  void set_menu_check(int command_id, bool checked) override;
  bool menu_checked(int command_id) const override;
  void show_recent_connections(const std::vector<std::string>& labels) override;
  void repaint_matrix() override;
  void tell(const MessageBoxRequest& box) override;
  bool ask_yes_no(const MessageBoxRequest& box) override;
  std::string ask_custom_title() override;
  void offer_serial_port_selection() override;
  void open_module_settings(int port, bool mark_open) override;

  // ConfigurationPrompts (tell and ask_yes_no as above)
  std::optional<std::filesystem::path> choose_configuration_file(
      FileChoice choice, const std::filesystem::path& folder) override;
  bool ask_yes_no_showing_changes(const MessageBoxRequest& box, const Changes& changes,
                                  bool no_is_default) override;
  std::optional<std::filesystem::path> choose_from_history(const std::vector<HistoryRow>& rows,
                                                           const ChangesOfFile& changes) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void register_commands();
  void on_action(QAction* action);
  void select_serial_port();
  void select_network_site();
  void choose_screen_size(int index);
  // Sizes the window, frame included, to one of the three screen sizes.
  void resize_whole_window(int width, int height);
  void open_manual();
  void show_about();
  void finish(bool offer_exit_reminder);

  Application& app_;
  SessionState& session_;
  OperatorPrompts& prompts_;
  MatrixWidget& matrix_;
  CommandRegistry& commands_;
  MatrixGestures& gestures_;
  ModuleSettingsOpener& module_settings_;
  std::unique_ptr<MenuBar> menus_;
  QLabel* link_indicator_ = nullptr;  // owned by the menu bar
  // The program's own manual window, for a desktop without a viewer; made on first use.
  QPointer<QTextBrowser> manual_window_;
  QTimer retry_countdown_;  // the indicator counts the pause before a retry down
  bool finished_ = false;
  WindowConsole* console_ = nullptr;
};

}  // namespace mav
