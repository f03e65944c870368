// The command line: every option and its boundaries read in this process, each refusal with its
// reason, and the real program refusing (status 2, one line on standard error, nothing made) or
// printing help and version.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ui/CommandLine.h"
#include "support/ControllerProcess.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

TEST(CommandLineTest, ReadsEveryOption) {
  using Kind = RunConnection::Kind;
  const struct {
    QStringList arguments;
    const char* program_directory;  // "" when none is given
    Kind kind;
    std::array<std::uint8_t, 4> address;
    std::int32_t port;
    const char* device;
    std::uint32_t baud;
  } rows[] = {
      {{}, "", Kind::Stored, {}, 0, "", 0},
      {{"--program-dir", "/srv/mav"}, "/srv/mav", Kind::Stored, {}, 0, "", 0},
      {{"--connect", "10.1.2.3"}, "", Kind::Network, {10, 1, 2, 3}, 23, "", 0},
      {{"--connect=localhost:4000"}, "", Kind::Network, {127, 0, 0, 1}, 4000, "", 0},
      {{"--connect", "10.1.2.3:1"}, "", Kind::Network, {10, 1, 2, 3}, 1, "", 0},
      {{"--connect", "10.1.2.3:65535"}, "", Kind::Network, {10, 1, 2, 3}, 65535, "", 0},
      {{"--serial", "/dev/ttyUSB0"}, "", Kind::Serial, {}, 0, "/dev/ttyUSB0", 9600},
      {{"--serial", "/dev/ttyACM1,115200"}, "", Kind::Serial, {}, 0, "/dev/ttyACM1", 115200},
      {{"--serial", "/dev/a,b,9600"}, "", Kind::Serial, {}, 0, "/dev/a,b", 9600},
      {{"--no-auto-connect", "--program-dir", "d"}, "d", Kind::None, {}, 0, "", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.join(' ').toStdString());
    const auto parsed = parse_command_line(QStringList{"mav-controller"} + row.arguments);
    ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed)) << std::get<std::string>(parsed);
    const CommandLine& line = std::get<CommandLine>(parsed);
    EXPECT_EQ(line.program_directory.value_or("").string(), row.program_directory);
    EXPECT_EQ(line.connection.kind, row.kind);
    EXPECT_EQ(line.connection.address, row.address);
    EXPECT_EQ(line.connection.port, row.port);
    EXPECT_EQ(line.connection.device, row.device);
    EXPECT_EQ(line.connection.baud, row.baud);
  }
}

TEST(CommandLineTest, RefusesWhatItCannotUseWithTheReason) {
  const struct {
    QStringList arguments;
    const char* reason;
  } rows[] = {
      {{"--bogus"}, "Unknown option 'bogus'."},
      {{"--program-dir"}, "Missing value after '--program-dir'."},
      {{"--program-dir="}, "empty folder name in --program-dir"},
      {{"stray"}, "unexpected argument stray"},
      {{"--connect", "127.0.0.1:65536"},
       "bad port number in --connect 127.0.0.1:65536 (1 to 65535)"},
      {{"--connect", "127.0.0.1:0"}, "bad port number in --connect 127.0.0.1:0 (1 to 65535)"},
      {{"--connect", "127.0.0.1:x"}, "bad port number in --connect 127.0.0.1:x (1 to 65535)"},
      {{"--connect", ":23"}, "unknown host in --connect :23"},
      {{"--serial", "/dev/ttyS0,1234"},
       "bad baud rate in --serial /dev/ttyS0,1234 (9600 or 115200)"},
      {{"--serial", ",9600"}, "no device in --serial ,9600"},
      {{"--connect", "127.0.0.1", "--serial", "/dev/ttyS0"},
       "--connect, --serial and --no-auto-connect exclude each other"},
      {{"--no-auto-connect", "--connect", "127.0.0.1"},
       "--connect, --serial and --no-auto-connect exclude each other"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.join(' ').toStdString());
    const auto parsed = parse_command_line(QStringList{"mav-controller"} + row.arguments);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
    EXPECT_EQ(std::get<std::string>(parsed), row.reason);
  }
}

struct Finished {
  int status;
  std::string out;
  std::string err;
};

// The real program in an empty folder with an empty home: whatever it makes shows there.
Finished run_program(const ScratchDirectory& dir, const std::vector<std::string>& arguments) {
  const ScopedEnvironment home("HOME", dir.path().string());
  const ScopedEnvironment data("XDG_DATA_HOME", std::nullopt);
  ControllerProcess program(MAV_CONTROLLER_PATH, dir.path(), arguments, dir.path());
  const int status = program.wait();
  return {status, file_text(dir / "stdout.txt"), file_text(dir / "stderr.txt")};
}

TEST(CommandLineTest, TheProgramRefusesBeforeAnyWindowOrPrintsHelpAndVersion) {
  const std::vector<std::string> refused[] = {
      {"--connect", "127.0.0.1:70000"},
      {"--program-dir", "/proc/no-such-folder"},
  };
  for (const auto& arguments : refused) {
    SCOPED_TRACE(arguments[1]);
    ScratchDirectory dir;
    const Finished finished = run_program(dir, arguments);
    EXPECT_EQ(finished.status, 2);
    EXPECT_EQ(finished.err.rfind("mav-controller: ", 0), 0u) << finished.err;
    EXPECT_EQ(std::count(finished.err.begin(), finished.err.end(), '\n'), 1) << finished.err;
    EXPECT_EQ(finished.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir / ".local"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Logs"));
  }
  ScratchDirectory dir;
  const Finished version = run_program(dir, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "mav-controller 0.1\n");
  const Finished help = run_program(dir, {"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--program-dir <dir>", "--connect <host[:port]>",
                             "--serial <device[,baud]>", "--no-auto-connect", "--version"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace mav::test
