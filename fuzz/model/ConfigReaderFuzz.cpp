// Arbitrary bytes as a configuration file, of either format, truncated or oversized: decoding
// must neither crash nor read past the bytes, and whatever it accepts must encode to a whole
// format-7 image that decodes to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "model/ConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<mav::Configuration> config =
      mav::DecodeConfiguration(std::span<const std::uint8_t>(data, size));
  if (!config) return 0;
  const std::vector<std::uint8_t> image = mav::EncodeConfiguration(*config);
  const std::optional<mav::Configuration> again = mav::DecodeConfiguration(image);
  if (image.size() != mav::kConfigFileSize || !again || mav::EncodeConfiguration(*again) != image) {
    std::abort();
  }
  return 0;
}
