// The parts around the window: the command line (read in this process and refused by the real
// program), the program directory chosen, and worker calls queued to the UI thread.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <fstream>
#include <thread>

#include "app/ui/CommandLine.h"
#include "gui/ProgramRig.h"
#include "platform/ProgramLocation.h"
#include "platform/qt/QueuedFrontend.h"
#include "support/ControllerProcess.h"
#include "support/RecordingFrontend.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

// What was read, as "program directory|kind|address:port|device,baud" (kind: 0 stored, 1 none,
// 2 network, 3 serial, 4 service).
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
      {{"--service", "/run/mav.sock"}, "|4|0.0.0.0.:0|/run/mav.sock,0"},
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
       "--connect, --serial, --service and --no-auto-connect exclude each other"},
      {{"--no-auto-connect", "--connect", "127.0.0.1"},
       "--connect, --serial, --service and --no-auto-connect exclude each other"},
      {{"--token", "s3cret"}, "--token needs --service"},
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

TEST(ProgramLocationTest, GivenThenCurrentThenTheUsersDataFolder) {
  const QString saved_name = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("mav-controller");
  ScratchDirectory dir;
  const std::filesystem::path current = dir / "current";
  std::filesystem::create_directories(current);
  const ScopedEnvironment home("HOME", (dir / "home").string());
  std::optional<ScopedEnvironment> data_home(std::in_place, "XDG_DATA_HOME",
                                             (dir / "data").string());
  const std::filesystem::path installed = installed_share_folder();
  const struct {
    std::optional<std::filesystem::path> given;
    const char* file_in_current;  // "" for none
    std::filesystem::path program;
    std::filesystem::path shared;
  } cases[] = {
      {dir / "given", "MAV_Controller.cfg", dir / "given", installed},
      {std::nullopt, "MAV_Controller.cfg", current, installed},
      {std::nullopt, "MAV C_Help.html", current, current},
      {std::nullopt, "", dir / "data" / "mav-controller", installed},
      {std::nullopt, "", dir / "home" / ".local" / "share" / "mav-controller", installed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program.string());
    std::filesystem::remove_all(current);
    std::filesystem::create_directories(current);
    if (*c.file_in_current) std::ofstream{current / c.file_in_current};
    if (c.program.string().find(".local") != std::string::npos) {
      data_home.emplace("XDG_DATA_HOME", std::nullopt);
    }
    const auto found = locate_program_folders(c.given, current);
    ASSERT_TRUE(std::holds_alternative<ProgramFolders>(found)) << std::get<std::string>(found);
    EXPECT_EQ(std::get<ProgramFolders>(found).program, c.program);
    EXPECT_EQ(std::get<ProgramFolders>(found).shared, c.shared);
    EXPECT_EQ(std::filesystem::is_empty(current), !*c.file_in_current);  // nothing made there
    for (const char* subfolder : {"Configurations", "Templates", "Icons", "Logs"}) {
      EXPECT_TRUE(std::filesystem::is_directory(c.program / subfolder)) << subfolder;
    }
  }
  const auto refused = locate_program_folders("/proc/no-such-folder", current);
  ASSERT_TRUE(std::holds_alternative<std::string>(refused));
  EXPECT_EQ(std::get<std::string>(refused).rfind(
                "cannot use /proc/no-such-folder as the program directory: ", 0),
            0u);
  QCoreApplication::setApplicationName(saved_name);
}

TEST(QueuedFrontend, WorkerCallsRunOnTheUiThreadInOrder) {
  QObject ui_object;
  RecordingFrontend screen;
  WakeSignal worker_wake;
  QueuedFrontend frontend(ui_object);

  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) frontend.show_status_text("line " + std::to_string(i));
    frontend.set_menu_check(40051, false);
    frontend.show_message_box({"The MAV Controller has lost contact\rwith the MAV-7700",
                               "MAV Controller", MessageIcon::Exclamation, true});
  });
  worker.join();
  // Nothing reaches the screen before it exists.
  QCoreApplication::processEvents();
  EXPECT_TRUE(screen.status_texts().empty());

  frontend.set_target(screen, worker_wake);
  ASSERT_TRUE(process_events_until([&] { return screen.boxes().size() == 1; }));
  const auto texts = screen.status_texts();
  ASSERT_EQ(texts.size(), 100u);
  EXPECT_EQ(texts.front(), "line 0");
  EXPECT_EQ(texts.back(), "line 99");
  EXPECT_EQ(screen.menu_checks(), (std::vector<std::pair<int, bool>>{{40051, false}}));

  frontend.request_repaint();
  EXPECT_EQ(screen.repaints(), 0);  // posted, not run on the caller's stack
  ASSERT_TRUE(process_events_until([&] { return screen.repaints() == 1; }));

  // A slide started on the UI thread wakes the worker to move it.
  EXPECT_FALSE(worker_wake.wait(-1, 0));
  frontend.start_move(3, 1, 2);
  ASSERT_TRUE(process_events_until([&] { return !screen.moves().empty(); }));
  EXPECT_TRUE(worker_wake.wait(-1, 0));
}

}  // namespace
}  // namespace mav::test
