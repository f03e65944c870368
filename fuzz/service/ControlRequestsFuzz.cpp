// Arbitrary client lines through the request reader. Nothing may escape it: every line is an
// identify, a request or an error, and whatever it read writes back out as one valid JSON line
// that reads again to the same request.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/ControlMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const mav::ControlMessage message = mav::read_control_message(line);
  switch (message.kind) {
    case mav::ControlMessage::Kind::Invalid:
      if (message.error.code.empty() || message.error.message.empty()) __builtin_trap();
      mav::encode_error(message.error);
      break;
    case mav::ControlMessage::Kind::Identify:
      if (message.name.empty()) __builtin_trap();
      break;
    case mav::ControlMessage::Kind::Request: {
      const mav::ControlRequest& request = message.request;
      const std::string again = mav::encode_request(request.id, request.op, request.arguments);
      const mav::ControlMessage reread = mav::read_control_message(again);
      if (reread.kind != mav::ControlMessage::Kind::Request ||
          mav::encode_request(reread.request.id, reread.request.op, reread.request.arguments) !=
              again)
        __builtin_trap();
      break;
    }
  }
  return 0;
}
