// The dial's give-up marks the port before DISC_S leaves: the worker may read the gateway's answer
// before the sending thread runs on.
#include <gtest/gtest.h>

#include <string>

#include "modules/DialSession.h"
#include "support/FakeClock.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

class StepAtSend final : public LineSender {
 public:
  explicit StepAtSend(const DeviceModel& model) : model_(model) {}
  bool send_line(std::string_view text, bool) override {
    PortRecord record;
    model_.GetPort(4, record);
    seen = std::string(text) + " at step " + std::to_string(record.disch_step);
    return true;
  }
  std::string seen;

 private:
  const DeviceModel& model_;
};

TEST(DialGiveUp, StoresTheDisconnectStepBeforeSending) {
  test::ScratchDirectory dir;
  test::FakeClock clock;
  DeviceModel model;
  PortRecord line{};
  line.mod_type = MOD_LINE7;
  line.settings.on_hook = 1;
  model.SetPort(4, line);
  StepAtSend sender(model);
  EventLog log{dir / "Logs", clock};
  DialSession session{DialParts{model, sender, log, clock}, 4};
  session.give_up(true);
  EXPECT_EQ(sender.seen, "DISC_S 04\r at step 9");
}

}  // namespace
}  // namespace mav
