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

// What was read, as "program directory|kind|address:port|device,baud" (kind: 0 stored, 1 none,
// 2 network, 3 serial).
std::string read(const QStringList& arguments) {
  const auto parsed = parse_command_line(QStringList{"mav-controller"} + arguments);
  if (!std::holds_alternative<CommandLine>(parsed)) return std::get<std::string>(parsed);
  const CommandLine& line = std::get<CommandLine>(parsed);
  const RunConnection& c = line.connection;
  std::string address;
  for (const int part : c.address) address += std::to_string(part) + ".";
  return line.program_directory.value_or("").string() + "|" +
         std::to_string(static_cast<int>(c.kind)) + "|" + address + ":" + std::to_string(c.port) +
         "|" + c.device + "," + std::to_string(c.baud);
}

TEST(CommandLineTest, ReadsEveryOption) {
  const std::pair<QStringList, const char*> rows[] = {
      {{}, "|0|0.0.0.0.:0|,0"},
      {{"--program-dir", "/srv/mav"}, "/srv/mav|0|0.0.0.0.:0|,0"},
      {{"--connect", "10.1.2.3"}, "|2|10.1.2.3.:23|,0"},
      {{"--connect=localhost:4000"}, "|2|127.0.0.1.:4000|,0"},
      {{"--connect", "10.1.2.3:1"}, "|2|10.1.2.3.:1|,0"},
      {{"--connect", "10.1.2.3:65535"}, "|2|10.1.2.3.:65535|,0"},
      {{"--serial", "/dev/ttyUSB0"}, "|3|0.0.0.0.:0|/dev/ttyUSB0,9600"},
      {{"--serial", "/dev/ttyACM1,115200"}, "|3|0.0.0.0.:0|/dev/ttyACM1,115200"},
      {{"--serial", "/dev/a,b,9600"}, "|3|0.0.0.0.:0|/dev/a,b,9600"},
      {{"--no-auto-connect", "--program-dir", "d"}, "d|1|0.0.0.0.:0|,0"},
  };
  for (const auto& [arguments, expected] : rows) EXPECT_EQ(read(arguments), expected);
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
  for (const auto& row : rows) EXPECT_EQ(read(row.arguments), row.reason);
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
    EXPECT_FALSE(std::filesystem::exists(dir / ".local") || std::filesystem::exists(dir / "Logs"));
  }
  ScratchDirectory dir;
  const Finished version = run_program(dir, {"--version"});
  EXPECT_EQ(std::to_string(version.status) + version.out, "0mav-controller 0.1\n");
  const Finished help = run_program(dir, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--serial <device[,baud]>"), std::string::npos) << help.out;
}

}  // namespace
}  // namespace mav::test
