// The poll pump and the TCP socket together, against a real peer on 127.0.0.1.
#include "platform/PollPump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TcpSocket.h"
#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/LoopbackPeer.h"

namespace mav::test {
namespace {

constexpr std::uint8_t kLoopback[4] = {127, 0, 0, 1};

// Notes each notification; reads the socket on a read notice as the channel does.
class RecordingEvents final : public SocketEvents {
 public:
  explicit RecordingEvents(TcpSocket& socket) : socket_(socket) {}
  void on_socket_read() override {
    char buffer[2048];
    const long got = socket_.recv(buffer, sizeof buffer);
    if (got > 0) received.append(buffer, static_cast<std::size_t>(got));
    events.push_back("read");
  }
  void on_socket_connected() override { events.push_back("connected"); }
  void on_socket_closed() override { events.push_back("closed"); }
  void on_connect_timeout() override { events.push_back("timeout"); }

  std::vector<std::string> events;
  std::string received;

 private:
  TcpSocket& socket_;
};

class PollPumpTest : public testing::Test {
 protected:
  bool start_connect(std::uint16_t port) {
    return socket.create() && socket.bind_any() &&
           socket.start_connect(kLoopback, port) == TcpSocket::ConnectStart::UnderWay;
  }

  FakeClock clock;
  TcpSocket socket;
  RecordingEvents events{socket};
  PollPump pump{clock, events};
  LoopbackPeer peer;
};

TEST_F(PollPumpTest, DeliversTheConnectOnceThenReadsThenThePeersClose) {
  ASSERT_TRUE(start_connect(peer.port()));
  pump.watch_socket(socket.fd());
  ASSERT_TRUE(peer.accept_connection());
  ASSERT_TRUE(eventually([&] { pump.run_once(10); }, [&] { return !events.events.empty(); }));
  EXPECT_EQ(events.events, std::vector<std::string>{"connected"});

  ASSERT_TRUE(peer.send("%BUSY\r"));
  ASSERT_TRUE(eventually([&] { pump.run_once(10); }, [&] { return events.received == "%BUSY\r"; }));
  EXPECT_EQ(events.events, (std::vector<std::string>{"connected", "read"}));
  EXPECT_EQ(socket.send("VER\r", 4), 4u);
  EXPECT_EQ(peer.read(4), "VER\r");

  peer.close_connection();
  ASSERT_TRUE(eventually([&] { pump.run_once(10); }, [&] { return !pump.watching(); }));
  EXPECT_EQ(events.events.back(), "closed");
  const std::size_t count = events.events.size();
  pump.run_once(20);  // closed once: no more notifications about that socket
  EXPECT_EQ(events.events.size(), count);
}

TEST_F(PollPumpTest, AFailedConnectDeliversNothingAndLeavesTheWatch) {
  ASSERT_TRUE(start_connect(LoopbackPeer::refusing_port()));
  pump.watch_socket(socket.fd());
  ASSERT_TRUE(eventually([&] { pump.run_once(10); }, [&] { return !pump.watching(); }));
  EXPECT_TRUE(events.events.empty());
  EXPECT_EQ(socket.send("VER\r", 4), 0u);  // nothing accepted, and no signal either
}

TEST_F(PollPumpTest, TheConnectionTimerFiresOnTheClockUntilKilled) {
  pump.start_timer(7117, 15500);
  clock.advance_ms(15499);
  pump.run_once(0);
  EXPECT_TRUE(events.events.empty());
  clock.advance_ms(1);
  pump.run_once(0);
  EXPECT_EQ(events.events, std::vector<std::string>{"timeout"});
  clock.advance_ms(15500);
  pump.run_once(0);
  EXPECT_EQ(events.events.size(), 2u);
  pump.kill_timer(7117);
  clock.advance_ms(40000);
  pump.run_once(0);
  EXPECT_EQ(events.events.size(), 2u);
}

TEST_F(PollPumpTest, RestartingTheTimerCountsFromTheRestart) {
  pump.start_timer(7117, 15500);
  clock.advance_ms(10000);
  pump.start_timer(7117, 15500);
  clock.advance_ms(10000);
  pump.run_once(0);
  EXPECT_TRUE(events.events.empty());
  clock.advance_ms(5500);
  pump.run_once(0);
  EXPECT_EQ(events.events, std::vector<std::string>{"timeout"});
}

}  // namespace
}  // namespace mav::test
