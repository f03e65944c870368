// The program as the operator runs it, measured from outside: the time from starting the
// executable to its first painted frame (it reports itself running right after that paint),
// its resident memory once synchronised with the simulated gateway, and the CPU the whole
// process uses while connected to a gateway that says nothing.
#include <benchmark/benchmark.h>

#include "app/PreferencesFile.h"
#include "sim/SimProcess.h"
#include "support/ControllerProcess.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using Clock = std::chrono::steady_clock;

// utime + stime of a process, in clock ticks.
long cpu_ticks(pid_t pid) {
  std::istringstream stat(test::file_text("/proc/" + std::to_string(pid) + "/stat"));
  std::string field;
  long ticks = 0;
  for (int i = 1; i <= 15 && stat >> field; ++i) {
    if (i == 14 || i == 15) ticks += std::stol(field);
  }
  return ticks;
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

// Memory once synchronised, then the CPU of ten quiet seconds.
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
    // Synchronised: the settings sweep went out and the link has been quiet for a second.
    const bool synchronised = test::wait_for([&] {
      const std::string before = test::file_text(transcript);
      if (before.find("MEK_SQUELCH_TYPE") == std::string::npos) return false;
      std::this_thread::sleep_for(std::chrono::seconds(1));
      return test::file_text(transcript) == before;
    });
    if (!synchronised) {
      state.SkipWithError("the program did not synchronise");
      return;
    }
    state.counters["rss_MiB"] = static_cast<double>(resident_kib(program.pid())) / 1024.0;

    constexpr int kQuietSeconds = 10;
    const long ticks_before = cpu_ticks(program.pid());
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(kQuietSeconds));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu_seconds =
        static_cast<double>(cpu_ticks(program.pid()) - ticks_before) / sysconf(_SC_CLK_TCK);
    state.counters["idle_cpu_percent"] = 100.0 * cpu_seconds / seconds;
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(ConnectedToSilentGateway)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace mav
