#include "Transcript.h"

#include <ctime>

namespace mav::sim {

bool Transcript::open(const std::string& path) {
  if (path.empty()) return true;
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  out_ = file;
  owned_ = true;
  return true;
}

Transcript::~Transcript() {
  if (owned_) std::fclose(out_);
}

void Transcript::line(std::string_view channel, std::string_view direction, std::string_view text) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  std::string escaped;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      escaped += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%.2x", byte);
      escaped += hex;
    }
  }
  std::fprintf(out_, "%.2d:%.2d:%.2d.%.3ld %.*s %.*s %s\n", local.tm_hour, local.tm_min,
               local.tm_sec, now.tv_nsec / 1000000, static_cast<int>(channel.size()),
               channel.data(), static_cast<int>(direction.size()), direction.data(),
               escaped.c_str());
  std::fflush(out_);
}

}  // namespace mav::sim
