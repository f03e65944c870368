#include "link/WorkerLoop.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "LoopbackLink.h"
#include "model/PendingTable.h"
#include "protocol/RecordingHooks.h"
#include "protocol/ReplyDispatcher.h"
#include "security/PinTable.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

// A dispatcher without timers of its own that notes keyword/port/value of every parsed line
// ("error" for a line that did not parse) and releases it.
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
                        : std::to_string(reply.keyword) + "/" + std::to_string(reply.port) + "/" +
                              std::to_string(reply.value));
  }
  void add_deadlines(NextWake&) const override {}
  std::vector<std::string> seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  LineReader& reader_;
  mutable std::mutex mutex_;
  std::vector<std::string> seen_;
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
    if (name_end == std::string::npos || line.size() < name_end + 3 || line[name_end + 2] != 'S') {
      return false;
    }
  }
  return true;
}

// The link as the program runs it: a worker thread parsing and dispatching what the channel
// receives while the test plays the UI thread.
struct WorkerRig {
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
  LineReader reader{rig->channel.received_lines()};
  RecordingDispatcher dispatcher{reader};
  WorkerLoop worker{rig->clock, rig->channel, reader, dispatcher};
};

// The worker with the real dispatcher and its housekeeping, on the fake clock.
struct DispatchingWorker {
  std::unique_ptr<LinkRig> rig = std::make_unique<LinkRig>();
  SessionState state;
  PendingTable pending;
  PinTable pins;
  RecordingHooks hooks{&rig->channel, &state.last_autosave_ms, &rig->clock};
  LineReader reader{rig->channel.received_lines()};
  ReplyDispatcher dispatcher{DispatcherParts{reader.reply(), rig->model, pending, pins, rig->log,
                                             rig->channel, rig->frontend, rig->clock, state,
                                             SessionHooks{hooks, hooks, hooks, hooks}}};
  WorkerLoop worker{rig->clock, rig->channel, reader, dispatcher};
};

TEST(WorkerLoop, ParsesAndDispatchesSerialLinesInArrivalOrderOnItsOwnThread) {
  PseudoTerminal gateway;
  WorkerRig link;
  ASSERT_TRUE(link.rig->channel.open_serial(gateway.name(), 9600));
  link.worker.start();
  EXPECT_TRUE(link.worker.running());
  ASSERT_TRUE(gateway.write("%DISC 07 E0\rnoise\r%TX_LEVEL 05 3 E0\r%DISC ALL E0\r"));
  ASSERT_TRUE(eventually([&] { return link.dispatcher.seen().size() >= 4; }));
  link.worker.stop();
  EXPECT_FALSE(link.worker.running());
  EXPECT_EQ(link.dispatcher.seen(),
            (std::vector<std::string>{"26/7/0", "error", "58/5/3", "26/60/0"}));
}

TEST(WorkerLoop, DrainsTheQueueWhileTheUiThreadKeepsSending) {
  PseudoTerminal gateway;
  WorkerRig link;
  LinkRig& rig = *link.rig;
  ASSERT_TRUE(rig.channel.open_serial(gateway.name(), 9600));
  rig.channel.set_hold(true);
  link.worker.start();
  std::string expected;
  for (int i = 0; i < 20; ++i) {
    const std::string line = "TX_LEVEL " + std::to_string(i) + " 3\r";
    rig.channel.send_line(line, true);
    expected += line;
    rig.clock.advance_ms(201);
  }
  std::string sent;
  ASSERT_TRUE(eventually(
      [&] {
        // The fake clock's step stands in for the worker's time-out running out.
        rig.clock.advance_ms(201);
        rig.channel.wake_worker();
        sent += gateway.read_available();
      },
      [&] { return sent.size() >= expected.size(); }));
  link.worker.stop();
  EXPECT_EQ(sent, expected);
}

TEST(WorkerLoop, LinesQueuedByTheUiThreadWakeTheWorkerAndPacedOnesLeaveOnTheirDeadline) {
  LoopbackPeer peer;
  WorkerRig link;
  LinkRig& rig = *link.rig;
  ASSERT_TRUE(connect_to(rig, peer));
  rig.channel.set_hold(true);
  link.worker.start();
  // The clock stands still unless the test moves it, and a reply times out only after 15 s on
  // a network channel: nothing the worker waits for comes due by itself.
  for (const std::string line : {"VER\r", "SYSTEM\r"}) {
    rig.clock.advance_ms(201);  // the pacing interval is over before the line is queued
    rig.channel.send_line(line, true);
    EXPECT_EQ(peer.read(line.size()), line);  // the queuing woke the worker
  }
  // Two lines at once: the first leaves, the second waits for its pacing deadline, which the
  // worker sleeps towards; the clock moves without waking it.
  rig.clock.advance_ms(201);
  rig.channel.send_line("MOD_TYPE ALL\r", true);
  rig.channel.send_line("MEK_SQUELCH_TYPE ?\r", true);
  EXPECT_EQ(peer.read(13), "MOD_TYPE ALL\r");
  rig.clock.advance_ms(201);
  EXPECT_EQ(peer.read(19), "MEK_SQUELCH_TYPE ?\r");
  link.worker.stop();
}

TEST(WorkerLoop, QuietTimersFireOnTheirDeadlinesWithoutAnyLineOrWakeUp) {
  // Each row arms a timer one millisecond before it acts; once the worker sleeps, only the clock
  // moves on.
  const struct {
    const char* name;
    void (*arm)(SessionState& state, std::uint32_t now);
    bool (*fired)(const DispatchingWorker& link);
  } rows[] = {
      {"the busy indication ends",
       [](SessionState& s, std::uint32_t now) {
         s.input_ready = false;
         s.last_line_ms = now - 400;
       },
       [](const DispatchingWorker& link) { return link.state.input_ready.load(); }},
      {"the selection expires",
       [](SessionState& s, std::uint32_t now) {
         s.selection = Selection::Port;
         s.selection_time = now - 15000;
       },
       [](const DispatchingWorker& link) { return !link.state.selection_pending(); }},
      {"the automatic save",
       [](SessionState& s, std::uint32_t now) { s.last_autosave_ms = now - 60000; },
       [](const DispatchingWorker& link) { return link.hooks.auto_saves.load() == 1; }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    DispatchingWorker link;
    link.state.last_autosave_ms = link.rig->clock.now_ms();
    row.arm(link.state, link.rig->clock.now_ms());
    link.worker.start();
    ASSERT_TRUE(eventually(other_threads_blocked));
    EXPECT_FALSE(row.fired(link));
    link.rig->clock.advance_ms(1);
    EXPECT_TRUE(eventually([&] { return row.fired(link); }));
    link.worker.stop();
  }
}

TEST(WorkerLoop, AFloodOverTcpKeepsTheRingBoundedWhileTheWorkerParses) {
  LoopbackPeer peer;
  WorkerRig link;
  LinkRig& rig = *link.rig;
  ASSERT_TRUE(connect_to(rig, peer));
  link.worker.start();
  const std::optional<std::uint32_t> most_unread = flood_until_closed(rig, peer);
  ASSERT_TRUE(most_unread);
  ASSERT_TRUE(eventually([&] { return rig.channel.received_lines().unread() == 0; }));
  link.worker.stop();

  EXPECT_LE(*most_unread, 99u);
  const std::vector<std::string> seen = link.dispatcher.seen();
  EXPECT_GT(seen.size(), 0u);
  EXPECT_LE(seen.size(), 100000u);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), "58/5/3"), static_cast<long>(seen.size()));
  testing::Test::RecordProperty("lines_dispatched", static_cast<int>(seen.size()));
}

}  // namespace
}  // namespace mav::test
