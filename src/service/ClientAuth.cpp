#include "service/ClientAuth.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sys/random.h>

#include <vector>

namespace mav {
namespace {

constexpr std::uint32_t kMinuteMs = 60000;

std::string hex(const unsigned char* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xF];
  }
  return text;
}

}  // namespace

std::string random_hex(std::size_t bytes) {
  std::vector<unsigned char> random(bytes);
  std::size_t filled = 0;
  while (filled < bytes) {
    const ssize_t got = getrandom(random.data() + filled, bytes - filled, 0);
    if (got > 0) filled += static_cast<std::size_t>(got);
  }
  return hex(random.data(), bytes);
}

std::string token_response(std::string_view secret, std::string_view challenge) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  HMAC(EVP_sha256(), secret.data(), static_cast<int>(secret.size()),
       reinterpret_cast<const unsigned char*>(challenge.data()), challenge.size(), digest, &length);
  return hex(digest, length);
}

bool same_response(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

void IdentifyThrottle::forget_old(std::deque<std::uint32_t>& failures, std::uint32_t now_ms) {
  while (!failures.empty() && now_ms - failures.front() >= kMinuteMs) failures.pop_front();
}

bool IdentifyThrottle::allowed(const std::string& address, std::uint32_t now_ms) {
  const auto found = failures_.find(address);
  if (found == failures_.end()) return true;
  forget_old(found->second, now_ms);
  if (found->second.empty()) {
    failures_.erase(found);
    return true;
  }
  return found->second.size() < kFailuresPerMinute;
}

void IdentifyThrottle::failed(const std::string& address, std::uint32_t now_ms) {
  auto& failures = failures_[address];
  forget_old(failures, now_ms);
  failures.push_back(now_ms);
}

}  // namespace mav
