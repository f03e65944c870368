// How a client proves it holds a token without sending it: the hello carries a fresh random
// challenge, the identify answers with an HMAC-SHA256 of the token over it. Failed answers are
// counted per address, so a guesser gets five tries a minute.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>

namespace mav {

// `bytes` random bytes as lowercase hex (from the kernel's generator).
std::string random_hex(std::size_t bytes);
// The identify's answer: HMAC-SHA256 of the secret over the challenge, lowercase hex.
std::string token_response(std::string_view secret, std::string_view challenge);
// Compares in a time that does not depend on where the texts differ.
bool same_response(std::string_view a, std::string_view b);

class IdentifyThrottle {
 public:
  static constexpr std::size_t kFailuresPerMinute = 5;
  // False while the address has failed kFailuresPerMinute times in the last minute.
  bool allowed(const std::string& address, std::uint32_t now_ms);
  void failed(const std::string& address, std::uint32_t now_ms);

 private:
  void forget_old(std::deque<std::uint32_t>& failures, std::uint32_t now_ms);
  std::map<std::string, std::deque<std::uint32_t>> failures_;
};

}  // namespace mav
