#include "salvo/SalvoCapture.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "model/MonitorList.h"

namespace mav {
namespace {

constexpr int kNetNumbers = 8;  // nets 1-7 as the operator sees them

void name_port(Salvo& salvo, const PortRecord& record, int port) {
  if (salvo.find(port) != nullptr) return;
  salvo.ports.push_back({port, record.mod_type,
                         std::string(record.port_name, strnlen(record.port_name, kTextFieldSize))});
}

}  // namespace

Salvo CaptureSalvo(const DeviceModel& model, std::string name, const std::vector<int>& ports) {
  Salvo salvo;
  salvo.name = std::move(name);
  std::array<PortRecord, kPortCount> now{};
  std::array<bool, kPortCount> chosen{};
  for (int port = 0; port < kPortCount; ++port) {
    model.GetPort(port, now[static_cast<std::size_t>(port)]);
    chosen[static_cast<std::size_t>(port)] =
        now[static_cast<std::size_t>(port)].mod_type != MOD_NONE &&
        std::find(ports.begin(), ports.end(), port) != ports.end();
  }
  std::array<std::vector<int>, kNetNumbers> nets;
  for (int port = 0; port < kPortCount; ++port) {
    const PortRecord& record = now[static_cast<std::size_t>(port)];
    if (!chosen[static_cast<std::size_t>(port)]) continue;
    name_port(salvo, record, port);
    if (record.net > 0 && record.net < kNetNumbers) {
      nets[static_cast<std::size_t>(record.net)].push_back(port);
    } else if (record.bus == GROUP_NONE && record.disch_group == GROUP_NONE) {
      salvo.free.push_back(port);
    }
    SalvoMonitors& list = salvo.monitors.emplace_back(SalvoMonitors{port, {}});
    for (int i = 0; i < MonitorEntries(record); ++i) {
      const int monitored = record.monitors[i];
      if (monitored >= kPortCount ||
          now[static_cast<std::size_t>(monitored)].mod_type == MOD_NONE) {
        continue;
      }
      list.monitored.push_back(monitored);
      name_port(salvo, now[static_cast<std::size_t>(monitored)], monitored);
    }
  }
  for (std::vector<int>& net : nets) {
    if (net.size() > 1) salvo.nets.push_back(std::move(net));
  }
  std::sort(salvo.ports.begin(), salvo.ports.end(),
            [](const SalvoPort& a, const SalvoPort& b) { return a.port < b.port; });
  return salvo;
}

}  // namespace mav
