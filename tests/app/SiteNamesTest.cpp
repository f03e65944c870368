// Port names and icons carried between the device model and a site record.
#include "app/SiteNames.h"

#include <gtest/gtest.h>

#include <cstring>

namespace mav {
namespace {

void fit(DeviceModel& model, int port, std::uint32_t mod_type, const char* name, int color) {
  PortRecord record{};
  model.GetPort(port, record);
  record.mod_type = mod_type;
  std::strcpy(record.port_name, name);
  record.icon_color = static_cast<std::uint8_t>(color);
  record.icon_preset = 1;
  model.SetPort(port, record);
}

// Name, icon colour, preset flag and icon id of each port, joined.
std::string ports(const DeviceModel& model, std::initializer_list<int> list) {
  std::string joined;
  for (int port : list) {
    PortRecord r{};
    model.GetPort(port, r);
    joined += std::string(r.port_name) + ":" + std::to_string(r.icon_color) + ":" +
              std::to_string(r.icon_preset) + ":" + std::to_string(r.icon_id) + " ";
  }
  return joined;
}

TEST(SiteNames, EmptyPortsAreStoredWithoutEntryAndGetTheirModulesShortNameLater) {
  DeviceModel model;
  SiteRecord record = empty_site_record({10, 0, 0, 7}, 23);
  EXPECT_FALSE(capture_port_entries(model, record));  // no module: nothing to keep
  fit(model, 2, MOD_TOV5, "Fire Dispatch", 3);
  ASSERT_TRUE(capture_port_entries(model, record));
  EXPECT_EQ(record.icon_color[5], kNoIconEntry);

  // Later a VOQ-3 is fitted into port 5 and the record is loaded again.
  DeviceModel later;
  fit(later, 2, MOD_TOV5, "TOV-5", 0);
  fit(later, 5, MOD_VOQ3, "VOQ-3", 6);
  apply_port_entries(later, record, {});
  EXPECT_EQ(ports(later, {2, 5}), "Fire Dispatch:3:1:-1 VOQ:0:1:-1 ");

  apply_default_port_names(later);  // without a record: the full model name
  EXPECT_EQ(ports(later, {2, 5, 0}), "TOV-5:0:1:-1 VOQ-3:0:1:-1 ???:0:1:-1 ");
}

TEST(SiteNames, CustomIconThatCannotBeLoadedFallsBackToThePreset) {
  DeviceModel model;
  fit(model, 0, MOD_LINE7, "Line", 1);
  SiteRecord record = empty_site_record({0, 0, 0, 0}, 0);
  record.icon_color[0] = 4;
  std::strcpy(record.port_name[0], "Line");
  std::strcpy(record.icon_path[0], "Icons/missing.bmp");
  std::string asked_for;
  apply_port_entries(model, record, [&](const std::string& path, int) {
    asked_for = path;
    return -1;
  });
  EXPECT_EQ(asked_for, "Icons/missing.bmp");
  PortRecord r{};
  model.GetPort(0, r);
  EXPECT_STREQ(r.icon_path, "Icons/missing.bmp");
  EXPECT_EQ(ports(model, {0}), "Line:4:1:-1 ");
  apply_port_entries(model, record, [](const std::string&, int) { return 551; });
  EXPECT_EQ(ports(model, {0}), "Line:4:0:551 ");
}

}  // namespace
}  // namespace mav
