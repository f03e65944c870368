// A private instance of the bundled gateway simulator, driven through its control commands: it
// serves loopback to nobody, so what it is told changes no real gateway. Blocking, with a deadline
// on every answer; one thread at a time.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mav {

class SimulatorProcess {
 public:
  // Starts `program` with the line-up (one module type digit per port) and waits for it to
  // announce itself ready; running() tells whether it did.
  SimulatorProcess(const std::filesystem::path& program, std::string_view lineup);
  ~SimulatorProcess();
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  bool running() const { return channel_ >= 0; }
  // The answer line to one control command, or nothing when the simulator does not answer in
  // time (it is then stopped).
  std::optional<std::string> command(std::string_view line);

 private:
  std::optional<std::string> read_line();
  void stop();

  int channel_ = -1;
  pid_t pid_ = -1;
  std::string buffer_;
};

// The simulator beside this program (an installed package), else in the sim folder of the build
// tree the program was built in; nothing when neither holds it.
std::optional<std::filesystem::path> FindSimulator();

}  // namespace mav
