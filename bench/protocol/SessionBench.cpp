// The controller against the gateway simulator over loopback TCP, on real time and threads:
// how long opening the channel takes to reach a fully synchronised model, as a ratio to the
// pacing bound of the queued lines (one per 200 ms), and how much CPU the worker uses while the
// gateway stays silent.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "protocol/ControllerRig.h"
#include "sim/SimProcess.h"

namespace mav {
namespace {

constexpr std::uint8_t kLoopback[4] = {127, 0, 0, 1};
// The start-up synchronisation and the settings sweep after the SYSTEM reply, all of them queued
// while the connection is made.
constexpr int kQueuedLines = 14 + 41;
constexpr double kPacingMs = 200.0;

// Nanoseconds all threads of this process have spent on a CPU (the scheduler's own account,
// finer than the clock-tick counters of /proc/self/stat).
double process_cpu_ns() {
  double total = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream schedstat(task.path() / "schedstat");
    double on_cpu = 0;
    if (schedstat >> on_cpu) total += on_cpu;
  }
  return total;
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
    return rig->pump_until([&] {
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
    const auto begin = std::chrono::steady_clock::now();
    if (!session.synchronise()) {
      state.SkipWithError("no synchronised model");
      return;
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
    state.SetIterationTime(took.count() / 1000.0);
    state.counters["ms"] = took.count();
    state.counters["ratio_to_pacing_bound"] = took.count() / (kQueuedLines * kPacingMs);
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
    // Let the busy indication settle and the idle throttle engage before measuring.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double before = process_cpu_ns();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double used = process_cpu_ns() - before;
    state.counters["cpu_percent_of_core"] = 100.0 * used / 10e9;
  }
}
BENCHMARK(IdleWorkerCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mav
