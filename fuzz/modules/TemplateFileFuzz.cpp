// Template files come from anywhere: any bytes, in either layout or cut short, must read without
// touching memory outside the input, and what they read as must survive being saved and read
// again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "modules/TemplateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const mav::PortRecord read = mav::DecodeTemplate(std::span(data, size));
  const mav::PortRecord again = mav::DecodeTemplate(mav::EncodeTemplate(read));
  if (std::memcmp(&read, &again, sizeof read) != 0) std::abort();
  return 0;
}
