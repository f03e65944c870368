// Two linked nets between the controller's core, on its real threads, and the gateway simulator
// over loopback TCP: learnt at synchronisation, replayed after a gateway restart, and taken apart
// by the operator's net disconnection. The gateway's relay image and the controller's own RELAY
// report must agree after each.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "matrix/ConnectionActions.h"
#include "protocol/RelayState.h"
#include "sim/SimProcess.h"
#include "support/ControllerRig.h"
#include "support/FileText.h"
#include "support/OperatorHooks.h"

namespace mav {
namespace {

using test::ControllerRig;

// Net 1 (00, 01) linked to net 2 (03, 06); ports 07 to 31 empty.
const std::string kLinked = "48480068000068" + std::string(50, '0');

// The controller's RELAY report, written as the simulator's "relay ?" answers.
std::string controller_image(const ControllerRig& rig) {
  char line[kRelayLineLength + 1];
  format_relay_line(rig.model, line);
  return "ok %RELAY " + std::string(line + 6, 64);
}

class LinkedNetsEndToEnd : public ::testing::Test {
 protected:
  // Another client of the gateway links the two nets before the controller connects; the
  // automatic saves go to real files.
  void SetUp() override {
    rig_->hooks.forward_saves = &rig_->files;
    rig_->trace.start();
    ASSERT_TRUE(rig_->start_gateway(
        sim_, "CONF ALL ON\rCONNECT_S 00 01\rCONNECT_S 03 06\rCONNECT_S 00 03\r"));
    expect_agreement(kLinked);
  }

  void expect_agreement(const std::string& image) {
    EXPECT_EQ(sim_.control("relay ?"), "ok %RELAY " + image);
    EXPECT_EQ(controller_image(*rig_), "ok %RELAY " + image);
  }

  sim::test::SimProcess sim_;
  std::unique_ptr<test::ConfigRig> rig_ = std::make_unique<test::ConfigRig>(true);
};

TEST_F(LinkedNetsEndToEnd, TheLinkSurvivesARestartAndTheReplayIsAnsweredInFull) {
  ControllerRig& rig = *rig_;
  EXPECT_EQ(sim_.control("restart"), "ok");
  ASSERT_TRUE(rig.pump_until([&] {
    return rig.hooks.restores.load() == 1 && !rig.state.replay_running.load() &&
           rig.channel.queued_lines() == 0 && rig.port(6).bus_link != GROUP_NONE &&
           rig.state.input_ready.load();
  }));
  expect_agreement(kLinked);

  // The replay's last lines are RELAY reports: each must be answered, or the reply time-out
  // reports the gateway lost once it has passed.
  rig.pump_until([] { return false; }, std::chrono::seconds(20));
  std::vector<TraceRow> rows;
  rig.trace.take(rows);
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                          [](const TraceRow& row) { return row.mark == TraceMark::ReplyTimeout; }),
            0);
}

// Each port of the net is held and joined to the first again: both sides keep the two nets, and
// neither keeps the link or makes a DISCH group of them.
TEST_F(LinkedNetsEndToEnd, DisconnectingALinkedNetLeavesTwoPlainNets) {
  ControllerRig& rig = *rig_;
  test::OperatorHooks hooks;
  ConnectionActions actions(
      ActionParts{rig.model, rig.pending, rig.channel, rig.state, rig.frontend, hooks});
  ASSERT_TRUE(actions.disconnect_net(1));
  ASSERT_TRUE(rig.pump_until([&] {
    return test::file_text(rig.log.log_file_path()).find("01 was connected to 00") !=
               std::string::npos &&
           rig.channel.queued_lines() == 0 && rig.state.input_ready.load();
  }));
  expect_agreement("40400060000060" + std::string(50, '0'));
}

}  // namespace
}  // namespace mav
