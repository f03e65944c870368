// mav-controller: the operator's program.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>

#include "app/ui/CommandLine.h"
#include "app/ui/ControllerProgram.h"
#include "bridge/ui/OverviewWindow.h"
#include "platform/ProgramLocation.h"
#include "platform/qt/OperatorPrompts.h"
#include "platform/qt/ProgramIcon.h"

namespace {

// What the program cannot use ends it before any window opens, as command-line tools do.
constexpr int kUsageExitCode = 2;

int refuse(const std::string& reason) {
  std::fprintf(stderr, "mav-controller: %s\n", reason.c_str());
  return kUsageExitCode;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication::setApplicationName("mav-controller");
  QCoreApplication::setApplicationVersion(MAV_VERSION);
  // The command line and the program directory come before the display is opened, so that
  // --help, --version and the refusals work in a terminal without one.
  std::variant<mav::CommandLine, std::string> line;
  std::variant<mav::ProgramFolders, std::string> folders;
  {
    const QCoreApplication console(argc, argv);
    line = mav::parse_command_line(QCoreApplication::arguments());
    if (const auto* options = std::get_if<mav::CommandLine>(&line)) {
      folders =
          mav::locate_program_folders(options->program_directory, std::filesystem::current_path());
    }
  }
  if (const auto* reason = std::get_if<std::string>(&line)) return refuse(*reason);
  if (const auto* reason = std::get_if<std::string>(&folders)) return refuse(*reason);

  QApplication qt(argc, argv);
  // The desktop matches the windows to the installed entry and its icon.
  QGuiApplication::setDesktopFileName("com.orvanesystems.MavController");
  QApplication::setWindowIcon(mav::program_icon());
  if (const auto& broker = std::get<mav::CommandLine>(line).overview) {
    mav::SystemClock clock;
    mav::OverviewWindow overview(clock);
    std::string error;
    if (!overview.watch(QString::fromStdString(*broker), error)) return refuse(error);
    return QApplication::exec();
  }
  mav::ScreenPrompts prompts;
  mav::ControllerProgram program(std::get<mav::ProgramFolders>(folders), prompts,
                                 std::get<mav::CommandLine>(line).connection);
  if (!program.init()) return 1;
  mav::end_program_on_signals(program, qt);
  return program.run();
}
