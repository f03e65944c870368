// The program against the simulated gateway over loopback TCP: in this process for what the
// window shows, and as the installed executable for what a signal and a dropped connection do.
#include <QTimer>
#include <algorithm>

#include "gui/ProgramRig.h"
#include "sim/SimProcess.h"
#include "support/ControllerProcess.h"

namespace mav::test {
namespace {

using sim::test::SimProcess;

// The log's lines without their time stamps.
std::vector<std::string> log_messages(const std::filesystem::path& program_directory) {
  std::vector<std::string> messages;
  std::istringstream lines(file_text(program_directory / "Logs" / "MAVPCI1.log"));
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 22) messages.push_back(line.substr(22));
  }
  return messages;
}

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

  // Whether the simulator has received `text` by now.
  bool gateway_received(const char* text) {
    return file_text(transcript_).find(text) != std::string::npos;
  }

  SimProcess sim_;
  std::filesystem::path transcript_;
};

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
  QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(program_->run(), 0);
  EXPECT_TRUE(synchronised);
  EXPECT_TRUE(wait_for([&] { return gateway_received("logout"); }));
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
