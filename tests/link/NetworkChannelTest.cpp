// The channel on a TCP connection to a peer on 127.0.0.1, its notifications carried by the poll
// pump exactly as the UI thread would deliver them, and the worker thread that serves it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "link/WorkerLoop.h"
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

// A dispatcher that releases every parsed line, counting those that are not "%TX_LEVEL 05 3 E0"
// read whole, and whose one timer acts once more than 1000 ms have passed since `since` (0: none).
struct CountingDispatcher final : DispatchStep {
  CountingDispatcher(LineReader& r, const Clock& c) : reader(r), clock(c) {}
  void dispatch_step() override {
    const std::uint32_t armed = since.load();
    if (armed != 0 && has_passed(clock.now_ms(), armed, 1000)) fired = true;
    ParsedReply& r = reader.reply();
    if (!r.pending) return;
    r.pending = false;
    ++released;
    if (r.parse_error || r.keyword != 58 || r.port != 5 || r.value != 3 || r.status != 0) ++broken;
  }
  void add_deadlines(NextWake& next) const override {
    if (since.load() != 0) next.after(since.load(), 1000);
  }
  LineReader& reader;
  const Clock& clock;
  std::atomic<std::uint32_t> since{0};
  std::atomic<bool> fired{false};
  std::atomic<int> released{0};
  std::atomic<int> broken{0};
};

// Whether every other thread of this process is blocked: the worker has gone into its wait.
bool other_threads_blocked() {
  const std::string self = std::to_string(::gettid());
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    if (task.path().filename() == self) continue;
    std::ifstream stat(task.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t name_end = line.rfind(')');  // the state follows the thread's name
    if (name_end == std::string::npos || line.size() < name_end + 3 || line[name_end + 2] != 'S')
      return false;
  }
  return true;
}

// The link as the program runs it: a worker thread parsing and dispatching what the channel
// receives while the test plays the UI thread.
struct WorkerRig {
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
  LineReader reader{rig->channel.received_lines()};
  CountingDispatcher dispatcher{reader, rig->clock};
  WorkerLoop worker{rig->clock, rig->channel, reader, dispatcher};
};

TEST(WorkerLoop, LinesQueuedByTheUiThreadWakeTheWorkerAndPacedOnesLeaveOnTheirDeadline) {
  LoopbackPeer peer;
  WorkerRig link;
  LinkRig& rig = *link.rig;
  ASSERT_TRUE(rig.connect_to(peer));
  rig.channel.set_hold(true);
  link.worker.start();
  EXPECT_TRUE(link.worker.running());
  // The clock stands still unless the test moves it, and a reply times out only after 15 s on
  // a network channel: nothing the worker waits for comes due by itself.
  for (const std::string line : {"VER\r", "SYSTEM\r"}) {
    rig.clock.advance_ms(201);  // the pacing interval is over before the line is queued
    rig.channel.send_line(line, true);
    EXPECT_EQ(peer.read(line.size()), line);  // the queuing woke the worker
  }
  // The first of two leaves at once; the worker sleeps towards the second's pacing deadline,
  // and the clock moves without waking it.
  rig.clock.advance_ms(201);
  rig.channel.send_line("MOD_TYPE ALL\r", true);
  rig.channel.send_line("MEK_SQUELCH_TYPE ?\r", true);
  EXPECT_EQ(peer.read(13), "MOD_TYPE ALL\r");
  rig.clock.advance_ms(201);
  EXPECT_EQ(peer.read(19), "MEK_SQUELCH_TYPE ?\r");
  // Lines that arrive together, with one wake-up, are all parsed without another.
  ASSERT_TRUE(peer.send("%TX_LEVEL 05 3 E0\r%TX_LEVEL 05 3 E0\r%TX_LEVEL 05 3 E0\r"));
  EXPECT_TRUE(rig.pump_until([&] { return link.dispatcher.released.load() == 3; }));
  EXPECT_EQ(link.dispatcher.broken, 0);
  link.worker.stop();
  EXPECT_FALSE(link.worker.running());
}

TEST(WorkerLoop, ADispatcherTimerEndsTheWaitOnItsDeadlineWithoutAnyLineOrWakeUp) {
  WorkerRig link;
  link.dispatcher.since = link.rig->clock.now_ms() - 1000;  // acts 1 ms from now
  link.worker.start();
  ASSERT_TRUE(eventually(other_threads_blocked));  // asleep: from now on only the clock moves
  EXPECT_FALSE(link.dispatcher.fired);
  link.rig->clock.advance_ms(1);
  EXPECT_TRUE(eventually([&] { return link.dispatcher.fired.load(); }));
}

}  // namespace
}  // namespace mav::test
