#include "link/WorkerLoop.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "support/LinkRig.h"

namespace mav::test {
namespace {

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
