// Pictures of the main window and of every dialog, for the manual and the project's pages: the
// whole program runs against the gateway simulator on loopback, the matrix is given some nets,
// marks, monitors and activity lamps, and each window in the table below is opened through its
// menu command (or its gesture) and saved as a PNG. Run by scripts/screenshots.sh on an X display.
//
//   mav-capture-windows SCREEN_SIZE OUTPUT_FOLDER     (SCREEN_SIZE 0, 1 or 2)
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/ControllerProgram.h"
#include "frontend/MenuIds.h"
#include "gui/ProcessEventsUntil.h"
#include "matrix/HitTest.h"
#include "platform/qt/OperatorPrompts.h"
#include "preferences/PreferencesFile.h"
#include "salvo/SalvoCapture.h"
#include "salvo/SalvoFile.h"
#include "sim/SimProcess.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using Path = std::filesystem::path;

using test::process_events_until;

void settle(int ms) {
  process_events_until([] { return false; }, ms);
}

bool save_picture(QWidget& window, const Path& file) {
  settle(300);  // layouts, fonts and the matrix's first paint
  return window.grab().save(QString::fromStdString(file.string()), "PNG");
}

// Saves every dialog the program runs under the next expected name and closes it unanswered; the
// message boxes are left unshown.
class CapturingPrompts final : public OperatorPrompts {
 public:
  explicit CapturingPrompts(Path folder) : folder_(std::move(folder)) {}

  void expect(const std::vector<const char*>& files) {
    expected_.assign(files.begin(), files.end());
  }
  bool all_taken() const { return expected_.empty(); }
  int failures() const { return failures_; }

  void tell(const MessageBoxRequest&, QWidget*) override {}
  bool ask_yes_no(const MessageBoxRequest&, QWidget*) override { return false; }
  bool ask_ok_cancel(const MessageBoxRequest&, QWidget*) override { return false; }
  void show(const MessageBoxRequest&, QWidget*) override {}
  int run_dialog(QDialog& dialog) override {
    if (expected_.empty()) return QDialog::Rejected;
    const char* file = expected_.front();
    expected_.pop_front();
    dialog.show();
    if (!save_picture(dialog, folder_ / file)) ++failures_;
    dialog.hide();
    return QDialog::Rejected;
  }

 private:
  Path folder_;
  std::deque<const char*> expected_;
  int failures_ = 0;
};

using Step = std::function<void(ControllerProgram&)>;

using Window = std::function<QWidget*(ControllerProgram&)>;

QWidget* main_window(ControllerProgram& program) {
  return &program.window();
}

QWidget* manual_window(ControllerProgram& program) {
  return program.window().findChild<QWidget*>(QStringLiteral("manualWindow"));
}

QWidget* salvos_window(ControllerProgram& program) {
  return &program.salvos_window();
}

QWidget* trace_window(ControllerProgram& program) {
  return &program.trace_window();
}

// A window to capture: how the operator opens it and the files of the dialogs it runs, in order
// (at once or after the gateway's answer); or, for a window that stays open, its file, the
// window and how to leave it again.
struct WindowShot {
  Step open;
  std::vector<const char*> dialogs = {};
  const char* window_file = nullptr;
  Window window = main_window;
  Step leave = [](ControllerProgram&) {};
};

void trigger(ControllerProgram& program, int command_id) {
  program.window().menus().action(command_id)->trigger();
}

void with_password(ControllerProgram& program, int command_id) {
  program.protection().store_protection({"capture", true, false, false});
  trigger(program, command_id);
  program.protection().store_protection({});
}

// Every reply in and handled, and nothing waiting to leave.
bool gateway_quiet(ControllerProgram& program) {
  return program.session().input_ready.load() && program.link().queued_lines() == 0;
}

bool wait_until_quiet(ControllerProgram& program) {
  settle(500);
  return process_events_until([&] { return gateway_quiet(program); }, 30000);
}

void connect_ports(ControllerProgram& program, int first, int second) {
  program.gestures().click(0, HIT_PORT, first);
  program.gestures().click(0, HIT_PORT, second);
  wait_until_quiet(program);
}

// Ports of the simulator's default line-up: 00 TOV-5, 02 LINE-7 (idle: a port connected to it
// offers the dial dialog), 03 VOQ-3, 04 MEK-4, 07 HK-6, 09 VOQ-3 (monitors 11), 17 TOV-5.
const std::vector<WindowShot> kWindows = {
    {.open = [](ControllerProgram&) {}, .window_file = "main-window.png"},
    {.open = [](ControllerProgram& p) { p.gestures().click(0, HIT_COLUMN_HEADER, 9); },
     .window_file = "monitor-mode.png",
     .leave = [](ControllerProgram& p) { p.gestures().on_char(kEscape); }},
    {.open = [](ControllerProgram& p) { trigger(p, menu::kManual); },
     .window_file = "manual.png",
     .window = manual_window,
     .leave = [](ControllerProgram& p) { manual_window(p)->close(); }},
    {[](ControllerProgram& p) { trigger(p, menu::kSelectSerialPort); }, {"select-serial-port.png"}},
    {[](ControllerProgram& p) { trigger(p, menu::kSelectNetworkSite); },
     {"select-network-site.png"}},
    {[](ControllerProgram& p) { trigger(p, menu::kPinSettings); }, {"pin-settings.png"}},
    {[](ControllerProgram& p) { with_password(p, menu::kPinSettings); }, {"password-check.png"}},
    {[](ControllerProgram& p) { trigger(p, menu::kPasswordProtection); },
     {"password-protection.png"}},
    {[](ControllerProgram& p) { trigger(p, menu::kChangeColors); }, {"change-colors.png"}},
    {[](ControllerProgram& p) { p.window().ask_custom_title(); }, {"custom-title.png"}},
    {[](ControllerProgram& p) { trigger(p, menu::kSaveConfiguration); },
     {"save-configuration.png"}},
    {[](ControllerProgram& p) { trigger(p, menu::kNewLog); }, {"new-log.png"}},
    {[](ControllerProgram& p) { p.window().open_module_settings(0, false); },
     {"module-settings-tov5.png"}},
    {[](ControllerProgram& p) { p.window().open_module_settings(4, false); },
     {"module-settings-mek4.png"}},
    {[](ControllerProgram& p) { connect_ports(p, 17, 2); }, {"dial.png"}},
    {[](ControllerProgram& p) { p.window().open_module_settings(2, false); },
     {"module-settings-line7.png"}},
    {[](ControllerProgram& p) { p.window().open_module_settings(3, false); },
     {"module-settings-voq3.png"}},
    {[](ControllerProgram& p) { p.window().open_module_settings(7, false); },
     {"module-settings-hk6.png"}},
    // A fresh synchronisation fills the trace.
    {.open =
         [](ControllerProgram& p) {
           trigger(p, menu::kProtocolTrace);
           p.session().request_resync();
           wait_until_quiet(p);
         },
     .window_file = "protocol-trace.png",
     .window = trace_window,
     .leave = [](ControllerProgram& p) { p.trace_window().close(); }},
    // A salvo that pairs the ports of two nets the other way round, rehearsed.
    {.open =
         [](ControllerProgram& p) {
           Salvo salvo = CaptureSalvo(p.model(), "Night", {13, 14, 16, 22});
           salvo.nets = {{13, 16}, {14, 22}};
           SaveSalvo(p.application().program_directory(), salvo);
           trigger(p, menu::kSalvos);
           p.salvos_window()
               .findChild<QPushButton*>(QStringLiteral("id%1").arg(kSalvoRehearseId))
               ->click();
         },
     .window_file = "salvos.png",
     .window = salvos_window,
     .leave = [](ControllerProgram& p) { p.salvos_window().close(); }},
    // Last, as it changes the gateway: the newest automatic save against a gateway where one
    // port has moved to another net since.
    {[](ControllerProgram& p) {
       p.configurations().AutoSave();
       connect_ports(p, 19, 23);
       trigger(p, menu::kRestoreFromHistory);
     },
     {"restore-from-history.png"}},
};

// The preferences of an operator connected to the simulator as a network site, quiet.
Preferences capture_preferences(int screen_size, int tcp_port) {
  Preferences prefs;
  prefs.screen_size = static_cast<std::uint8_t>(screen_size);
  prefs.auto_connect = true;
  prefs.network_mode = true;
  prefs.sites = {{{127, 0, 0, 1}, tcp_port, "MAV-7700 simulator"}};
  prefs.sound_on = false;
  prefs.show_exit_reminder = false;
  prefs.animation_delay = 0;
  return prefs;
}

// Nets, one of them permanent and two of them linked, a DISCH group, a port monitoring another,
// activity lamps.
void dress_the_matrix(ControllerProgram& program, const sim::test::SimProcess& sim) {
  connect_ports(program, 0, 1);    // TOV-5 + TOV-5
  connect_ports(program, 3, 4);    // VOQ-3 + MEK-4
  connect_ports(program, 6, 12);   // TOV-5 + MEK-4
  connect_ports(program, 0, 3);    // two connected ports of two nets: a DISCH group
  connect_ports(program, 13, 14);  // HK-6 + LINE-7
  connect_ports(program, 16, 22);  // VOQ-3 + MEK-4
  // Linking two nets needs conferencing on the ports that join them.
  sim.control("ask CONF ALL ON");
  program.gestures().click(0, HIT_NET_BUTTON, 3);
  program.gestures().click(0, HIT_NET_BUTTON, 4);
  wait_until_quiet(program);
  trigger(program, menu::kPermConnNet1 + 2);
  program.gestures().click(0, HIT_COLUMN_HEADER, 9);
  program.gestures().click(0, HIT_PORT, 11);
  wait_until_quiet(program);
  program.gestures().on_char(kEscape);
  sim.control("cor 2");    // port 01 receives
  sim.control("ptt 40");   // port 06 transmits
  sim.control("ring 80");  // port 07 rings
  wait_until_quiet(program);
}

// Every row of the table, once the controller has synchronised with the gateway; the number of
// pictures that failed. Runs inside the program's message loop, while the worker dispatches.
int capture_all(ControllerProgram& program, CapturingPrompts& prompts,
                const sim::test::SimProcess& sim, const Path& folder) {
  const bool synchronised = process_events_until(
      [&] { return program.model().CountModules() > 0 && gateway_quiet(program); }, 60000);
  if (!synchronised) {
    std::fprintf(stderr, "The controller did not synchronise with the simulator\n");
    return 1;
  }
  program.configurations().AutoSave();  // the gateway as synchronised, first in the history
  dress_the_matrix(program, sim);

  int failures = 0;
  for (const WindowShot& shot : kWindows) {
    prompts.expect(shot.dialogs);
    shot.open(program);
    if (shot.window_file) {
      QWidget* window = shot.window(program);
      if (!window || !save_picture(*window, folder / shot.window_file)) ++failures;
    }
    shot.leave(program);
    if (!process_events_until([&] { return prompts.all_taken(); }, 10000)) {
      std::fprintf(stderr, "Not every dialog of a row opened\n");
      ++failures;
    }
  }
  return failures + prompts.failures();
}

int capture(int screen_size, const Path& folder) {
  sim::test::SimProcess sim;
  test::ScratchDirectory program_directory;
  if (!sim.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript",
                  (program_directory.path() / "sim-transcript.txt").string()})) {
    std::fprintf(stderr, "The simulator did not start\n");
    return 1;
  }
  save_preferences_file(program_directory.path() / "MAV_Controller.cfg",
                        capture_preferences(screen_size, sim.tcp_port));
  std::filesystem::copy_file(MAV_MANUAL_PATH, program_directory.path() / "MAV C_Help.html");
  std::filesystem::create_directories(folder);

  CapturingPrompts prompts(folder);
  ControllerProgram program(ProgramFolders{program_directory.path(), program_directory.path()},
                            prompts);
  if (!program.init()) return 1;
  // Exactly the chosen size, even where it fills the screen and the program would maximise.
  program.window().set_screen_size(screen_size, false);
  program.window().show();
  int failures = 1;
  QTimer::singleShot(0, [&] {
    failures = capture_all(program, prompts, sim, folder);
    program.terminate();
  });
  program.run();
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace mav

int main(int argc, char** argv) {
  // No desktop viewer to hand documents to: the manual opens in the program's own window, and
  // nothing is launched outside the capture.
  qputenv("PATH", "");
  QApplication application(argc, argv);
  if (argc != 3 || argv[1][0] < '0' || argv[1][0] > '2') {
    std::fprintf(stderr, "usage: %s SCREEN_SIZE(0-2) OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  return mav::capture(argv[1][0] - '0', argv[2]);
}
