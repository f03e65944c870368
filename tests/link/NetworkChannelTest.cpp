// The channel on a TCP connection to a peer on 127.0.0.1, its notifications carried by the poll
// pump exactly as the UI thread would deliver them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LoopbackLink.h"

namespace mav::test {
namespace {

class NetworkChannel : public testing::Test {
 protected:
  void connect() { ASSERT_TRUE(connect_to(*rig, peer)); }
  std::vector<std::string> pump_lines(std::size_t count) {
    return rig->receive_lines(count, [&] { rig->pump.run_once(10); });
  }

  LoopbackPeer peer;
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
};

TEST_F(NetworkChannel, OpeningLogsTheSiteAndConnectingUpdatesTheTitle) {
  connect();
  EXPECT_TRUE(rig->channel.is_network());
  EXPECT_FALSE(rig->channel.device_name().has_value());
  EXPECT_EQ(rig->log_count("Opened socket to 127.0.0.1:" + std::to_string(peer.port())), 1);
  EXPECT_EQ(rig->log_count("Network connection established"), 1);
  EXPECT_EQ(rig->frontend.title_updates(), 1);
  EXPECT_GE(rig->channel.socket_fd(), 0);
  rig->clock.advance_ms(15500);  // the connection timer finds nothing to do
  rig->pump.run_once(0);
  EXPECT_TRUE(rig->channel.is_ready());
  EXPECT_TRUE(rig->frontend.boxes().empty());
}

TEST_F(NetworkChannel, TextSplitAcrossNotificationsIsJoinedAtTheCarriageReturn) {
  connect();
  rig->channel.send_line("VER\r", true);
  rig->channel.wait_for_input(0);  // takes the send's wake-up
  ASSERT_TRUE(peer.send("abc\rde"));
  EXPECT_EQ(pump_lines(1), (std::vector<std::string>{"abc"}));
  EXPECT_TRUE(rig->channel.wait_for_input(0));  // the line woke the worker
  ASSERT_TRUE(peer.send("f\r"));
  EXPECT_EQ(pump_lines(1), (std::vector<std::string>{"def"}));
  ASSERT_TRUE(peer.send("\nline feed kept\r"));
  EXPECT_EQ(pump_lines(1), (std::vector<std::string>{"\nline feed kept"}));
}

TEST_F(NetworkChannel, LinesSentWhileConnectingLeaveAfterTheConnectAtThePacedRate) {
  rig->channel.set_hold(true);
  rig->channel.send_line("before the open\r", true);  // a new connection starts with an empty queue
  ASSERT_TRUE(rig->channel.open_network(kLoopback, peer.port()));
  EXPECT_TRUE(rig->channel.is_open());
  EXPECT_FALSE(rig->channel.is_ready());
  EXPECT_EQ(rig->channel.queued_lines(), 0u);
  rig->channel.send_line("VER\r", true);
  rig->channel.send_line("SYSTEM\r", true);
  rig->channel.send_line("MOD_TYPE ALL\r", true);
  EXPECT_EQ(rig->channel.queued_lines(), 3u);
  NextWake connecting(rig->clock.now_ms());
  rig->channel.add_deadlines(connecting);
  EXPECT_FALSE(connecting.wait_ms());  // the connect notice wakes the worker instead
  rig->channel.wait_for_input(0);      // takes the wake-ups of the open and the sends

  ASSERT_TRUE(peer.accept_connection());
  for (int i = 0; i < 300; ++i) {  // the worker keeps polling; nothing leaves before the notice
    rig->clock.advance_ms(201);
    rig->channel.poll_receive();
  }
  EXPECT_EQ(rig->channel.queued_lines(), 3u);
  ASSERT_TRUE(eventually([&] { rig->pump.run_once(10); }, [&] { return rig->channel.is_ready(); }));
  EXPECT_TRUE(rig->channel.wait_for_input(0));
  NextWake connected(rig->clock.now_ms());
  rig->channel.add_deadlines(connected);
  EXPECT_EQ(connected.wait_ms(), 0u);

  rig->channel.poll_receive();
  EXPECT_EQ(peer.read(4), "VER\r");
  rig->clock.advance_ms(200);
  rig->channel.poll_receive();
  EXPECT_EQ(rig->channel.queued_lines(), 2u);
  rig->clock.advance_ms(1);
  rig->channel.poll_receive();
  EXPECT_EQ(peer.read(7), "SYSTEM\r");
  rig->clock.advance_ms(250);
  rig->channel.poll_receive();
  EXPECT_EQ(peer.read(13), "MOD_TYPE ALL\r");
  rig->channel.close();
  EXPECT_EQ(peer.read_to_end(), "logout\r");  // and "before the open" never left
}

TEST_F(NetworkChannel, CloseSendsLogoutBeforeTheConnectionEnds) {
  connect();
  rig->insert_module(0);
  const int repaints = rig->frontend.repaints();
  rig->channel.close();
  EXPECT_GT(rig->frontend.repaints(), repaints);  // the emptied model reaches the screen
  EXPECT_EQ(peer.read_to_end(), "logout\r");
  EXPECT_FALSE(rig->channel.is_open());
  EXPECT_FALSE(rig->channel.is_network());
  EXPECT_EQ(rig->model.CountModules(), 0);
  EXPECT_EQ(rig->log_count("Network connection closed"), 1);
  EXPECT_FALSE(rig->pump.watching());
}

TEST_F(NetworkChannel, ThePeerClosingClosesTheChannelAndSaysSo) {
  connect();
  peer.close_connection();
  ASSERT_TRUE(eventually([&] { rig->pump.run_once(10); }, [&] { return !rig->channel.is_open(); }));
  EXPECT_EQ(rig->frontend.last_message(), "Connection closed, retrying");
  EXPECT_EQ(rig->log_count("Network connection closed externally"), 1);
  EXPECT_EQ(rig->log_count("Network connection closed"), 1);
}

TEST_F(NetworkChannel, AResetIsLeftToTheReplyTimeOutAndItsSendErrorShownOnce) {
  connect();
  peer.reset_connection();
  ASSERT_TRUE(eventually([&] { rig->pump.run_once(10); }, [&] { return !rig->pump.watching(); }));
  EXPECT_TRUE(rig->channel.is_open());  // no close and no reconnect
  EXPECT_TRUE(rig->frontend.messages().empty());

  rig->channel.set_hold(true);
  for (const char* line : {"VER\r", "SYSTEM\r", "MOD_TYPE ALL\r"})
    rig->channel.send_line(line, true);
  for (int i = 0; i < 3; ++i) {
    rig->clock.advance_ms(201);
    rig->channel.poll_receive();
  }
  EXPECT_EQ(rig->channel.queued_lines(), 0u);
  ASSERT_EQ(rig->frontend.boxes().size(), 1u);
  EXPECT_EQ(rig->frontend.boxes()[0].text, "Send data error");
  EXPECT_EQ(rig->frontend.boxes()[0].caption, "Error");
}

TEST_F(NetworkChannel, ARefusedConnectIsReportedOnlyByTheConnectionTimer) {
  ASSERT_TRUE(rig->channel.open_network(kLoopback, LoopbackPeer::refusing_port()));
  // The refusal comes back as a notification carrying an error, which is not delivered.
  ASSERT_TRUE(eventually([&] { rig->pump.run_once(10); }, [&] { return !rig->pump.watching(); }));
  EXPECT_TRUE(rig->channel.is_open());
  EXPECT_TRUE(rig->frontend.boxes().empty());

  rig->clock.advance_ms(15499);
  rig->pump.run_once(0);
  EXPECT_TRUE(rig->channel.is_open());
  EXPECT_TRUE(rig->frontend.boxes().empty());

  rig->clock.advance_ms(1);
  rig->pump.run_once(0);
  EXPECT_FALSE(rig->channel.is_open());
  ASSERT_EQ(rig->frontend.boxes().size(), 1u);
  const MessageBoxRequest box = rig->frontend.boxes()[0];
  EXPECT_EQ(box.text, "Network Connection attempt failed");
  EXPECT_EQ(box.caption, "MAV Controller");
  EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  EXPECT_TRUE(box.owned_by_main_window);
  EXPECT_EQ(rig->frontend.title_updates(), 1);

  rig->clock.advance_ms(15500);  // the timer was killed: nothing more
  rig->pump.run_once(0);
  EXPECT_EQ(rig->frontend.boxes().size(), 1u);
}

TEST_F(NetworkChannel, AFloodOverflowsTheRingWithoutGrowingAnything) {
  connect();
  EXPECT_EQ(flood_until_closed(*rig, peer), 99u);  // nobody reads the ring meanwhile
  EXPECT_EQ(rig->receive_lines(99, [] {}),
            std::vector<std::string>(99, "%TX_LEVEL 05 3 E0"));  // the newest were dropped
}

}  // namespace
}  // namespace mav::test
