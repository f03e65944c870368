// A whole file as text, for tests that judge what the program wrote; empty when it can't be read.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace mav::test {

inline std::string file_text(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace mav::test
