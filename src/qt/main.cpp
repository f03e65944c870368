// mav-controller: the operator's program. The working directory is the program directory.
#include <QApplication>
#include <filesystem>

#include "app/ui/ControllerProgram.h"
#include "platform/qt/OperatorPrompts.h"

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  mav::ScreenPrompts prompts;
  mav::ControllerProgram program(std::filesystem::current_path(), prompts);
  if (!program.init()) return 1;
  mav::end_program_on_signals(program, qt);
  return program.run();
}
