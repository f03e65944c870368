// The channel on a serial line, with a real pseudo-terminal playing the gateway; a device that
// stops taking bytes never makes a sender wait.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/LinkRig.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

using Lines = std::vector<std::string>;

class SerialChannel : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(channel.open_serial(gateway.name(), 9600)); }
  Lines receive_lines(std::size_t count) {
    return rig->receive_lines(count, [&] { channel.poll_receive(); });
  }
  // The clock moves on and the worker takes one step.
  void step(std::uint32_t ms) {
    rig->clock.advance_ms(ms);
    channel.poll_receive();
  }

  PseudoTerminal gateway;
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
  LinkChannel& channel = rig->channel;
};

TEST_F(SerialChannel, AssemblesLinesAtCarriageReturnsKeepingWhatFollowsTheLast256Bytes) {
  ASSERT_TRUE(gateway.write("%TX_LE"));
  channel.poll_receive();
  ASSERT_TRUE(gateway.write("VEL 05 3 E0\r%BU"));
  ASSERT_TRUE(gateway.write("SY\rtwo\nparts\r\r" + std::string(256, 'a') + "bb\r"));
  EXPECT_EQ(receive_lines(5), (Lines{"%TX_LEVEL 05 3 E0", "%BUSY", "two\nparts", "", "bb"}));
}

TEST_F(SerialChannel, BytesEndTheWorkersWaitAndAReplyEndsTheWaitForIt) {
  channel.send_line("VER\r", true);
  channel.wait_for_input(0);  // takes the send's wake-up
  EXPECT_FALSE(channel.wait_for_input(0));
  ASSERT_TRUE(gateway.write("%VER 2.14 E0\r"));
  EXPECT_TRUE(channel.wait_for_input(10000));
  receive_lines(1);
  EXPECT_EQ(rig->contact.last_contact_time(), rig->clock.now_seconds());
  step(5000);  // replied: nothing times out
  EXPECT_EQ(rig->frontend.last_message(), "");
  channel.send_line("SYSTEM\r", true);
  step(4000);
  EXPECT_EQ(rig->frontend.last_message(), "");
  step(1);
  EXPECT_EQ(rig->frontend.last_message(), "Lost contact with MAV-7700");
}

TEST_F(SerialChannel, DeadlinesAreTheReplyTimeOutAndTheNextPacedLine) {
  const struct {
    const char* sent;  // at once, before the hold
    bool expects_reply;
    const char* queued;  // behind the hold
    std::uint32_t then_ms;
    std::optional<std::uint32_t> wait_ms;
  } rows[] = {
      // clang-format off
      {nullptr, false, nullptr, 0, std::nullopt}, {"VER\r", true, nullptr, 1000, 3001},
      {"VER\r", true, nullptr, 4001, 0},          {"DISCH 01 02\r", false, nullptr, 1000, {}},
      {nullptr, false, "VER\r", 0, 0},            {"VER\r", true, "SYSTEM\r", 50, 151},
      // clang-format on
  };
  for (const auto& row : rows) {
    auto line = std::make_unique<LinkRig>();
    ASSERT_TRUE(line->channel.open_serial(gateway.name(), 9600));
    if (row.sent) line->channel.send_line(row.sent, row.expects_reply);
    line->channel.set_hold(true);
    if (row.queued) line->channel.send_line(row.queued, true);
    line->clock.advance_ms(row.then_ms);
    NextWake next(line->clock.now_ms());
    line->channel.add_deadlines(next);
    EXPECT_EQ(next.wait_ms(), row.wait_ms) << (row.sent ? row.sent : "") << " then " << row.then_ms;
    gateway.read_available();
  }
}

TEST_F(SerialChannel, IdleLinesLeaveAtOnceHeldOnesPacedAndCloseForgetsTheGateway) {
  for (const char* line : {"MOD_TYPE ALL\r", "SYSTEM\r", "VER\r"})
    EXPECT_TRUE(channel.send_line(line, true));
  EXPECT_EQ(gateway.read(24), "MOD_TYPE ALL\rSYSTEM\rVER\r");
  rig->insert_module(3);
  channel.close();
  channel.close();  // closing a closed channel does nothing
  EXPECT_EQ(std::tuple(channel.is_open(), channel.device_name().has_value(),
                       rig->model.CountModules(), rig->log_count("Serial port closed")),
            std::tuple(false, false, 0, 1));
  EXPECT_FALSE(channel.open_serial("/dev/no-such-gateway-line", 9600));
  EXPECT_FALSE(channel.is_open() || !rig->frontend.boxes().empty());

  // Lines queued while closed wait for the next open, and leave one per more than 200 ms.
  channel.set_hold(true);
  EXPECT_FALSE(channel.send_line("DISC ALL\r", true) ||
               channel.send_line("CONNECT_S 01 02\r", true) ||
               channel.send_line("DISCH 03 04\r", false));
  ASSERT_TRUE(channel.open_serial(gateway.name(), 19200));
  EXPECT_EQ(channel.queued_lines(), 3u);
  EXPECT_EQ(gateway.read_available(), "");
  step(0);  // nothing was written since the open: the first leaves at once
  EXPECT_EQ(gateway.read(9), "DISC ALL\r");
  step(200);
  EXPECT_EQ(channel.queued_lines(), 2u);
  step(1);
  EXPECT_EQ(gateway.read(16), "CONNECT_S 01 02\r");
  step(201);
  EXPECT_EQ(gateway.read(12), "DISCH 03 04\r");
  step(0);
  EXPECT_TRUE(channel.send_line("VER\r", true));  // an empty queue: at once again
  EXPECT_EQ(gateway.read(4), "VER\r");
}

TEST_F(SerialChannel, AFullQueueRefusesNewLinesKeepsOrderAndLogsOncePerEpisode) {
  const std::string full = "Outgoing command queue full, command dropped";
  channel.set_hold(true);
  std::string expected;
  for (int i = 0; i < 999; ++i) {
    expected += "L" + std::to_string(i) + "\r";
    channel.send_line("L" + std::to_string(i) + "\r", true);
  }
  EXPECT_FALSE(channel.send_line("refused 1\r", true) || channel.send_line("refused 2\r", true));
  EXPECT_EQ(channel.queued_lines(), 999u);
  EXPECT_EQ(rig->log_count(full), 1);
  std::string sent;
  for (int i = 0; i < 1000; ++i) {
    step(201);  // the last step finds the queue drained: the episode is over
    if (i % 50 == 0) sent += gateway.read_available();
  }
  EXPECT_EQ(sent + gateway.read(expected.size() - sent.size()), expected);
  rig->log.write_log_entry("between episodes");  // the log skips a repeated entry
  for (int i = 0; i < 1000; ++i) channel.send_line("again\r", true);
  EXPECT_EQ(rig->log_count(full), 2);
}

// What the device refused leaves later from the worker, whole and before the next line.
TEST_F(SerialChannel, TheRestOfAStalledLineLeavesFromTheWorkerBeforeAnythingElse) {
  const std::string block = std::string(200000, 'x') + "\r";  // far more than the device buffers
  EXPECT_TRUE(channel.send_line(block, false));
  EXPECT_FALSE(channel.send_line("VER\r", true));  // waits behind the rest
  EXPECT_EQ(channel.queued_lines(), 1u);
  NextWake next(rig->clock.now_ms());
  channel.add_deadlines(next);
  EXPECT_EQ(next.wait_ms(), kSerialRetryMs);
  std::string received;
  for (int i = 0; i < 100000 && received.size() < block.size() + 4; ++i) {
    received += gateway.read_available();
    step(kQueuePacingMs + 1);
  }
  EXPECT_EQ(received, block + "VER\r");
}

}  // namespace
}  // namespace mav::test
