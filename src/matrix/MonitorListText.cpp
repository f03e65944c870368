#include "matrix/MonitorListText.h"

#include <algorithm>
#include <vector>

#include "model/PortRecord.h"

namespace mav {

std::string FormatMonitorList(std::span<const std::uint8_t> list) {
  std::vector<int> ports;
  for (std::uint8_t entry : list) {
    if (entry == PORT_NONE) break;
    ports.push_back(entry);
  }
  std::ranges::sort(ports);

  std::string text;
  bool run_open = false;
  for (std::size_t i = 0; i < ports.size(); ++i) {
    if (i == 0) {
      text = std::to_string(ports[0]);
    } else if (ports[i] == ports[i - 1] + 1) {
      run_open = true;
    } else {
      if (run_open) text += "-" + std::to_string(ports[i - 1]);
      text += "," + std::to_string(ports[i]);
      run_open = false;
    }
  }
  if (run_open) text += "-" + std::to_string(ports.back());
  return text;
}

}  // namespace mav
