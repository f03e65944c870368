// CPU time of a process, all of its threads together, from the scheduler's own account in
// nanoseconds (finer than the clock-tick counters of /proc/<pid>/stat). Threads that already
// ended are not counted.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace mav::test {

inline double process_cpu_ns(const std::string& proc_dir) {
  double total = 0;
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator(proc_dir + "/task", error)) {
    std::ifstream schedstat(task.path() / "schedstat");
    double on_cpu = 0;
    if (schedstat >> on_cpu) total += on_cpu;
  }
  return total;
}

inline double process_cpu_ns() {
  return process_cpu_ns("/proc/self");
}

inline double process_cpu_ns(pid_t pid) {
  return process_cpu_ns("/proc/" + std::to_string(pid));
}

}  // namespace mav::test
