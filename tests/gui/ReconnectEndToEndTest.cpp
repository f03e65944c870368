// The program against a simulated gateway that goes away and comes back on the same port: the
// console keeps trying by itself, shows its attempts, and synchronises again.
#include <QLabel>
#include <QTimer>
#include <algorithm>

#include "gui/SimulatorSiteRig.h"

namespace mav::test {
namespace {

using ReconnectEndToEndTest = SimulatorSiteRig;

TEST_F(ReconnectEndToEndTest, RetriesUntilTheGatewayIsBackAndSynchronises) {
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

  for (const char* expected :
       {"Reconnecting (attempt 2, next in 2 s)", "Reconnecting (attempt 3, next in 4 s)"}) {
    EXPECT_NE(std::find(shown.begin(), shown.end(), expected), shown.end()) << expected;
  }
  const std::string log = file_text(dir_.path() / "Logs" / "MAVPCI1.log");
  EXPECT_NE(log.find("Network reconnection failed, retrying until the gateway answers"),
            std::string::npos);
  EXPECT_NE(log.find("Network connection restored at attempt 3"), std::string::npos);
  EXPECT_TRUE(prompts_.shown.empty());
}

}  // namespace
}  // namespace mav::test
