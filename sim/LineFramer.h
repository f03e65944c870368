// Cuts a byte stream into lines. The gateway side ends lines with a carriage return and ignores
// line feeds; the control side ends them with a line feed and ignores carriage returns. A line
// longer than the limit is not kept: it is reported once its end arrives, marked over-long.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mav::sim {

inline constexpr std::size_t kMaxLineLength = 255;

class LineFramer {
 public:
  struct Line {
    std::string text;
    bool overlong = false;
  };

  explicit LineFramer(char terminator) : terminator_(terminator) {}

  // Appends the bytes; every line they complete is appended to `out`.
  void feed(std::string_view bytes, std::vector<Line>& out);

 private:
  char terminator_;
  std::string partial_;
  bool overlong_ = false;
};

}  // namespace mav::sim
