// Arbitrary tokens files and identify lines: the input up to its first newline is a tokens file,
// the rest a client's identify. The reader keeps only well-formed entries, their ports write back
// to the same ranges, and the answer check never fails on any response.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/ClientAuth.h"
#include "service/ControlMessages.h"
#include "service/TokenFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string_view file = input.substr(0, newline);
  const std::string_view line =
      newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
  const auto entries = mav::read_tokens(file);
  const mav::ControlMessage message = mav::read_control_message(line);
  if (!entries) return 0;
  for (const mav::TokenEntry& entry : *entries) {
    if (entry.name.empty() || entry.secret.empty()) __builtin_trap();
    const std::string ranges = mav::port_ranges_text(entry.ports);
    if (ranges != "all" && mav::read_port_ranges(ranges) != entry.ports) __builtin_trap();
    const std::string answer = mav::token_response(entry.secret, "c0ffee");
    if (answer.size() != 64 || !mav::same_response(answer, answer)) __builtin_trap();
    (void)mav::same_response(answer, message.response);
  }
  return 0;
}
