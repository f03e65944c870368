// Reply time-outs, lost-contact reports and keep-alives on a real serial channel (a
// pseudo-terminal) and the fake clock.
#include "app/ContactSupervisor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/Eventually.h"
#include "support/LinkRig.h"
#include "support/LoopbackPeer.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

class ContactSupervision : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600)); }

  // Waits out a reply for longer than the 4 s a serial channel allows.
  void time_out() {
    rig->channel.send_line("VER\r", true);
    gateway.read(4);
    rig->clock.advance_ms(4001);
    rig->channel.poll_receive();
  }

  void receive_line(const std::string& line) {
    ASSERT_TRUE(gateway.write(line + "\r"));
    ReceivedLine taken;
    ASSERT_TRUE(eventually([&] { rig->channel.poll_receive(); },
                           [&] { return rig->channel.next_line(taken); }));
  }

  int lost_boxes() const {
    int count = 0;
    for (const MessageBoxRequest& box : rig->frontend.boxes()) {
      if (box.text == "The MAV Controller has lost contact\rwith the MAV-7700") ++count;
    }
    return count;
  }

  PseudoTerminal gateway;
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
};

TEST_F(ContactSupervision, ATimeOutWithNoModuleKnownShowsOnlyTheStatusText) {
  const int opened = rig->frontend.link_state_changes();
  time_out();
  EXPECT_EQ(rig->frontend.last_message(), "Lost contact with MAV-7700");
  EXPECT_TRUE(rig->frontend.boxes().empty());
  EXPECT_EQ(rig->log_count("*** Lost contact with MAV-7700"), 0);
  EXPECT_TRUE(rig->contact.contact_lost_reported());
  time_out();
  EXPECT_EQ(rig->frontend.link_state_changes(), opened + 1);  // the loss is reported once

  rig->channel.close();  // closing clears the lost state
  EXPECT_FALSE(rig->contact.contact_lost_reported());
  EXPECT_EQ(rig->frontend.last_message(), "");
  EXPECT_GT(rig->frontend.link_state_changes(), opened + 1);
}

TEST_F(ContactSupervision, TheReplyMayTakeExactlyTheAllowedTime) {
  rig->insert_module(2);
  rig->channel.send_line("DISCH 01 02\r", false);  // expects no reply: never times out
  rig->clock.advance_ms(60000);
  rig->channel.poll_receive();
  EXPECT_TRUE(rig->frontend.messages().empty());

  rig->channel.send_line("VER\r", true);
  rig->clock.advance_ms(4000);
  rig->channel.poll_receive();
  EXPECT_TRUE(rig->frontend.messages().empty());
  rig->clock.advance_ms(1);
  rig->channel.poll_receive();
  EXPECT_EQ(rig->frontend.last_message(), "Lost contact with MAV-7700");
}

TEST_F(ContactSupervision, TwoTimeOutsInARowShowOneBoxAndTheNextLineRearmsIt) {
  rig->insert_module(2);
  time_out();
  time_out();
  ASSERT_EQ(lost_boxes(), 1);
  const MessageBoxRequest box = rig->frontend.boxes()[0];
  EXPECT_EQ(box.caption, "MAV Controller");
  EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  EXPECT_TRUE(box.owned_by_main_window);
  EXPECT_EQ(rig->log_count("*** Lost contact with MAV-7700"), 1);

  rig->clock.advance_seconds(12);
  receive_line("%BUSY");
  EXPECT_EQ(rig->frontend.last_message(), "");
  EXPECT_FALSE(rig->contact.contact_lost_reported());
  EXPECT_EQ(rig->contact.last_contact_time(), rig->clock.now_seconds());

  time_out();
  EXPECT_EQ(lost_boxes(), 2);
}

TEST_F(ContactSupervision, KeepAliveGoesOutEverySeventhTickWhileTheGatewayTalks) {
  for (int tick = 1; tick <= 14; ++tick) {
    rig->contact.report_contact(false);  // the gateway just said something
    rig->contact.on_keepalive_timer(rig->channel);
    const std::string sent = gateway.read_available();
    EXPECT_EQ(sent, tick % 7 == 0 ? "\r" : "") << "tick " << tick;
  }
}

TEST_F(ContactSupervision, KeepAliveGoesOutOnEveryTickAfter45QuietSeconds) {
  rig->contact.report_contact(false);
  rig->clock.advance_seconds(44);
  rig->contact.on_keepalive_timer(rig->channel);
  EXPECT_EQ(gateway.read_available(), "");
  rig->clock.advance_seconds(1);
  rig->contact.on_keepalive_timer(rig->channel);
  EXPECT_EQ(gateway.read(1), "\r");
  rig->clock.advance_seconds(30);
  rig->contact.on_keepalive_timer(rig->channel);
  EXPECT_EQ(gateway.read(1), "\r");

  // No reply to it within 4 s: contact is lost.
  rig->clock.advance_ms(4001);
  rig->channel.poll_receive();
  EXPECT_EQ(rig->frontend.last_message(), "Lost contact with MAV-7700");
}

TEST_F(ContactSupervision, NoKeepAliveOnAClosedChannel) {
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
  rig->clock.advance_ms(15000);
  rig->channel.poll_receive();
  EXPECT_TRUE(rig->frontend.messages().empty());
  rig->clock.advance_ms(1);
  rig->channel.poll_receive();
  EXPECT_EQ(rig->frontend.last_message(), "Lost contact with MAV-7700");
  EXPECT_EQ(rig->frontend.boxes().size(), 1u);
}

}  // namespace
}  // namespace mav::test
