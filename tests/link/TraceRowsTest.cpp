// What the channel records in the protocol trace on a serial line played by a pseudo-terminal:
// lines sent at once and from the queue, lines received, a reply time-out with the loss of
// contact it starts, and a line the full queue refuses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/LinkRig.h"
#include "support/PseudoTerminal.h"
#include "trace/TraceText.h"

namespace mav::test {
namespace {

TEST(TraceRows, TheChannelRecordsEachLineAndMarksWhatWentWrong) {
  PseudoTerminal gateway;
  auto rig = std::make_unique<LinkRig>();
  ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600));
  rig->trace.start();
  LinkChannel& channel = rig->channel;

  channel.send_line("VER\r", true);
  ASSERT_TRUE(gateway.write("%VER 2.14 E0\r"));
  rig->receive_lines(1, [&] { channel.poll_receive(); });
  channel.set_hold(true);
  channel.send_line("SYSTEM\r", true);
  channel.set_hold(false);
  rig->clock.advance_ms(201);
  channel.poll_receive();
  rig->clock.advance_ms(4001);
  channel.poll_receive();
  channel.set_hold(true);
  for (int i = 0; i < 1000; ++i) channel.send_line("TX_LEVEL 05 " + std::to_string(i) + "\r", true);

  std::vector<TraceRow> rows;
  rig->trace.take(rows);
  std::vector<std::string> seen;
  for (const TraceRow& row : rows) {
    seen.push_back(std::string(trace_kind_text(row)) + "|" + std::string(trace_mode_text(row)) +
                   "|" + trace_visible_text(row));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "sent|at once|VER",
                      "received||%VER 2.14 E0",
                      "sent|queued|SYSTEM",
                      "reply time-out||No reply within 4000 ms",
                      "lost contact||Lost contact with MAV-7700",
                      "queue overflow||TX_LEVEL 05 999",
                  }));
}

}  // namespace
}  // namespace mav::test
