// The program's command line: where its files are and how this run connects. "--help" and
// "--version" print and end the process as every Qt program does; anything the program cannot
// use is refused with a one-line reason before any window opens. UI thread.
#pragma once

#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "app/RunConnection.h"

namespace mav {

struct CommandLine {
  std::optional<std::filesystem::path> program_directory;
  RunConnection connection;
  // Only the overview of every gateway on this broker (HOST[:PORT]), no gateway of its own.
  std::optional<std::string> overview;
};

// `arguments` as QCoreApplication::arguments() gives them, the program's name first.
std::variant<CommandLine, std::string> parse_command_line(const QStringList& arguments);

}  // namespace mav
