// The transcript: every line in and out, and what happened to the links, each with the local
// time to the millisecond. Written to stderr or to a file, flushed line by line. Single-threaded.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace mav::sim {

class Transcript {
 public:
  // Writes to the file (created or truncated); stderr when the path is empty. False when the
  // file cannot be opened.
  bool open(const std::string& path);
  ~Transcript();

  // "HH:MM:SS.mmm CHANNEL DIR TEXT"; DIR is "<-" for received and "->" for sent lines. Bytes
  // outside printable ASCII are written as \xNN.
  void line(std::string_view channel, std::string_view direction, std::string_view text);
  void note(std::string_view text) { line("sim", "--", text); }

 private:
  std::FILE* out_ = stderr;
  bool owned_ = false;
};

}  // namespace mav::sim
