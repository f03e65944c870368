// A serial device that stops taking bytes: whoever sends (the UI thread too) never waits for it,
// and what it refused leaves later from the worker, whole and before the next line.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/LinkRig.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

TEST(SerialStall, TheRestOfALineLeavesFromTheWorkerBeforeAnythingElse) {
  PseudoTerminal gateway;
  auto rig = std::make_unique<LinkRig>();
  ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600));
  const std::string block = std::string(200000, 'x') + "\r";  // far more than the device buffers
  EXPECT_TRUE(rig->channel.send_line(block, false));
  EXPECT_FALSE(rig->channel.send_line("VER\r", true));  // waits behind the rest
  EXPECT_EQ(rig->channel.queued_lines(), 1u);
  NextWake next(rig->clock.now_ms());
  rig->channel.add_deadlines(next);
  EXPECT_EQ(next.wait_ms(), kSerialRetryMs);

  std::string received;
  for (int step = 0; step < 100000 && received.size() < block.size() + 4; ++step) {
    received += gateway.read_available();
    rig->clock.advance_ms(kQueuePacingMs + 1);
    rig->channel.poll_receive();
  }
  EXPECT_EQ(received, block + "VER\r");
}

}  // namespace
}  // namespace mav::test
