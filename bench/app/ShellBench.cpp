// The program as the operator runs it, measured from outside: the time from starting the
// executable to its first painted frame (it reports itself running right after that paint),
// the CPU the whole process uses while it synchronises with the simulated gateway, its resident
// memory once synchronised, and its CPU while connected to a gateway that says nothing.
#include <benchmark/benchmark.h>

#include "ProcessCpu.h"
#include "preferences/PreferencesFile.h"
#include "sim/SimProcess.h"
#include "support/ControllerProcess.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using Clock = std::chrono::steady_clock;

// The program's CPU at one moment.
struct CpuSample {
  Clock::time_point at;
  double cpu_ns = 0;
};

CpuSample sample_cpu(pid_t pid) {
  return {Clock::now(), test::process_cpu_ns(pid)};
}

double cpu_percent_between(const CpuSample& from, const CpuSample& to) {
  const double wall_ns = std::chrono::duration<double, std::nano>(to.at - from.at).count();
  return 100.0 * (to.cpu_ns - from.cpu_ns) / wall_ns;
}

long resident_kib(pid_t pid) {
  std::istringstream status(test::file_text("/proc/" + std::to_string(pid) + "/status"));
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

void StartupToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    test::ScratchDirectory dir;
    const auto log = dir.path() / "Logs" / "MAVPCI1.log";
    const auto start = Clock::now();
    test::ControllerProcess program(MAV_CONTROLLER_PATH, dir.path());
    if (!test::wait_for(
            [&] { return test::file_text(log).find("began running") != std::string::npos; })) {
      state.SkipWithError("the program did not start");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}
BENCHMARK(StartupToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The CPU from the first command the gateway receives to the last, memory once synchronised,
// then the CPU of ten quiet seconds.
void ConnectedToSilentGateway(benchmark::State& state) {
  for (auto _ : state) {
    test::ScratchDirectory dir;
    const auto transcript = dir.path() / "transcript.txt";
    sim::test::SimProcess sim;
    if (!sim.start(
            {"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript", transcript.string()})) {
      state.SkipWithError("the simulator did not start");
      return;
    }
    Preferences prefs;
    prefs.auto_connect = true;
    prefs.network_mode = true;
    prefs.sites = {{{127, 0, 0, 1}, sim.tcp_port, "Simulator"}};
    save_preferences_file(dir.path() / kPreferencesFileName, prefs);

    test::ControllerProcess program(MAV_CONTROLLER_PATH, dir.path());
    const pid_t pid = program.pid();
    if (!test::wait_for([&] { return !test::file_text(transcript).empty(); })) {
      state.SkipWithError("the program did not connect");
      return;
    }
    const CpuSample first_command = sample_cpu(pid);
    // Synchronised: the settings sweep went out and the link has been quiet for a second. The
    // transcript is looked at every 50 ms; the sample after its last growth ends the window.
    std::string seen = test::file_text(transcript);
    CpuSample last_command = first_command;
    const bool synchronised = test::wait_for(
        [&] {
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
          const std::string now = test::file_text(transcript);
          if (now != seen) {
            seen = now;
            last_command = sample_cpu(pid);
            return false;
          }
          return seen.find("MEK_SQUELCH_TYPE") != std::string::npos &&
                 Clock::now() - last_command.at > std::chrono::seconds(1);
        },
        60000);
    if (!synchronised) {
      state.SkipWithError("the program did not synchronise");
      return;
    }
    state.counters["sync_s"] =
        std::chrono::duration<double>(last_command.at - first_command.at).count();
    state.counters["sync_cpu_percent"] = cpu_percent_between(first_command, last_command);
    state.counters["rss_MiB"] = static_cast<double>(resident_kib(pid)) / 1024.0;

    constexpr int kQuietSeconds = 10;
    const CpuSample quiet_start = sample_cpu(pid);
    std::this_thread::sleep_for(std::chrono::seconds(kQuietSeconds));
    const CpuSample quiet_end = sample_cpu(pid);
    state.counters["idle_cpu_percent"] = cpu_percent_between(quiet_start, quiet_end);
    state.SetIterationTime(std::chrono::duration<double>(quiet_end.at - quiet_start.at).count());
  }
}
BENCHMARK(ConnectedToSilentGateway)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace mav
