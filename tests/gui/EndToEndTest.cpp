// The program against the simulated gateway over loopback TCP: in this process for what the
// window shows, and as the installed executable for what a signal and a dropped connection do.
#include <QFileDialog>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "gui/SimulatorSiteRig.h"
#include "support/ControllerProcess.h"
#include "support/FileBytes.h"

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

using EndToEndTest = SimulatorSiteRig;

TEST_F(EndToEndTest, ConnectsSynchronisesAndShowsTheSiteTitle) {
  start();
  EXPECT_EQ(title(), "Loopback Gateway");
  bool synchronised = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    synchronised = program_->model().CountModules() > 0 &&
                   title() == "Loopback Gateway - MAV Controller - Orvane Systems";
    if (synchronised) QCoreApplication::exit(0);
  });
  probe.start(20);
  // Tied to the probe, so the deadline ends with this test and never stops a later one.
  QTimer::singleShot(20000, &probe, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(program_->run(), 0);
  EXPECT_TRUE(synchronised);
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
  std::vector<std::string> shown_row;
  const auto edit = [&](QDialog& dialog) {
    for (const int id : {1161, 1183, 1206})
      shown_row.push_back(child<QLineEdit>(dialog, id)->text().toStdString());
    child<QRadioButton>(dialog, 1278)->setChecked(true);
    child<QLineEdit>(dialog, 1161)->setText("Dana");
    child<QLineEdit>(dialog, 1183)->setText("2468");
    child<QLineEdit>(dialog, 1206)->setText("4");
    for (const int id : {1163, 1186, 1208}) child<QLineEdit>(dialog, id)->clear();
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
  bool followed = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    // Once the gateway's users are known, the operator edits one user and the mode.
    if (!edited && program_->pins().entry(1).pin == 3333) {
      edited = true;
      with_dialog(40008, edit);
    }
    followed = edited && table_follows() && gateway_received("PIN 2468 4");
    if (followed) QCoreApplication::exit(0);
  });
  probe.start(20);
  QTimer::singleShot(20000, &probe, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(program_->run(), 0);
  EXPECT_EQ(shown_row, (std::vector<std::string>{"", "1111", "2"}));
  EXPECT_TRUE(followed);
  stop();

  sim::test::LineChannel gateway(sim::test::connect_loopback(sim_.tcp_port), '\r');
  gateway.send("PIN ?\rSECURITY_MODE ?\r");
  EXPECT_EQ(gateway.read_line(), "%PIN 2468 4 E0");
  EXPECT_EQ(gateway.read_line(), "%SECURITY_MODE PRIORITY E0");
}

// Typed commands connect ports 03 and 07 into one new net, and take it apart again, once the
// gateway's replies have completed the steps.
TEST_F(EndToEndTest, TypedCommandsConnectAndDisconnectTwoPorts) {
  start();
  DeviceModel& model = program_->model();
  auto net_of = [&model](int port) {
    PortRecord record;
    model.GetPort(port, record);
    return record.net;
  };
  auto settled = [this] { return program_->session().input_ready.load(); };
  int stage = 0;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (stage == 0 && model.CountModules() > 0 && settled()) {
      EXPECT_EQ(net_of(3), GROUP_NONE);
      QTest::keyClicks(&window(), "c03c07");
      stage = 1;
    } else if (stage == 1 && net_of(3) != GROUP_NONE && settled()) {
      EXPECT_EQ(net_of(7), net_of(3));
      EXPECT_EQ(model.CountInNet(net_of(3)), 2);
      QTest::keyClicks(&window(), "d03");
      stage = 2;
    } else if (stage == 2 && net_of(3) == GROUP_NONE && net_of(7) == GROUP_NONE) {
      QCoreApplication::exit(0);
    }
  });
  probe.start(20);
  QTimer::singleShot(30000, &probe, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(program_->run(), 0) << "stage " << stage;
  EXPECT_TRUE(gateway_received("CONNECT_S 03 07"));
  EXPECT_TRUE(gateway_received("DISC_S 03"));
}

#ifdef MAV_CONTROLLER_PATH
TEST_F(EndToEndTest, ConnectingAnIdleLineAsksForANumberAndDialsIt) {
  start();
  std::vector<std::string> captions;
  prompts_.dialog_script = [&](QDialog& dialog) {
    captions.push_back(dialog.windowTitle().toStdString());
    child<QLineEdit>(dialog, 1343)->setText("5551234");
    click(dialog, 1);
    return dialog.result();
  };
  bool connecting = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    PortRecord line;
    if (!connecting && program_->model().GetPort(2, line) && line.mod_type == MOD_LINE7 &&
        line.settings.on_hook == 1 && program_->session().input_ready.load()) {
      connecting = true;
      QTest::keyClicks(&window(), "c02c03");
    }
    if (gateway_received("DIAL 02 5551234 1")) QCoreApplication::exit(0);
  });
  probe.start(20);
  QTimer::singleShot(20000, &probe, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(program_->run(), 0);
  EXPECT_EQ(captions, std::vector<std::string>{"LINE Dial on port 02"});
}

TEST_F(EndToEndTest, TemplateOfOneRadioLoadedIntoAnotherReachesTheGateway) {
  start();
  const std::filesystem::path file = dir_.path() / "Templates" / "Radio.mod";
  int button = 0;  // Save... or Load... of the settings dialog the window opens
  prompts_.dialog_script = [&](QDialog& dialog) {
    if (auto* chooser = qobject_cast<QFileDialog*>(&dialog)) {
      chooser->selectFile(QString::fromStdString(file.string()));
      return QDialog::Accepted;
    }
    click(dialog, button);
    return QDialog::Rejected;
  };
  PortRecord source{};
  PortRecord target{};
  std::string level_line;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    // Ports 00 and 01 hold radios; once both are known, one's settings go to the other.
    if (level_line.empty() && program_->model().GetPort(0, source) && source.mod_type == MOD_TOV5 &&
        program_->model().GetPort(1, target) && target.mod_type == MOD_TOV5 &&
        program_->session().input_ready.load()) {
      level_line = "TX_LEVEL 01 " + std::to_string(source.settings.tx_level) + "\n";
      button = 1349;
      window().open_module_settings(0, false);
      button = 1353;
      window().open_module_settings(1, false);
    }
    // The whole module has arrived when the voice prompt delay, sent last, follows the level.
    const std::string text = file_text(transcript_);
    const std::size_t level = level_line.empty() ? std::string::npos : text.find(level_line);
    if (level != std::string::npos && text.find("PROMPT_DELAY 01 ", level) != std::string::npos)
      QCoreApplication::exit(0);
  });
  probe.start(20);
  QTimer::singleShot(20000, &probe, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(program_->run(), 0);
  EXPECT_TRUE(gateway_received("RADIO_TYPE 01 "));
  const Bytes saved = read_bytes(file);
  ASSERT_EQ(saved.size(), 628u);
  EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 4), (Bytes{0xE9, 0x03, 0x00, 0x00}));
}

TEST_F(EndToEndTest, ReconnectsAfterTheGatewayHangsUpAndLogsOutOnSigterm) {
  ControllerProcess program(MAV_CONTROLLER_PATH, dir_.path());
  ASSERT_TRUE(wait_for([&] {
    return std::ranges::count(log_messages(dir_.path()), "Network connection established") == 1;
  }));
  ASSERT_TRUE(wait_for([&] { return gateway_received("PIN ?"); }));

  sim_.control("close");
  ASSERT_TRUE(wait_for([&] {
    const auto messages = log_messages(dir_.path());
    const auto closed =
        std::find(messages.begin(), messages.end(), "Network connection closed externally");
    return closed != messages.end() &&
           std::find(closed, messages.end(), "Network connection established") != messages.end();
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
