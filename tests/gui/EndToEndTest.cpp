// One test per operator flow, the program against the simulated gateway over loopback TCP: in
// this process for what the window shows, and as the installed executable for what a signal and
// a dropped connection do.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

#include "gui/SimulatorSiteRig.h"
#include "support/ControllerProcess.h"

namespace mav::test {
namespace {

// The log's lines without their time stamps.
std::vector<std::string> log_messages(const std::filesystem::path& program_directory) {
  std::vector<std::string> messages;
  std::istringstream lines(file_text(program_directory / "Logs" / "MAVPCI1.log"));
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 22) messages.push_back(line.substr(22));
  }
  return messages;
}

// The lines the gateway received, in order.
std::vector<std::string> received_lines(const std::filesystem::path& transcript) {
  std::vector<std::string> lines;
  std::istringstream in(file_text(transcript));
  for (std::string line; std::getline(in, line);) {
    const std::size_t mark = line.find(" tcp <- ");
    if (mark != std::string::npos) lines.push_back(line.substr(mark + 8));
  }
  return lines;
}

using EndToEndTest = SimulatorSiteRig;

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
      EXPECT_EQ(net_of(3), GROUP_NONE);
      QTest::keyClicks(&window(), "c03c07");
      stage = 1;
    } else if (stage == 1 && net_of(3) != GROUP_NONE && quiet()) {
      EXPECT_EQ(net_of(7), net_of(3));
      EXPECT_EQ(program_->model().CountInNet(net_of(3)), 2);
      QTest::keyClicks(&window(), "d03");
      stage = 2;
    }
    return stage == 2 && net_of(3) == GROUP_NONE && net_of(7) == GROUP_NONE;
  })) << "stage "
      << stage;
  EXPECT_TRUE(gateway_received("CONNECT_S 03 07"));
  EXPECT_TRUE(gateway_received("DISC_S 03"));
  stop();
  EXPECT_TRUE(wait_for([&] { return gateway_received("logout"); }));
}

TEST_F(EndToEndTest, PinUsersAndModeFromTheDialogBecomeTheGatewaysOwn) {
  {
    // The gateway already knows two users: the dialog replaces the first and empties the second.
    sim::test::LineChannel gateway(sim::test::connect_loopback(sim_.tcp_port), '\r');
    gateway.send("PIN 1111 2\rPIN 3333 5\r");
    ASSERT_EQ(gateway.read_line(), "%PIN 1111 2 E0");
    ASSERT_EQ(gateway.read_line(), "%PIN 3333 5 E0");
  }
  start();
  const auto edit = [&](QDialog& dialog) {
    child<QRadioButton>(dialog, 1278)->setChecked(true);
    type(dialog, 1161, "Dana");
    type(dialog, 1183, "2468");
    type(dialog, 1206, "4");
    for (const int id : {1163, 1186, 1208}) child(dialog, id)->clear();
    click(dialog, 1);
  };
  // The second entry is freed only by the gateway's answer to "DEL_PIN ALL".
  const auto table_follows = [&] {
    const PinUser first = program_->pins().entry(0);
    bool others_free = true;
    for (int k = 1; k < kPinTableEntries; ++k) {
      others_free = others_free && program_->pins().entry(k).level == kPinLevelUnused;
    }
    return std::string(first.name) == "Dana" && first.pin == 2468 && first.level == 4 &&
           others_free && program_->session().security_mode == 13;
  };
  bool edited = false;
  EXPECT_TRUE(run_until([&] {
    if (!edited && program_->pins().entry(1).pin == 3333) {
      edited = true;
      with_dialog(40008, edit);
    }
    return edited && table_follows() && gateway_received("PIN 2468 4");
  }));
  stop();

  sim::test::LineChannel gateway(sim::test::connect_loopback(sim_.tcp_port), '\r');
  gateway.send("PIN ?\rSECURITY_MODE ?\r");
  EXPECT_EQ(gateway.read_line(), "%PIN 2468 4 E0");
  EXPECT_EQ(gateway.read_line(), "%SECURITY_MODE PRIORITY E0");
}

// The radio's port selected, then clicked again: one changed setting is one line, and the
// gateway's answer comes back into the model.
TEST_F(EndToEndTest, OneChangedRadioSettingIsOneLineAndItsReplyUpdatesTheModel) {
  start();
  std::size_t received_before = 0;
  int chosen = -1;
  prompts_.dialog_script = [&](QDialog& dialog) {
    auto* tx_level = child<QComboBox>(dialog, 1404);
    chosen = (tx_level->currentIndex() + 1) % tx_level->count();
    tx_level->setCurrentIndex(chosen);
    received_before = received_lines(transcript_).size();
    click(dialog, 1);
    return dialog.result();
  };
  bool opened = false;
  EXPECT_TRUE(run_until([&] {
    PortRecord record{};
    program_->model().GetPort(1, record);
    if (!opened && record.mod_type == MOD_TOV5 && program_->session().mek_squelch_type != -1 &&
        quiet()) {
      opened = true;
      program_->gestures().click(0, HIT_PORT, 1);
      program_->gestures().click(0, HIT_PORT, 1);
    }
    return opened && record.settings.tx_level == chosen;
  }));
  // Queries and other ports' traffic (relay reports) left aside.
  const auto received = received_lines(transcript_);
  std::vector<std::string> settings_lines;
  for (std::size_t i = received_before; i < received.size(); ++i) {
    if (received[i].find(" 01 ") != std::string::npos && received[i].back() != '?') {
      settings_lines.push_back(received[i]);
    }
  }
  EXPECT_EQ(settings_lines, std::vector<std::string>{"TX_LEVEL 01 " + std::to_string(chosen)});
}

TEST_F(EndToEndTest, ConnectingAnIdleLineAsksForANumberAndDialsIt) {
  start();
  std::vector<std::string> captions;
  prompts_.dialog_script = [&](QDialog& dialog) {
    captions.push_back(dialog.windowTitle().toStdString());
    type(dialog, 1343, "5551234");
    click(dialog, 1);
    return dialog.result();
  };
  bool connecting = false;
  EXPECT_TRUE(run_until([&] {
    PortRecord line;
    if (!connecting && program_->model().GetPort(2, line) && line.mod_type == MOD_LINE7 &&
        line.settings.on_hook == 1 && program_->session().input_ready.load()) {
      connecting = true;
      QTest::keyClicks(&window(), "c02c03");
    }
    return gateway_received("DIAL 02 5551234 1");
  }));
  EXPECT_EQ(captions, std::vector<std::string>{"LINE Dial on port 02"});
}

// The command line's site is used in this run and never stored.
TEST_F(EndToEndTest, ASiteOfThisRunSynchronisesAndIsNeverStored) {
  write_preferences(Preferences{});
  RunConnection run;
  run.kind = RunConnection::Kind::Network;
  run.address = {127, 0, 0, 1};
  run.port = sim_.tcp_port;
  start(run);
  const std::string site = "127.0.0.1:" + std::to_string(sim_.tcp_port);
  EXPECT_TRUE(run_until([&] {
    const auto* corner = static_cast<QLabel*>(window().menuBar()->cornerWidget());
    if (!quiet() || title() != "Site: " + site + " - MAV Controller - Orvane Systems" ||
        corner->text().toStdString() != "Connected to " + site + " (network)") {
      return false;
    }
    program_->terminate();  // as File > Exit does
    return true;
  }));
  stop();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Sites.cfg"));
  const Preferences saved = saved_preferences();
  EXPECT_FALSE(saved.network_mode);
  EXPECT_TRUE(saved.sites.empty());
  EXPECT_TRUE(saved.recent.empty());
  EXPECT_EQ(saved.auto_save_slot, 1);  // every start still alternates the slot
  EXPECT_NE(file_text(dir_ / "Logs" / "MAVPCI1.log").find("*** MAV Controller shut down"),
            std::string::npos);
}

#ifdef MAV_CONTROLLER_PATH
TEST_F(EndToEndTest, ReconnectsAfterTheGatewayHangsUpAndLogsOutOnSigterm) {
  ControllerProcess program(MAV_CONTROLLER_PATH, dir_.path());
  ASSERT_TRUE(wait_for([&] {
    return std::ranges::count(log_messages(dir_.path()), "Network connection established") == 1;
  }));
  ASSERT_TRUE(wait_for([&] { return gateway_received("PIN ?"); }));
  sim_.control("close");
  ASSERT_TRUE(wait_for([&] {
    const auto messages = log_messages(dir_.path());
    const auto closed = std::ranges::find(messages, "Network connection closed externally");
    return std::find(closed, messages.end(), "Network connection established") != messages.end();
  }));
  EXPECT_EQ(program.terminate(), 0);
  ASSERT_TRUE(wait_for([&] { return gateway_received("logout"); }));
  const auto messages = log_messages(dir_.path());
  ASSERT_GE(messages.size(), 2u);
  // The program's own last word, then the channel's closing entry.
  EXPECT_EQ(messages[messages.size() - 2], "*** MAV Controller shut down");
  EXPECT_EQ(messages.back(), "Network connection closed");
}
#endif

}  // namespace
}  // namespace mav::test
