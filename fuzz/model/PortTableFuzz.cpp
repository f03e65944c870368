// Port tables straight from configuration files or gateway reports may hold any bytes: every
// query, the renumbering and the monitor-list rules must stay inside the records and return.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/DeviceModel.h"
#include "model/SettingsFields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mav::DeviceModel model;
  mav::PortRecord record{};
  for (int port = 0; port < mav::kPortCount; ++port) {
    const std::size_t offset = static_cast<std::size_t>(port) * sizeof record;
    if (offset >= size) break;
    const std::size_t length = std::min(sizeof record, size - offset);
    model.GetPort(port, record);
    std::memcpy(&record, data + offset, length);
    model.SetPort(port, record);
  }

  for (int port = -1; port <= mav::kPortCount; ++port) {
    (void)model.FindPartner(port);
    (void)model.OtherGroupMember(port);
    (void)model.MonitorCount(port);
    (void)model.IsMonitoring(port, port + 1);
    if (model.GetPort(port, record)) {
      mav::RemoveMonitor(record, port);
      mav::AddMonitor(record, port);
      for (int keyword = 0; keyword < 70; ++keyword) {
        if (auto value = mav::read_setting(record.settings, keyword)) {
          mav::store_setting(record.settings, keyword, *value + 1);
        }
      }
    }
  }
  (void)model.LowestFreeBus();
  (void)model.LowestFreeLink();
  (void)model.LowestFreeNet();
  (void)model.LowestFreeDischGroup();
  model.RenumberNets();
  for (int group = -2; group < 70; ++group) {
    (void)model.CountOnBus(group);
    (void)model.CountInNet(group);
    (void)model.BusOfNet(group);
    (void)model.LinkOfNet(group);
    (void)model.LinkOfBus(group);
    (void)model.FirstFreePortOfNet(group);
  }
  return 0;
}
