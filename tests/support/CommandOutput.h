// What a shell command printed on its standard output, and how it ended.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace mav::test {

struct CommandOutput {
  int status = -1;  // the exit status; -1 when the command did not exit
  std::string out;
};

inline CommandOutput run_command(const std::string& command) {
  CommandOutput result;
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) result.out += buffer;
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace mav::test
