#include "salvo/SimulatorProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

extern char** environ;

namespace mav {
namespace {

constexpr const char* kSimulatorName = "mav7700-sim";
// Generous next to the simulator's start and answer times, short enough not to hang the caller.
constexpr std::chrono::milliseconds kAnswerDeadline{5000};
// Build trees keep the simulator in <tree>/sim while the programs sit a level or two below <tree>.
constexpr int kBuildTreeDepth = 3;

}  // namespace

SimulatorProcess::SimulatorProcess(const std::filesystem::path& program, std::string_view lineup) {
  // One socket serves as the child's stdin and stdout; writes to it never raise SIGPIPE.
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // Nothing else of this process, least of all the live gateway's link, reaches the simulator.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  const std::string path = program.string();
  const std::string lineup_text(lineup);
  std::array<const char*, 8> argv = {path.c_str(),        "--tcp",        "127.0.0.1:0", "--lineup",
                                     lineup_text.c_str(), "--transcript", "/dev/null",   nullptr};
  const int spawned = posix_spawn(&pid_, path.c_str(), &actions, nullptr,
                                  const_cast<char* const*>(argv.data()), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  channel_ = ends[0];
  if (spawned != 0) {
    pid_ = -1;
    stop();
    return;
  }
  for (auto line = read_line(); line != std::string("ready"); line = read_line()) {
    if (!line) return;
  }
}

SimulatorProcess::~SimulatorProcess() {
  stop();
}

std::optional<std::string> SimulatorProcess::command(std::string_view line) {
  if (!running()) return std::nullopt;
  const std::string text = std::string(line) + "\n";
  for (std::size_t sent = 0; sent < text.size();) {
    const ssize_t wrote = send(channel_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (wrote <= 0) {
      stop();
      return std::nullopt;
    }
    sent += static_cast<std::size_t>(wrote);
  }
  return read_line();
}

std::optional<std::string> SimulatorProcess::read_line() {
  const auto until = std::chrono::steady_clock::now() + kAnswerDeadline;
  while (buffer_.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    pollfd watch{channel_, POLLIN, 0};
    char chunk[4096];
    const ssize_t got = left.count() > 0 && poll(&watch, 1, static_cast<int>(left.count())) > 0
                            ? read(channel_, chunk, sizeof chunk)
                            : 0;
    if (got <= 0) {
      stop();
      return std::nullopt;
    }
    buffer_.append(chunk, static_cast<std::size_t>(got));
  }
  const std::size_t end = buffer_.find('\n');
  std::string line = buffer_.substr(0, end);
  buffer_.erase(0, end + 1);
  return line;
}

void SimulatorProcess::stop() {
  if (channel_ >= 0) close(channel_);
  channel_ = -1;
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = -1;
}

std::optional<std::filesystem::path> FindSimulator() {
  std::error_code error;
  std::filesystem::path folder =
      std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  if (error) return std::nullopt;
  if (std::filesystem::is_regular_file(folder / kSimulatorName, error)) {
    return folder / kSimulatorName;
  }
  for (int up = 0; up < kBuildTreeDepth && folder.has_relative_path(); ++up) {
    folder = folder.parent_path();
    const std::filesystem::path built = folder / "sim" / kSimulatorName;
    if (std::filesystem::is_regular_file(built, error)) return built;
  }
  return std::nullopt;
}

}  // namespace mav
