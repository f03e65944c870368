// The program against the simulated gateway over loopback TCP: in this process for what the
// window shows, and as the installed executable for what a signal and a dropped connection do.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTimer>
#include <fstream>
#include <sstream>

#include "gui/ProgramRig.h"
#include "sim/SimProcess.h"

namespace mav::test {
namespace {

using sim::test::SimProcess;

std::string file_text(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The log's lines without their time stamps.
std::vector<std::string> log_messages(const std::filesystem::path& program_directory) {
  std::vector<std::string> messages;
  std::istringstream lines(file_text(program_directory / "Logs" / "MAVPCI1.log"));
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 22) messages.push_back(line.substr(22));
  }
  return messages;
}

bool contains(const std::vector<std::string>& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

bool wait_for(const std::function<bool()>& done) {
  for (int waited = 0; waited < 2000; ++waited) {
    if (done()) return true;
    usleep(10000);
  }
  return false;
}

class EndToEndTest : public ProgramRig {
 protected:
  void SetUp() override {
    transcript_ = dir_.path() / "sim-transcript.txt";
    ASSERT_TRUE(sim_.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--preset", "half",
                            "--transcript", transcript_.string()}));
    Preferences prefs;
    prefs.auto_connect = true;
    prefs.network_mode = true;
    prefs.sites = {{{127, 0, 0, 1}, sim_.tcp_port, "Loopback Gateway"}};
    write_preferences(prefs);
  }

  SimProcess sim_;
  std::filesystem::path transcript_;
};

TEST_F(EndToEndTest, ConnectsSynchronisesAndShowsTheSiteTitle) {
  start();
  EXPECT_EQ(title(), "Loopback Gateway");
  bool synchronised = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    synchronised = program_->model().CountModules() > 0 &&
                   title() == "Loopback Gateway - MAV Controller - Orvane Systems";
    if (synchronised) QCoreApplication::exit(0);
  });
  probe.start(20);
  QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(program_->run(), 0);
  EXPECT_TRUE(synchronised);
  EXPECT_TRUE(wait_for([&] { return file_text(transcript_).find("logout") != std::string::npos; }));
}

#ifdef MAV_CONTROLLER_PATH
class InstalledProgram {
 public:
  explicit InstalledProgram(const std::filesystem::path& directory) {
    pid_ = fork();
    if (pid_ == 0) {
      if (chdir(directory.c_str()) != 0) _exit(126);
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      execl(MAV_CONTROLLER_PATH, MAV_CONTROLLER_PATH, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~InstalledProgram() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  // SIGTERM and the exit status; -1 when it did not end by itself within the deadline.
  int terminate() {
    kill(pid_, SIGTERM);
    for (int waited = 0; waited < 1500; ++waited) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(10000);
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
};

TEST_F(EndToEndTest, ReconnectsAfterTheGatewayHangsUpAndLogsOutOnSigterm) {
  InstalledProgram program(dir_.path());
  ASSERT_TRUE(wait_for(
      [&] { return contains(log_messages(dir_.path()), "Network connection established"); }));
  ASSERT_TRUE(wait_for([&] { return file_text(transcript_).find("PIN ?") != std::string::npos; }));

  sim_.control("close");
  ASSERT_TRUE(wait_for([&] {
    const auto messages = log_messages(dir_.path());
    const auto closed =
        std::find(messages.begin(), messages.end(), "Network connection closed externally");
    return closed != messages.end() &&
           std::find(closed, messages.end(), "Network connection established") != messages.end();
  }));

  EXPECT_EQ(program.terminate(), 0);
  ASSERT_TRUE(wait_for([&] { return file_text(transcript_).find("logout") != std::string::npos; }));
  const auto messages = log_messages(dir_.path());
  ASSERT_GE(messages.size(), 2u);
  // The program's own last word, then the channel's closing entry.
  EXPECT_EQ(messages[messages.size() - 2], "*** MAV Controller shut down");
  EXPECT_EQ(messages.back(), "Network connection closed");
}
#endif

}  // namespace
}  // namespace mav::test
