// The poll pump and the TCP socket together, against a real peer on 127.0.0.1.
#include "platform/PollPump.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/TcpSocket.h"
#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/LoopbackPeer.h"

namespace mav::test {
namespace {

// Notes each notification as a letter (read, connected, closed by the peer, timer), and reads
// the socket on a read notice as the channel does.
struct PumpRig final : SocketEvents {
  void on_socket_read() override {
    char buffer[64];
    received.append(buffer, static_cast<std::size_t>(std::max(0L, socket.recv(buffer, 64))));
    events += 'r';
  }
  void on_socket_connected() override { events += 'c'; }
  void on_socket_closed() override { events += 'x'; }
  void on_connect_timeout() override { events += 't'; }
  bool connect_and_pump_until(std::uint16_t port, bool (*done)(PumpRig&)) {
    static constexpr std::uint8_t kLoopback[4] = {127, 0, 0, 1};
    if (!socket.create() || !socket.bind_any() ||
        socket.start_connect(kLoopback, port) != TcpSocket::ConnectStart::UnderWay)
      return false;
    pump.watch_socket(socket.fd());
    return pump_until(done);
  }
  bool pump_until(bool (*done)(PumpRig&)) {
    return eventually([&] { pump.run_once(10); }, [&] { return done(*this); });
  }

  TcpSocket socket;
  std::string events;
  std::string received;
  FakeClock clock;
  PollPump pump{clock, *this};
  LoopbackPeer peer;
};

TEST(PollPump, DeliversTheConnectOnceThenReadsThenThePeersCloseOnce) {
  PumpRig rig;
  ASSERT_TRUE(
      rig.connect_and_pump_until(rig.peer.port(), [](PumpRig& r) { return r.events == "c"; }));
  ASSERT_TRUE(rig.peer.accept_connection());
  ASSERT_TRUE(rig.peer.send("%BUSY\r"));
  ASSERT_TRUE(rig.pump_until([](PumpRig& r) { return r.received == "%BUSY\r"; }));
  EXPECT_EQ(rig.socket.send("VER\r", 4), 4u);
  EXPECT_EQ(rig.peer.read(4), "VER\r");
  rig.peer.close_connection();
  ASSERT_TRUE(rig.pump_until([](PumpRig& r) { return !r.pump.watching(); }));
  rig.pump.run_once(20);
  EXPECT_EQ(rig.events, "crx");
}

TEST(PollPump, AFailedConnectDeliversNothingAndLeavesTheWatch) {
  PumpRig rig;
  ASSERT_TRUE(rig.connect_and_pump_until(LoopbackPeer::refusing_port(),
                                         [](PumpRig& r) { return !r.pump.watching(); }));
  EXPECT_EQ(rig.events, "");
  EXPECT_EQ(rig.socket.send("VER\r", 4), 0u);  // nothing accepted, and no signal either
}

TEST(PollPump, TheTimerCountsFromItsLastStartFiresEachIntervalUntilKilled) {
  PumpRig rig;
  rig.pump.start_timer(7117, 15500);
  rig.clock.advance_ms(10000);
  rig.pump.start_timer(7117, 15500);
  const std::pair<std::uint32_t, const char*> steps[] = {
      {15499, ""}, {1, "t"}, {15499, "t"}, {1, "tt"}};
  for (const auto& [ms, events] : steps) {
    rig.clock.advance_ms(ms);
    rig.pump.run_once(0);
    EXPECT_EQ(rig.events, events) << ms;
  }
  rig.pump.kill_timer(7117);
  rig.clock.advance_ms(40000);
  rig.pump.run_once(0);
  EXPECT_EQ(rig.events, "tt");
}

}  // namespace
}  // namespace mav::test
