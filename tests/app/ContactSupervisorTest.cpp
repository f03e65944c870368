// Reply time-outs, lost-contact reports and keep-alives on a real serial channel (a
// pseudo-terminal) or a loopback socket, and the fake clock.
#include "engine/ContactSupervisor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/LinkRig.h"
#include "support/LoopbackPeer.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

constexpr const char* kLost = "Lost contact with MAV-7700";

class ContactSupervision : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600)); }
  // Lets `ms` pass after a line that waits for its reply (or none is sent).
  void wait_for_reply(std::uint32_t ms, bool send = true) {
    if (send) rig->channel.send_line("VER\r", true);
    rig->clock.advance_ms(ms);
    rig->channel.poll_receive();
  }
  int lost_boxes() const {
    int count = 0;
    for (const MessageBoxRequest& box : rig->frontend.boxes()) {
      count += box.text == "The MAV Controller has lost contact\rwith the MAV-7700";
    }
    return count;
  }

  PseudoTerminal gateway;
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
};

// Where the reply time-out falls is the channel's own concern; here: what a loss shows.
TEST_F(ContactSupervision, WithoutModulesOnlyTheTextShowsOnce) {
  const int before = rig->frontend.link_state_changes();
  wait_for_reply(4001);
  EXPECT_EQ(rig->frontend.last_message(), kLost);
  EXPECT_TRUE(rig->frontend.boxes().empty());
  EXPECT_EQ(rig->log_count(std::string("*** ") + kLost), 0);
  wait_for_reply(4001);
  EXPECT_EQ(rig->frontend.link_state_changes(), before + 1);  // the loss is reported once

  rig->channel.close();  // closing clears the lost state
  EXPECT_FALSE(rig->contact.contact_lost_reported());
  EXPECT_EQ(rig->frontend.last_message(), "");
}

TEST_F(ContactSupervision, TwoTimeOutsInARowShowOneBoxAndTheNextLineRearmsIt) {
  rig->insert_module(2);
  wait_for_reply(4001);
  wait_for_reply(4001);
  ASSERT_EQ(lost_boxes(), 1);
  const MessageBoxRequest box = rig->frontend.boxes()[0];
  EXPECT_EQ(std::tuple(box.caption, box.icon, box.owned_by_main_window),
            std::tuple("MAV Controller", MessageIcon::Exclamation, true));
  EXPECT_EQ(rig->log_count(std::string("*** ") + kLost), 1);

  rig->clock.advance_seconds(12);
  ASSERT_TRUE(gateway.write("%BUSY\r"));
  ReceivedLine taken;
  ASSERT_TRUE(eventually([&] { rig->channel.poll_receive(); },
                         [&] { return rig->channel.next_line(taken); }));
  EXPECT_EQ(std::tuple(rig->frontend.last_message(), rig->contact.contact_lost_reported(),
                       rig->contact.last_contact_time()),
            std::tuple("", false, rig->clock.now_seconds()));
  wait_for_reply(4001);
  EXPECT_EQ(lost_boxes(), 2);
}

TEST_F(ContactSupervision, KeepAliveEverySeventhTickWhileTheGatewayTalksAndEveryTickAfter45s) {
  for (int tick = 1; tick <= 14; ++tick) {
    rig->contact.report_contact(false);  // the gateway just said something
    rig->contact.on_keepalive_timer(rig->channel);
    EXPECT_EQ(gateway.read_available(), tick % 7 == 0 ? "\r" : "") << "tick " << tick;
  }
  rig->contact.report_contact(false);
  std::string sent;
  for (int quiet : {44, 1, 30}) {
    rig->clock.advance_seconds(quiet);
    rig->contact.on_keepalive_timer(rig->channel);
    sent += gateway.read_available() + "|";
  }
  EXPECT_EQ(sent, "|\r|\r|");
  wait_for_reply(4001, false);  // no reply to it
  EXPECT_EQ(rig->frontend.last_message(), kLost);

  rig->channel.close();
  rig->channel.set_hold(true);  // anything sent would wait here
  for (int tick = 0; tick < 7; ++tick) rig->contact.on_keepalive_timer(rig->channel);
  EXPECT_EQ(rig->channel.queued_lines(), 0u);
}

TEST(ContactSupervisionNetwork, NoKeepAliveWhileTheConnectIsPendingAndALongerReplyTimeOut) {
  LoopbackPeer peer;
  auto rig = std::make_unique<LinkRig>();
  const std::uint8_t loopback[4] = {127, 0, 0, 1};
  ASSERT_TRUE(rig->channel.open_network(loopback, peer.port()));
  for (int tick = 0; tick < 7; ++tick) rig->contact.on_keepalive_timer(rig->channel);
  EXPECT_EQ(rig->channel.queued_lines(), 0u);

  ASSERT_TRUE(peer.accept_connection());
  ASSERT_TRUE(eventually([&] { rig->pump.run_once(10); }, [&] { return rig->channel.is_ready(); }));
  rig->insert_module(1);
  rig->contact.on_keepalive_timer(rig->channel);  // silent since the start: one goes out
  EXPECT_EQ(peer.read(1), "\r");
  for (std::uint32_t ms : {15000u, 1u}) {
    EXPECT_EQ(rig->frontend.boxes().size(), 0u);
    rig->clock.advance_ms(ms);
    rig->channel.poll_receive();
  }
  EXPECT_EQ(std::pair(rig->frontend.last_message(), rig->frontend.boxes().size()),
            std::pair(std::string(kLost), std::size_t{1}));
}

}  // namespace
}  // namespace mav::test
