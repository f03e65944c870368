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
  auto write = [&text](char separator, int port) {
    if (separator != '\0') text.push_back(separator);
    text.append(std::to_string(port));
  };
  bool run_open = false;
  for (std::size_t i = 0; i < ports.size(); ++i) {
    if (i == 0) {
      write('\0', ports[0]);
    } else if (ports[i] == ports[i - 1] + 1) {
      run_open = true;
    } else {
      if (run_open) write('-', ports[i - 1]);
      write(',', ports[i]);
      run_open = false;
    }
  }
  if (run_open) write('-', ports.back());
  return text;
}

}  // namespace mav
