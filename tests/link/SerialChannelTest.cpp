// The channel on a serial line, with a real pseudo-terminal playing the gateway.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/LinkRig.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

// How long a wait that bytes should end may take before the test gives up on it.
constexpr std::uint32_t kWaitLimitMs = 10000;

class SerialChannel : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(gateway.name().empty());
    ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600));
  }

  std::vector<std::string> receive_lines(std::size_t count) {
    return rig->receive_lines(count, [&] { rig->channel.poll_receive(); });
  }

  PseudoTerminal gateway;
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
};

TEST_F(SerialChannel, AssemblesFragmentsIntoLinesEndedByCarriageReturns) {
  ASSERT_TRUE(gateway.write("%TX_LE"));
  rig->channel.poll_receive();
  ASSERT_TRUE(gateway.write("VEL 05 3 E0\r%BU"));
  ASSERT_TRUE(gateway.write("SY\rtwo\nparts\r\r"));
  EXPECT_EQ(receive_lines(4),
            (std::vector<std::string>{"%TX_LEVEL 05 3 E0", "%BUSY", "two\nparts", ""}));
}

TEST_F(SerialChannel, AnOverlongLineKeepsOnlyWhatFollowsIts256thCharacter) {
  ASSERT_TRUE(gateway.write(std::string(256, 'a') + std::string(44, 'b') + "\r"));
  EXPECT_EQ(receive_lines(1), (std::vector<std::string>{std::string(44, 'b')}));
}

TEST_F(SerialChannel, ArrivingBytesEndTheWorkersWaitAndALineEndsTheWaitForAReply) {
  rig->channel.send_line("VER\r", true);
  rig->channel.wait_for_input(0);  // takes the send's wake-up
  EXPECT_FALSE(rig->channel.wait_for_input(0));
  ASSERT_TRUE(gateway.write("%VER 2.14 E0\r"));
  EXPECT_TRUE(rig->channel.wait_for_input(kWaitLimitMs));
  receive_lines(1);
  EXPECT_EQ(rig->contact.last_contact_time(), rig->clock.now_seconds());
  // The reply arrived, so a time-out later finds nothing to report.
  rig->clock.advance_ms(5000);
  rig->channel.poll_receive();
  EXPECT_NE(rig->frontend.last_message(), "Lost contact with MAV-7700");
}

TEST_F(SerialChannel, DeadlinesAreTheReplyTimeOutAndTheNextPacedLine) {
  const struct {
    const char* name;
    const char* sent;  // at once, before the hold
    bool expects_reply;
    const char* queued;  // behind the hold
    std::uint32_t then_ms;
    std::optional<std::uint32_t> wait_ms;
  } rows[] = {
      {"nothing pending", nullptr, false, nullptr, 0, std::nullopt},
      {"a reply awaited", "VER\r", true, nullptr, 1000, 3001},
      {"a reply overdue", "VER\r", true, nullptr, 4001, 0},
      {"no reply expected", "DISCH 01 02\r", false, nullptr, 1000, std::nullopt},
      {"a line queued since the open", nullptr, false, "VER\r", 0, 0},
      {"a queued line paced behind a sent one", "VER\r", true, "SYSTEM\r", 50, 151},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto line = std::make_unique<LinkRig>();
    ASSERT_TRUE(line->channel.open_serial(gateway.name(), 9600));
    if (row.sent) line->channel.send_line(row.sent, row.expects_reply);
    line->channel.set_hold(true);
    if (row.queued) line->channel.send_line(row.queued, true);
    line->clock.advance_ms(row.then_ms);
    NextWake next(line->clock.now_ms());
    line->channel.add_deadlines(next);
    EXPECT_EQ(next.wait_ms(), row.wait_ms);
    gateway.read_available();
  }
}

TEST_F(SerialChannel, ABurstOnAnIdleChannelIsWrittenBackToBack) {
  std::string expected;
  for (int port = 0; port < 14; ++port) {
    const std::string line =
        "MOD_TYPE " + std::string(port < 10 ? "0" : "") + std::to_string(port) + "\r";
    EXPECT_TRUE(rig->channel.send_line(line, true));
    expected += line;
  }
  EXPECT_EQ(rig->channel.queued_lines(), 0u);
  EXPECT_EQ(gateway.read(expected.size()), expected);
}

TEST_F(SerialChannel, HeldLinesQueueAndLeaveAtMostOnePer200Milliseconds) {
  rig->channel.set_hold(true);
  EXPECT_FALSE(rig->channel.send_line("DISC ALL\r", true));
  EXPECT_FALSE(rig->channel.send_line("CONNECT_S 01 02\r", true));
  EXPECT_FALSE(rig->channel.send_line("DISCH 03 04\r", false));
  EXPECT_EQ(rig->channel.queued_lines(), 3u);
  EXPECT_EQ(gateway.read_available(), "");

  rig->channel.poll_receive();  // nothing was written since the open: the first leaves at once
  EXPECT_EQ(gateway.read(9), "DISC ALL\r");
  rig->channel.poll_receive();
  rig->clock.advance_ms(200);
  rig->channel.poll_receive();
  EXPECT_EQ(rig->channel.queued_lines(), 2u);
  rig->clock.advance_ms(1);
  rig->channel.poll_receive();
  EXPECT_EQ(gateway.read(16), "CONNECT_S 01 02\r");
  rig->clock.advance_ms(201);
  rig->channel.poll_receive();
  EXPECT_EQ(gateway.read(12), "DISCH 03 04\r");
  EXPECT_EQ(rig->channel.queued_lines(), 0u);
  // Once the queue is empty and the hold is off, the next line goes out at once again.
  rig->channel.set_hold(false);
  EXPECT_TRUE(rig->channel.send_line("VER\r", true));
  EXPECT_EQ(gateway.read(4), "VER\r");
}

TEST_F(SerialChannel, AFullQueueRefusesNewLinesKeepsOrderAndLogsOncePerEpisode) {
  rig->channel.set_hold(true);
  for (int i = 0; i < 999; ++i) rig->channel.send_line("L" + std::to_string(i) + "\r", true);
  EXPECT_FALSE(rig->channel.send_line("refused 1\r", true));
  EXPECT_FALSE(rig->channel.send_line("refused 2\r", true));
  EXPECT_EQ(rig->channel.queued_lines(), 999u);
  EXPECT_EQ(rig->log_count("Outgoing command queue full, command dropped"), 1);

  rig->channel.set_hold(false);
  std::string expected;
  std::string sent;
  for (int i = 0; i < 999; ++i) {
    expected += "L" + std::to_string(i) + "\r";
    rig->clock.advance_ms(201);
    rig->channel.poll_receive();
    if (i % 50 == 0) sent += gateway.read_available();
  }
  sent += gateway.read(expected.size() - sent.size());
  EXPECT_EQ(sent, expected);

  rig->channel.poll_receive();  // finds the queue drained: the episode is over
  rig->log.write_log_entry("between episodes");
  rig->channel.set_hold(true);
  for (int i = 0; i < 1000; ++i) rig->channel.send_line("again\r", true);
  EXPECT_EQ(rig->log_count("Outgoing command queue full, command dropped"), 2);
}

TEST_F(SerialChannel, LinesQueuedWhileClosedLeaveAfterTheNextOpen) {
  rig->channel.close();
  rig->channel.set_hold(true);
  rig->channel.send_line("VER\r", true);
  ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 19200));
  EXPECT_EQ(rig->channel.queued_lines(), 1u);
  rig->channel.poll_receive();
  EXPECT_EQ(gateway.read(4), "VER\r");
}

TEST_F(SerialChannel, CloseSendsNothingForgetsTheDeviceAndTheModules) {
  EXPECT_EQ(rig->channel.device_name(), gateway.name());
  EXPECT_EQ(rig->channel.baud_rate(), 9600u);
  EXPECT_TRUE(rig->channel.is_ready());
  rig->insert_module(3);
  rig->channel.close();
  EXPECT_FALSE(rig->channel.is_open());
  EXPECT_FALSE(rig->channel.device_name().has_value());
  EXPECT_EQ(rig->model.CountModules(), 0);
  EXPECT_EQ(rig->log_count("Serial port closed"), 1);
  EXPECT_EQ(gateway.read_available(), "");
  rig->channel.close();  // closing a closed channel does nothing
  EXPECT_EQ(rig->log_count("Serial port closed"), 1);
}

TEST(SerialChannelOpen, AMissingDeviceFailsSilently) {
  auto rig = std::make_unique<LinkRig>();
  EXPECT_FALSE(rig->channel.open_serial("/dev/no-such-gateway-line", 9600));
  EXPECT_FALSE(rig->channel.is_open());
  EXPECT_TRUE(rig->frontend.boxes().empty());
  EXPECT_EQ(rig->channel.baud_rate(), 9600u);
}

}  // namespace
}  // namespace mav::test
