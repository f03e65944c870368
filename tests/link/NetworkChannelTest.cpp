// The channel on a TCP connection to a peer on 127.0.0.1, its notifications carried by the poll
// pump exactly as the UI thread would deliver them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/LinkRig.h"

namespace mav::test {
namespace {

using Lines = std::vector<std::string>;

class NetworkChannel : public testing::Test {
 protected:
  void step(std::uint32_t ms) {
    rig->clock.advance_ms(ms);
    channel.poll_receive();
  }

  LoopbackPeer peer;
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
  LinkChannel& channel = rig->channel;
};

TEST_F(NetworkChannel, LinesSentWhileConnectingLeavePacedAfterTheConnectAndCloseSaysLogout) {
  channel.set_hold(true);
  channel.send_line("before the open\r", true);  // a new connection starts with an empty queue
  ASSERT_TRUE(channel.open_network(LinkRig::kLoopback, peer.port()));
  EXPECT_FALSE(channel.is_ready());
  for (const char* line : {"VER\r", "SYSTEM\r", "MOD_TYPE ALL\r"}) channel.send_line(line, true);
  EXPECT_EQ(channel.queued_lines(), 3u);
  NextWake connecting(rig->clock.now_ms());
  channel.add_deadlines(connecting);
  EXPECT_FALSE(connecting.wait_ms());  // the connect notice wakes the worker instead
  channel.wait_for_input(0);           // takes the wake-ups of the open and the sends
  ASSERT_TRUE(peer.accept_connection());
  for (int i = 0; i < 300; ++i) step(201);  // nothing leaves before the notice
  EXPECT_EQ(channel.queued_lines(), 3u);
  ASSERT_TRUE(rig->pump_until([&] { return rig->channel.is_ready(); }));
  EXPECT_TRUE(channel.wait_for_input(0));
  EXPECT_EQ(
      std::tuple(rig->log_count("Opened socket to 127.0.0.1:" + std::to_string(peer.port())),
                 rig->log_count("Network connection established"), rig->frontend.title_updates()),
      std::tuple(1, 1, 1));
  NextWake connected(rig->clock.now_ms());
  channel.add_deadlines(connected);
  EXPECT_EQ(connected.wait_ms(), 0u);

  step(0);
  step(201);
  step(201);  // paced as on a serial line
  EXPECT_EQ(peer.read(24), "VER\rSYSTEM\rMOD_TYPE ALL\r");
  rig->clock.advance_ms(15500);  // the connection timer finds nothing to do
  rig->pump.run_once(0);
  EXPECT_TRUE(channel.is_ready());
  rig->insert_module(0);
  channel.close();
  EXPECT_EQ(peer.read_to_end(), "logout\r");  // and "before the open" never left
  EXPECT_EQ(std::tuple(channel.is_network(), rig->model.CountModules(),
                       rig->log_count("Network connection closed"), rig->pump.watching()),
            std::tuple(false, 0, 1, false));
}

TEST_F(NetworkChannel, TextSplitAcrossNotificationsIsJoinedAtTheCarriageReturn) {
  ASSERT_TRUE(rig->connect_to(peer));
  const auto pump = [&] { rig->pump.run_once(10); };
  channel.wait_for_input(0);  // takes the connect's wake-up
  ASSERT_TRUE(peer.send("abc\rde"));
  EXPECT_EQ(rig->receive_lines(1, pump), Lines{"abc"});
  EXPECT_TRUE(channel.wait_for_input(0));  // the line woke the worker
  ASSERT_TRUE(peer.send("f\r\nline feed kept\r"));
  EXPECT_EQ(rig->receive_lines(2, pump), (Lines{"def", "\nline feed kept"}));
}

TEST_F(NetworkChannel, ThePeerClosingClosesTheChannelAndSaysSo) {
  ASSERT_TRUE(rig->connect_to(peer));
  peer.close_connection();
  ASSERT_TRUE(rig->pump_until([&] { return !rig->channel.is_open(); }));
  EXPECT_EQ(rig->frontend.last_message(), "Connection closed, retrying");
  EXPECT_EQ(std::pair(rig->log_count("Network connection closed externally"),
                      rig->log_count("Network connection closed")),
            std::pair(1, 1));
}

TEST_F(NetworkChannel, ARefusedConnectIsReportedOnlyByTheConnectionTimer) {
  ASSERT_TRUE(channel.open_network(LinkRig::kLoopback, LoopbackPeer::refusing_port()));
  ASSERT_TRUE(rig->pump_until([&] { return !rig->pump.watching(); }));
  const std::pair<std::uint32_t, bool> steps[] = {{15499, true}, {1, false}, {15500, false}};
  for (const auto& [ms, open] : steps) {
    rig->clock.advance_ms(ms);
    rig->pump.run_once(0);
    EXPECT_EQ(channel.is_open(), open) << ms;
  }
  ASSERT_EQ(rig->frontend.boxes().size(), 1u);  // once: the timer was killed
  EXPECT_EQ(std::pair(rig->frontend.boxes()[0].text, rig->frontend.title_updates()),
            std::pair(std::string("Network Connection attempt failed"), 1));
}

}  // namespace
}  // namespace mav::test
