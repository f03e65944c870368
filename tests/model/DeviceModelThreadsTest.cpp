// The worker's reply handlers and the user-interface thread use one model at the same time:
// every record copy must be whole, and renumbering must never see half a change.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string_view>
#include <thread>

#include "RecordImage.h"
#include "model/DeviceModel.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

constexpr int kRounds = 3000;

// Every write puts one stamp in several places of the record, far apart in its image.
void StampRecord(PortRecord& record, std::uint32_t stamp) {
  record.disch_step = stamp;
  record.connect_step = stamp;
  std::memset(record.port_name, 'a' + static_cast<int>(stamp % 26), 200);
  record.port_name[200] = '\0';
}

bool IsWhole(const PortRecord& record) {
  const char expected = static_cast<char>('a' + static_cast<int>(record.disch_step % 26));
  return record.disch_step == record.connect_step &&
         std::string_view(record.port_name, 200).find_first_not_of(expected) ==
             std::string_view::npos;
}

TEST(DeviceModelThreads, TwoThreadsChangingAndQueryingSeeOnlyWholeRecords) {
  DeviceModel model;
  for (int port = 0; port < 26; ++port) {
    PortRecord record = test::RecordOf(model, port);
    record.mod_type = MOD_MEK4;
    StampRecord(record, 0);
    model.SetPort(port, record);
  }

  std::atomic<int> torn{0};
  auto hammer = [&](int first_port, std::uint32_t seed) {
    for (int round = 0; round < kRounds; ++round) {
      const int port = (first_port + round) % 26;
      PortRecord record = test::RecordOf(model, port);
      if (!IsWhole(record)) ++torn;
      StampRecord(record, seed + static_cast<std::uint32_t>(round));
      record.bus = static_cast<std::int16_t>(round % 5 == 0 ? GROUP_NONE : (round / 3) % 4);
      record.bus_link = static_cast<std::int16_t>(round % 7 == 0 ? 1 : GROUP_NONE);
      model.SetPort(port, record);
      model.SetSetting(port, kw::TX_LEVEL, static_cast<std::uint32_t>(round));
      if (round % 3 == 0) model.RenumberNets();
      (void)model.FindPartner(port);
      (void)model.LowestFreeNet();
      (void)model.CountInNet(1 + round % 7);
      (void)model.FirstFreePortOfNet(1 + round % 7);
    }
  };
  std::thread worker(hammer, 0, 1000u);
  std::thread ui(hammer, 13, 500000u);
  worker.join();
  ui.join();

  EXPECT_EQ(torn.load(), 0);
  model.RenumberNets();
  for (int net = 1; net <= 7; ++net) {
    const int count = model.CountInNet(net);
    EXPECT_TRUE(count == 0 || count >= 2) << "net " << net << " has " << count;
  }
  for (int port = 0; port < 26; ++port) EXPECT_TRUE(IsWhole(test::RecordOf(model, port))) << port;
}

}  // namespace
}  // namespace mav
