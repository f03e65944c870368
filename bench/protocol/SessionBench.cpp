// The controller's core against a gateway over loopback TCP, on real time and threads: opening
// the channel to the simulator until the model is fully synchronised (how long, as a ratio to the
// pacing bound of the queued lines, and how much CPU meanwhile), the CPU the worker uses while the
// gateway stays silent, how long 54 queued lines take to leave, and how soon a received line
// reaches its handler.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "sim/SimProcess.h"
#include "support/ControllerRig.h"
#include "support/LoopbackPeer.h"
#include "ProcessCpu.h"

namespace mav {
namespace {

using Steady = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr std::uint8_t kLoopback[4] = {127, 0, 0, 1};
// The start-up synchronisation and the settings sweep after the SYSTEM reply, all of them queued
// while the connection is made.
constexpr int kQueuedLines = 14 + 41;
constexpr double kPacingMs = 200.0;
// The harness stands in for the UI thread; it waits this long for socket events, so its own
// wake-ups do not weigh on the CPU figures.
constexpr int kPumpWaitMs = 100;

// Pumps the socket notifications until done() holds or a minute passes.
template <typename Done>
bool pump_until(test::ControllerRig& rig, Done done, int wait_ms = kPumpWaitMs) {
  return test::eventually([&] { rig.pump.run_once(wait_ms); }, done, std::chrono::minutes(1));
}

struct Session {
  bool start() {
    if (!sim.start({"--tcp", "127.0.0.1:0", "--transcript", (rig->scratch / "t.txt").string()})) {
      return false;
    }
    sim.close_stdin();
    rig->state.network_mode = true;
    rig->worker.start();
    return true;
  }
  bool synchronise() {
    if (!rig->channel.open_network(kLoopback, static_cast<std::uint16_t>(sim.tcp_port))) {
      return false;
    }
    rig->commands.synchronise();
    return pump_until(*rig, [&] {
      return rig->state.mek_squelch_type.load() != -1 && rig->channel.queued_lines() == 0;
    });
  }

  sim::test::SimProcess sim;
  std::unique_ptr<test::ControllerRig> rig = std::make_unique<test::ControllerRig>();
};

void TimeToSynchronisedModel(benchmark::State& state) {
  for (auto _ : state) {
    Session session;
    if (!session.start()) {
      state.SkipWithError("simulator did not start");
      return;
    }
    const double cpu_before = test::process_cpu_ns();
    const auto begin = Steady::now();
    if (!session.synchronise()) {
      state.SkipWithError("no synchronised model");
      return;
    }
    const Ms took = Steady::now() - begin;
    const double cpu_ms = (test::process_cpu_ns() - cpu_before) / 1e6;
    state.SetIterationTime(took.count() / 1000.0);
    state.counters["ms"] = took.count();
    state.counters["ratio_to_pacing_bound"] = took.count() / (kQueuedLines * kPacingMs);
    state.counters["cpu_percent_of_core"] = 100.0 * cpu_ms / took.count();
  }
}
BENCHMARK(TimeToSynchronisedModel)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void IdleWorkerCpu(benchmark::State& state) {
  for (auto _ : state) {
    Session session;
    if (!session.start() || !session.synchronise()) {
      state.SkipWithError("no synchronised session");
      return;
    }
    // Let the busy indication settle before measuring.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double before = test::process_cpu_ns();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double used = test::process_cpu_ns() - before;
    state.counters["cpu_percent_of_core"] = 100.0 * used / 10e9;
  }
}
BENCHMARK(IdleWorkerCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// One line sent at once, then 54 held back in the queue: the last of them leaves 54 pacing
// intervals of 201 ms after the first line (each waits until more than 200 ms have passed).
void FiftyFourQueuedLines(benchmark::State& state) {
  constexpr int kLines = 54;
  for (auto _ : state) {
    Session session;
    if (!session.start() || !session.synchronise()) {
      state.SkipWithError("no synchronised session");
      return;
    }
    test::ControllerRig& rig = *session.rig;
    const auto begin = Steady::now();
    rig.channel.send_line("VER\r", true);
    rig.channel.set_hold(true);
    for (int i = 0; i < kLines; ++i) rig.channel.send_line("VER\r", true);
    if (!pump_until(
            rig, [&] { return rig.channel.queued_lines() == 0; }, 1)) {
      state.SkipWithError("the queue did not drain");
      return;
    }
    const Ms took = Steady::now() - begin;
    state.SetIterationTime(took.count() / 1000.0);
    state.counters["ms"] = took.count();
    state.counters["over_54x201_ms"] = took.count() - kLines * 201.0;
  }
}
BENCHMARK(FiftyFourQueuedLines)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Times each step that handled a line, as seen on the worker thread.
class TimedDispatch final : public DispatchStep {
 public:
  TimedDispatch(LineReader& reader, ReplyDispatcher& dispatcher)
      : reader_(reader), dispatcher_(dispatcher) {}
  void dispatch_step() override {
    const bool line = reader_.reply().pending;
    dispatcher_.dispatch_step();
    if (!line) return;
    std::lock_guard lock(mutex_);
    handled_.push_back(Steady::now());
  }
  void add_deadlines(NextWake& next) const override { dispatcher_.add_deadlines(next); }
  std::size_t handled() const {
    std::lock_guard lock(mutex_);
    return handled_.size();
  }
  Steady::time_point handled_at(std::size_t index) const {
    std::lock_guard lock(mutex_);
    return handled_[index];
  }

 private:
  LineReader& reader_;
  ReplyDispatcher& dispatcher_;
  mutable std::mutex mutex_;
  std::vector<Steady::time_point> handled_;
};

// Waits, without competing with the worker for a core, until `count` lines were handled.
bool handled_within_a_second(const TimedDispatch& timed, std::size_t count) {
  const auto give_up = Steady::now() + std::chrono::seconds(1);
  while (timed.handled() < count) {
    if (Steady::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// A line's last byte leaves the gateway's socket; the worker, asleep since the previous line,
// hands it to its handler. The gateway here is a plain TCP peer so the send time is exact.
void LineToHandlerLatency(benchmark::State& state) {
  constexpr int kSamples = 1000;
  for (auto _ : state) {
    test::LoopbackPeer gateway;
    auto rig = std::make_unique<test::ControllerRig>();
    TimedDispatch timed(rig->reader, rig->dispatcher);
    WorkerLoop worker(rig->clock, rig->channel, rig->reader, timed);
    if (!rig->channel.open_network(kLoopback, gateway.port()) || !gateway.accept_connection() ||
        !pump_until(*rig, [&] { return rig->channel.is_ready(); })) {
      state.SkipWithError("no connection");
      return;
    }
    worker.start();
    std::atomic<bool> pumping{true};
    std::thread ui([&] {
      while (pumping) rig->pump.run_once(kPumpWaitMs);
    });
    std::vector<double> latencies_ms;
    for (std::size_t i = 0; i < kSamples; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));  // the worker goes back to sleep
      const auto sent = Steady::now();
      if (!gateway.send("%TX_LEVEL 05 3 E0\r") || !handled_within_a_second(timed, i + 1)) break;
      latencies_ms.push_back(Ms(timed.handled_at(i) - sent).count());
    }
    pumping = false;
    ui.join();
    worker.stop();
    if (latencies_ms.size() < kSamples) {
      state.SkipWithError("a line was not handled");
      return;
    }
    std::sort(latencies_ms.begin(), latencies_ms.end());
    state.counters["median_ms"] = latencies_ms[kSamples / 2];
    state.counters["p99_ms"] = latencies_ms[kSamples * 99 / 100];
    state.counters["max_ms"] = latencies_ms.back();
  }
}
BENCHMARK(LineToHandlerLatency)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mav
