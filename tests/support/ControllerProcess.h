// The installed program run as its own process in a given program directory, headless, and
// the helpers for watching it from outside: whole files as text and a polled deadline.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/FileText.h"

namespace mav::test {

// Polls `done` until it holds; false once the deadline has passed.
inline bool wait_for(const std::function<bool()>& done, int deadline_ms = 30000) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadline_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

class ControllerProcess {
 public:
  // With `output`, standard output and error go to "stdout.txt" and "stderr.txt" in that folder.
  ControllerProcess(const char* executable, const std::filesystem::path& directory,
                    const std::vector<std::string>& arguments = {},
                    const std::optional<std::filesystem::path>& output = std::nullopt) {
    std::vector<char*> argv{const_cast<char*>(executable)};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      if (chdir(directory.c_str()) != 0) _exit(126);
      if (output && (!freopen((*output / "stdout.txt").c_str(), "w", stdout) ||
                     !freopen((*output / "stderr.txt").c_str(), "w", stderr))) {
        _exit(126);
      }
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      execv(executable, argv.data());
      _exit(127);
    }
  }
  // Still running: asked to stop, and killed when it does not within the deadline.
  ~ControllerProcess() {
    if (pid_ > 0 && terminate() == -1 && pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  ControllerProcess(const ControllerProcess&) = delete;
  ControllerProcess& operator=(const ControllerProcess&) = delete;

  pid_t pid() const { return pid_; }

  // SIGTERM and the exit status; -1 when it did not exit by itself within 15 s.
  int terminate() {
    kill(pid_, SIGTERM);
    return wait();
  }
  // The exit status once the program ends by itself; -1 when it has not within 15 s.
  int wait() {
    int status = 0;
    if (!wait_for([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, 15000)) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace mav::test
