// One test per operator flow, the program against the simulated gateway over loopback TCP: in
// this process for what the window shows, and as the installed executable for what a signal and
// a dropped connection do.
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/AutomationSettings.h"
#include "app/SitesFile.h"
#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "sim/SimProcess.h"
#include "support/ControllerProcess.h"
#include "support/FileText.h"

namespace mav::test {
namespace {

// The program set to connect at start-up to the simulator as a network site on loopback TCP,
// the simulator writing its transcript into the scratch directory.
class EndToEndTest : public ProgramRig {
 protected:
  void SetUp() override {
    transcript_ = dir_.path() / "sim-transcript.txt";
    ASSERT_TRUE(sim_.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--preset", "half",
                            "--transcript", transcript_.string()}));
    Preferences prefs;
    prefs.auto_connect = true;
    prefs.network_mode = true;
    prefs.sites = {{{127, 0, 0, 1}, sim_.tcp_port, "Loopback Gateway"}};
    write_preferences(prefs);
  }

  bool gateway_received(const std::string& text) {
    return file_text(transcript_).find(text) != std::string::npos;
  }
  // Synchronised, every reply handled and nothing waiting to leave.
  bool quiet() {
    return program_->model().CountModules() > 0 && program_->session().input_ready.load() &&
           program_->link().queued_lines() == 0;
  }
  // Runs the program's own loop, calling `probe` every 20 ms until it returns true; false at
  // the deadline.
  bool run_until(const std::function<bool()>& probe, int deadline_ms = 30000) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (probe()) QCoreApplication::exit(0);
    });
    timer.start(20);
    // Tied to the timer, so the deadline ends with this run and never stops a later one.
    QTimer::singleShot(deadline_ms, &timer, [] { QCoreApplication::exit(1); });
    return program_->run() == 0;
  }

  sim::test::SimProcess sim_;
  std::filesystem::path transcript_;
};

// Typed commands connect ports 03 and 07 into one net and take it apart again.
TEST_F(EndToEndTest, ConnectsSynchronisesAndTypedCommandsConnectAndDisconnect) {
  start();
  EXPECT_EQ(title(), "Loopback Gateway");
  const auto net_of = [this](int port) {
    PortRecord record;
    program_->model().GetPort(port, record);
    return record.net;
  };
  int stage = 0;
  EXPECT_TRUE(run_until([&] {
    if (stage == 0 && quiet()) {
      EXPECT_EQ(title(), "Loopback Gateway - MAV Controller - Orvane Systems");
      QTest::keyClicks(&window(), "c03c07");
      stage = 1;
    } else if (stage == 1 && net_of(3) != GROUP_NONE && quiet()) {
      EXPECT_EQ(net_of(7), net_of(3));
      QTest::keyClicks(&window(), "d03");
      stage = 2;
    }
    return stage == 2 && net_of(3) == GROUP_NONE && net_of(7) == GROUP_NONE;
  })) << "stage "
      << stage;
  EXPECT_TRUE(gateway_received("CONNECT_S 03 07") && gateway_received("DISC_S 03"));
  stop();
  EXPECT_TRUE(wait_for([&] { return gateway_received("logout"); }));
}

// A salvo saved from a net of ports 3, 7 and 9 makes it again from the Salvos window after
// Disconnect All, with the lines the gestures send.
TEST_F(EndToEndTest, ASalvoSavedFromANetIsTakenBackFromTheSalvosWindow) {
  start();
  const auto net_of = [this](int port) {
    PortRecord record;
    program_->model().GetPort(port, record);
    return record.net;
  };
  int stage = 0;
  std::size_t marker = 0;
  EXPECT_TRUE(run_until([&] {
    if (stage == 0 && quiet()) {
      QTest::keyClicks(&window(), "c03c07");
      stage = 1;
    } else if (stage == 1 && net_of(7) != GROUP_NONE && quiet()) {
      QTest::keyClicks(&window(), "c09c03");
      stage = 2;
    } else if (stage == 2 && net_of(9) != GROUP_NONE && quiet()) {
      with_dialog(
          menu::kSaveSalvo,
          [](QDialog& dialog) {
            type(dialog, kSalvoNameId, "Drill");
            type(dialog, kSalvoPortsId, "3,7,9");
          },
          QDialog::Accepted);
      trigger(menu::kDisconnectAll);
      stage = 3;
    } else if (stage == 3 && net_of(3) == GROUP_NONE && net_of(9) == GROUP_NONE && quiet()) {
      marker = file_text(transcript_).size();
      trigger(menu::kSalvos);
      child<QPushButton>(program_->salvos_window(), kSalvoTakeId)->click();
      stage = 4;
    }
    return stage == 4 && net_of(9) != GROUP_NONE && net_of(7) == net_of(3) && quiet();
  })) << "stage "
      << stage;
  const std::string wire = file_text(transcript_).substr(marker);
  const std::size_t first = wire.find("tcp <- CONNECT_S 03 07");
  EXPECT_TRUE(first != std::string::npos && wire.find("tcp <- CONNECT_S 09 03") > first) << wire;
}

#ifdef MAV_CONTROLLER_PATH
TEST_F(EndToEndTest, TheInstalledProgramLogsOutOnSigterm) {
  ControllerProcess program(MAV_CONTROLLER_PATH, dir_.path());
  ASSERT_TRUE(wait_for([&] { return gateway_received("PIN ?"); }));
  EXPECT_EQ(program.terminate(), 0);
  ASSERT_TRUE(wait_for([&] { return gateway_received("logout"); }));
  std::string messages;  // the log's lines without their time stamps
  std::istringstream lines(file_text(dir_ / "Logs" / "MAVPCI1.log"));
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 22) messages += line.substr(22) + "|";
  }
  // The program's own last word, then the channel's closing entry.
  EXPECT_TRUE(messages.ends_with("|*** MAV Controller shut down|Network connection closed|"))
      << messages;
}
#endif

// The gateway goes away and comes back on the same port: the console keeps trying by itself,
// shows its attempts, and synchronises again.
TEST_F(EndToEndTest, RetriesUntilTheGatewayIsBackAndSynchronises) {
  start();
  const int port = sim_.tcp_port;
  const auto* indicator = window().findChild<QLabel*>("connectionIndicator");
  ASSERT_NE(indicator, nullptr);
  const std::filesystem::path second_transcript = dir_.path() / "sim-transcript-2.txt";
  std::vector<std::string> shown;
  enum class Phase { Synchronising, Away, Back } phase = Phase::Synchronising;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const std::string text = indicator->text().toStdString();
    if (shown.empty() || shown.back() != text) shown.push_back(text);
    const bool synchronised = program_->model().CountModules() > 0;
    switch (phase) {
      case Phase::Synchronising:
        if (!synchronised) return;
        sim_.terminate();
        phase = Phase::Away;
        return;
      case Phase::Away:
        // Back once the second pause, doubled from the first, is under way.
        if (text.rfind("Reconnecting (attempt 3, next in ", 0) != 0) return;
        if (!sim_.start({"--tcp", "127.0.0.1:" + std::to_string(port), "--control-port", "0",
                         "--preset", "half", "--transcript", second_transcript.string()})) {
          QCoreApplication::exit(2);
        }
        phase = Phase::Back;
        return;
      case Phase::Back:
        if (synchronised && text == "Connected to Loopback Gateway (network)") {
          QCoreApplication::exit(0);
        }
        return;
    }
  });
  probe.start(20);
  QTimer::singleShot(30000, &probe, [] { QCoreApplication::exit(1); });
  ASSERT_EQ(program_->run(), 0);

  // The countdown's first second can pass unseen on a busy machine; the pauses themselves are
  // the reconnection tests' to check.
  for (const std::string expected :
       {"Reconnecting (attempt 2, next in ", "Reconnecting (attempt 3, next in "}) {
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const std::string& text) {
      return text.starts_with(expected);
    })) << expected;
  }
  const std::string log = file_text(dir_.path() / "Logs" / "MAVPCI1.log");
  std::size_t at = 0;
  for (const char* entry : {"Network connection closed externally",
                            "Network reconnection failed, retrying until the gateway answers",
                            "Network connection restored at attempt 3"}) {
    at = log.find(entry, at);
    EXPECT_NE(at, std::string::npos) << entry;
  }
  EXPECT_TRUE(prompts_.shown.empty());
}

// A network site, then the serial port: the serial gateway shows its own names, and what is
// named on it never lands in the network site's record.
TEST_F(EndToEndTest, TheSerialGatewayAfterANetworkSiteShowsItsOwnNames) {
  sim::test::SimProcess serial;
  ASSERT_TRUE(serial.start({"--pty", (dir_.path() / "serial-link").string(), "--preset", "half"}));
  start();
  // Names every module's port (none: only looks); whether a port was named "North Desk".
  const auto name_all = [&](const char* name) {
    bool north = false;
    for (int port = 0; port < kPortCount; ++port) {
      program_->model().Update(port, [&](PortRecord& r) {
        north = north || std::string(r.port_name) == "North Desk";
        if (name && r.mod_type != MOD_NONE)
          std::snprintf(r.port_name, sizeof r.port_name, "%s", name);
      });
    }
    return north;
  };
  bool on_serial = false;
  EXPECT_TRUE(run_until([&] {
    if (!quiet()) return false;
    if (on_serial) return !name_all(nullptr);
    name_all("North Desk");
    program_->application().save_site_record();
    on_serial = program_->application().choose_serial_port(serial.pty_device, 9600);
    return false;
  }));
  name_all("Serial Desk");
  program_->application().save_site_record();
  const std::uint8_t site[4] = {127, 0, 0, 1};
  const auto record = find_site_record(dir_.path() / "Sites.cfg", site, sim_.tcp_port);
  ASSERT_TRUE(record.has_value());
  std::string names;
  for (const auto& name : record->port_name) names += std::string(name) + "|";
  EXPECT_NE(names.find("North Desk"), std::string::npos) << names;
  EXPECT_EQ(names.find("Serial Desk"), std::string::npos) << names;
}

// Options > Automation Interface: a script's connect goes out as the gesture's lines, is applied
// before mavctl exits, and the status line names the script; the choice is kept in its own file
// and serves again at the next start.
TEST_F(EndToEndTest, ServesTheAutomationInterfaceOverItsOwnLink) {
  const std::filesystem::path socket = dir_ / "control.sock";
  ASSERT_TRUE(write_automation_settings(dir_ / "Automation.cfg", {false, socket}));
  start();
  trigger(menu::kAutomationInterface);
  EXPECT_TRUE(process_events_until([&] { return checked(menu::kAutomationInterface); }));
  EXPECT_EQ(file_text(dir_ / "Automation.cfg"), "serve=1\nsocket=" + socket.string() + "\n");
  const auto status_line = [this] {
    return window().findChild<MatrixWidget*>()->status_text().value_or("").toStdString();
  };
  QProcess mavctl;
  const auto run_mavctl = [&](const QStringList& command) {
    mavctl.start(MAVCTL_PATH, QStringList{"--socket", QString::fromStdString(socket.string()),
                                          "--name", "dispatch-1"} +
                                  command);
  };
  std::size_t before = 0;
  std::string status;
  int step = 0;
  // The script connects 3 and 7 (the status line names it), locks port 03 and reads the status
  // (the hello names the controller's site); the operator's typed disconnect of 03 is refused.
  EXPECT_TRUE(run_until([&] {
    switch (step) {
      case 0:
        if (!quiet()) return false;
        before = file_text(transcript_).size();
        run_mavctl({"connect", "3", "7"});
        break;
      case 1:
        if (mavctl.state() != QProcess::NotRunning ||
            !status_line().ends_with("07 connected by dispatch-1"))
          return false;
        EXPECT_EQ(mavctl.exitCode(), 0);
        run_mavctl({"lock", "3"});
        break;
      case 2:
        if (mavctl.state() != QProcess::NotRunning || !quiet()) return false;
        run_mavctl({"status"});
        break;
      case 3:
        if (mavctl.state() != QProcess::NotRunning) return false;
        status = mavctl.readAllStandardOutput().toStdString();
        QTest::keyClicks(&window(), "d03");
        break;
      default:
        return status_line() == "Port 03 is locked by dispatch-1";
    }
    ++step;
    return false;
  }));
  EXPECT_TRUE(status.starts_with("site Loopback Gateway: link connected")) << status;
  ASSERT_TRUE(wait_for([&] { return gateway_received("logout"); }));  // the run's end closes
  std::string sent;
  const std::string wire = file_text(transcript_);
  for (auto at = wire.find("tcp <- ", before); at != std::string::npos;
       at = wire.find("tcp <- ", at + 1)) {
    sent += wire.substr(at + 7, wire.find('\n', at) - at - 7) + "|";
  }
  // Nothing between the connect and the end of the run: the refused disconnect never left.
  EXPECT_EQ(
      sent,
      "CONNECT_S 03 07|RELAY 0000004000000040000000000000000000000000000000000000000000000000|"
      "logout|");
  stop();
  EXPECT_FALSE(std::filesystem::exists(socket));
  start();
  EXPECT_TRUE(process_events_until([&] { return checked(menu::kAutomationInterface); }));
  EXPECT_TRUE(std::filesystem::exists(socket));
}

}  // namespace
}  // namespace mav::test
