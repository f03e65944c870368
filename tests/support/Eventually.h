// Waits for a condition that real I/O makes true, stepping the code under test in between,
// with a generous deadline so a slow machine never fails a correct program.
#pragma once

#include <chrono>
#include <thread>

namespace mav::test {

inline constexpr std::chrono::seconds kIoDeadline{10};

// Calls step() and then checks done() until done() holds or the deadline passes.
template <typename Step, typename Done>
bool eventually(Step step, Done done, std::chrono::milliseconds deadline = kIoDeadline) {
  const auto give_up = std::chrono::steady_clock::now() + deadline;
  while (true) {
    step();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::yield();
  }
}

template <typename Done>
bool eventually(Done done, std::chrono::milliseconds deadline = kIoDeadline) {
  return eventually([] {}, done, deadline);
}

}  // namespace mav::test
