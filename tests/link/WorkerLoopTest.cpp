#include "link/WorkerLoop.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/Eventually.h"
#include "support/LinkRig.h"
#include "support/LoopbackPeer.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

// A dispatcher that notes the keyword and port of every parsed line and releases it.
class RecordingDispatcher final : public DispatchStep {
 public:
  explicit RecordingDispatcher(LineReader& reader) : reader_(reader) {}
  void dispatch_step() override {
    ParsedReply& reply = reader_.reply();
    if (!reply.pending) return;
    reply.pending = false;
    std::lock_guard lock(mutex_);
    seen_.push_back(reply.parse_error
                        ? "error"
                        : std::to_string(reply.keyword) + "/" + std::to_string(reply.port));
  }
  std::vector<std::string> seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  LineReader& reader_;
  mutable std::mutex mutex_;
  std::vector<std::string> seen_;
};

TEST(WorkerLoop, ParsesAndDispatchesSerialLinesInArrivalOrderOnItsOwnThread) {
  PseudoTerminal gateway;
  auto rig = std::make_unique<LinkRig>();
  ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600));
  LineReader reader(rig->channel.received_lines());
  RecordingDispatcher dispatcher(reader);
  WorkerLoop worker(rig->channel, reader, dispatcher);
  worker.start();
  EXPECT_TRUE(worker.running());
  ASSERT_TRUE(gateway.write("%DISC 07 E0\rnoise\r%TX_LEVEL 05 3 E0\r%DISC ALL E0\r"));
  ASSERT_TRUE(eventually([&] { return dispatcher.seen().size() >= 4; }));
  worker.stop();
  EXPECT_FALSE(worker.running());
  EXPECT_EQ(dispatcher.seen(), (std::vector<std::string>{"26/7", "error", "58/5", "26/60"}));
}

TEST(WorkerLoop, DrainsTheQueueWhileTheUiThreadKeepsSending) {
  PseudoTerminal gateway;
  auto rig = std::make_unique<LinkRig>();
  ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600));
  LineReader reader(rig->channel.received_lines());
  RecordingDispatcher dispatcher(reader);
  WorkerLoop worker(rig->channel, reader, dispatcher);
  rig->channel.set_hold(true);
  worker.start();
  std::string expected;
  for (int i = 0; i < 20; ++i) {
    const std::string line = "TX_LEVEL " + std::to_string(i) + " 3\r";
    rig->channel.send_line(line, true);
    expected += line;
    rig->clock.advance_ms(201);
  }
  std::string sent;
  ASSERT_TRUE(eventually(
      [&] {
        rig->clock.advance_ms(201);
        sent += gateway.read_available();
      },
      [&] { return sent.size() >= expected.size(); }));
  worker.stop();
  EXPECT_EQ(sent, expected);
}

// Counts released lines and the ones that did not parse as the flood's one reply.
class CountingDispatcher final : public DispatchStep {
 public:
  explicit CountingDispatcher(LineReader& reader) : reader_(reader) {}
  void dispatch_step() override {
    ParsedReply& reply = reader_.reply();
    if (!reply.pending) return;
    reply.pending = false;
    if (reply.parse_error || reply.keyword != 58 || reply.port != 5 || reply.value != 3) ++wrong;
    ++dispatched;
  }
  std::atomic<int> dispatched{0};
  std::atomic<int> wrong{0};

 private:
  LineReader& reader_;
};

long peak_rss_kb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(WorkerLoop, AFloodOverTcpKeepsTheRingBoundedWhileTheWorkerParses) {
  LoopbackPeer peer;
  auto rig = std::make_unique<LinkRig>();
  const std::uint8_t loopback[4] = {127, 0, 0, 1};
  ASSERT_TRUE(rig->channel.open_network(loopback, peer.port()));
  ASSERT_TRUE(peer.accept_connection());
  ASSERT_TRUE(eventually([&] { rig->pump.run_once(10); }, [&] { return rig->channel.is_ready(); }));
  LineReader reader(rig->channel.received_lines());
  CountingDispatcher dispatcher(reader);
  WorkerLoop worker(rig->channel, reader, dispatcher);
  worker.start();

  std::string burst;
  for (int i = 0; i < 1000; ++i) burst += "%TX_LEVEL 05 3 E0\r";
  const long rss_before = peak_rss_kb();
  std::thread gateway([&] {
    for (int round = 0; round < 100; ++round) peer.send(burst);  // 100 000 lines
    peer.close_connection();
  });
  std::uint32_t most_unread = 0;
  const bool closed = eventually(
      [&] {
        rig->pump.run_once(10);
        most_unread = std::max(most_unread, rig->channel.received_lines().unread());
      },
      [&] { return !rig->channel.is_open(); }, std::chrono::seconds(120));
  gateway.join();
  ASSERT_TRUE(closed);
  ASSERT_TRUE(eventually([&] { return rig->channel.received_lines().unread() == 0; }));
  worker.stop();

  EXPECT_LE(most_unread, 99u);
  EXPECT_GT(dispatcher.dispatched.load(), 0);
  EXPECT_LE(dispatcher.dispatched.load(), 100000);
  EXPECT_EQ(dispatcher.wrong.load(), 0);
  testing::Test::RecordProperty("lines_dispatched", dispatcher.dispatched.load());
  testing::Test::RecordProperty("peak_rss_growth_kb", static_cast<int>(peak_rss_kb() - rss_before));
}

}  // namespace
}  // namespace mav::test
