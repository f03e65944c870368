// Feeds arbitrary bytes to the simulator's receive path: framed into command lines, each line
// interpreted by the gateway, and the same bytes run as control commands. Nothing may crash, and
// every line that is not taken silently must be answered.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ControlCommands.h"
#include "Gateway.h"
#include "LineFramer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mav::sim;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Gateway gateway(GatewayModel(default_lineup(), 3));
  LineFramer framer('\r');
  std::vector<LineFramer::Line> lines;
  framer.feed(bytes, lines);
  for (const LineFramer::Line& line : lines) {
    const Lines replies = gateway.handle_line(line.text);
    const bool silent_by_design = line.text.find("RELAY") != std::string::npos ||
                                  line.text.find("logout") != std::string::npos;
    if (replies.empty() && !silent_by_design) std::abort();
  }
  // The same bytes as control lines, with the byte counts of the faults kept small.
  FaultState faults;
  LineFramer control('\n');
  lines.clear();
  control.feed(bytes, lines);
  for (const LineFramer::Line& line : lines) {
    if (line.text.find("garbage") != std::string::npos ||
        line.text.find("flood") != std::string::npos ||
        line.text.find("longline") != std::string::npos) {
      continue;
    }
    run_control(line.text, gateway, faults);
  }
  return 0;
}
