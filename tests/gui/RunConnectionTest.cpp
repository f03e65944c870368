// The connection the command line asks for: used in this run, never stored.
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include "frontend/MenuIds.h"
#include "gui/SimulatorSiteRig.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

class RunConnectionTest : public SimulatorSiteRig {
 protected:
  // Runs the program until `done` holds, then ends it as File > Exit does; false at the deadline.
  bool run_until(const std::function<bool()>& done) {
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      if (!done()) return;
      probe.stop();
      program_->terminate();
    });
    probe.start(20);
    QTimer::singleShot(20000, &probe, [] { QCoreApplication::exit(1); });
    return program_->run() == 0;
  }
};

TEST_F(RunConnectionTest, ASiteOfThisRunSynchronisesAndIsNeverStored) {
  write_preferences(Preferences{});
  RunConnection run;
  run.kind = RunConnection::Kind::Network;
  run.address = {127, 0, 0, 1};
  run.port = sim_.tcp_port;
  start(run);
  const std::string synchronised_title =
      "Site: 127.0.0.1:" + std::to_string(sim_.tcp_port) + " - MAV Controller - Orvane Systems";
  const std::string indicator =
      "Connected to 127.0.0.1:" + std::to_string(sim_.tcp_port) + " (network)";
  EXPECT_TRUE(run_until([&] {
    const auto* corner = static_cast<QLabel*>(window().menuBar()->cornerWidget());
    return program_->model().CountModules() > 0 && title() == synchronised_title &&
           corner->text().toStdString() == indicator;
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

TEST_F(RunConnectionTest, NoAutoConnectOpensNothingAndKeepsTheStoredChoice) {
  RunConnection run;
  run.kind = RunConnection::Kind::None;
  start(run);
  EXPECT_EQ(title(), "Not Connected - MAV Controller - Orvane Systems");
  EXPECT_FALSE(program_->link().is_open());
  EXPECT_TRUE(checked(menu::kAutoConnectOn));
  stop();
  const Preferences saved = saved_preferences();
  EXPECT_TRUE(saved.auto_connect);
  EXPECT_TRUE(saved.network_mode);
  EXPECT_EQ(saved.sites.size(), 1u);
}

TEST_F(RunConnectionTest, ASerialPortOfThisRunIsNotRemembered) {
  PseudoTerminal line;
  RunConnection run;
  run.kind = RunConnection::Kind::Serial;
  run.device = line.name();
  run.baud = 115200;
  start(run);
  EXPECT_EQ(program_->link().device_name(), line.name());
  EXPECT_EQ(program_->link().baud_rate(), 115200u);
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  stop();
  const Preferences saved = saved_preferences();
  EXPECT_TRUE(saved.network_mode);
  EXPECT_EQ(saved.serial_port_name, Preferences{}.serial_port_name);
  EXPECT_TRUE(saved.recent.empty());
}

}  // namespace
}  // namespace mav::test
