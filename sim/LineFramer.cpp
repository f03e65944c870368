#include "LineFramer.h"

namespace mav::sim {

void LineFramer::feed(std::string_view bytes, std::vector<Line>& out) {
  const char ignored = terminator_ == '\r' ? '\n' : '\r';
  for (char c : bytes) {
    if (c == terminator_) {
      out.push_back({overlong_ ? std::string() : std::move(partial_), overlong_});
      partial_.clear();
      overlong_ = false;
    } else if (c != ignored && !overlong_) {
      if (partial_.size() < kMaxLineLength) {
        partial_ += c;
      } else {
        overlong_ = true;
        partial_.clear();
      }
    }
  }
}

}  // namespace mav::sim
