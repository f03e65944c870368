// Port tables straight from configuration files or gateway reports may hold any bytes: every
// query, the renumbering and the monitor-list rules must stay inside the records and return.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/DeviceModel.h"
#include "model/SettingsFields.h"
#include "vocabulary/Vocabulary.h"

namespace {

// Each port takes eight input bytes: module, net, bus, link, DISCH group and three monitor
// slots. A group byte with the top bit set is "no group"; otherwise it spans -8..119, well past
// the numbers a gateway uses.
constexpr std::size_t kBytesPerPort = 8;

std::int16_t Group(std::uint8_t byte) {
  if (byte & 0x80) return mav::GROUP_NONE;
  return static_cast<std::int16_t>((byte & 0x7F) - 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mav::DeviceModel model;
  mav::PortRecord record{};
  for (int port = 0; port < mav::kPortCount; ++port) {
    const std::size_t offset = static_cast<std::size_t>(port) * kBytesPerPort;
    if (offset + kBytesPerPort > size) break;
    const std::uint8_t* in = data + offset;
    model.GetPort(port, record);
    record.mod_type = in[0] % 7;
    record.net = Group(in[1]);
    record.bus = Group(in[2]);
    record.bus_link = Group(in[3]);
    record.disch_group = Group(in[4]);
    std::memcpy(record.monitors, in + 5, 3);
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
    }
  }
  for (int keyword = -1; keyword <= mav::kKeywordCount; ++keyword) {
    if (auto value = mav::read_setting(record.settings, keyword)) {
      mav::store_setting(record.settings, keyword, *value + 1);
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
