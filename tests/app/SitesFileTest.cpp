// The site list file: records found by address and port, overwritten in place or appended, and
// the older 7236-byte records converted; and the port names and icons carried between the device
// model and a site record.
#include "app/SitesFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/SiteNames.h"
#include "support/FileBytes.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using test::Bytes;
using test::get_i32;
using test::get_text;

TEST(SitesFile, FirstMatchingRecordIsOverwrittenAndANewOneAppended) {
  const test::ScratchDirectory dir;
  const auto file = dir / "Sites.cfg";
  for (const auto& [last, port, name] :
       {std::tuple{1, 23, "Alpha"}, {2, 23, "Bravo"}, {1, 24, "Charlie"}, {2, 23, "Delta"}}) {
    const std::uint8_t address[4] = {10, 0, 0, static_cast<std::uint8_t>(last)};
    SiteRecord record = empty_site_record(address, port);
    std::strcpy(record.port_name[0], name);
    ASSERT_TRUE(store_site_record(file, record));
  }
  const Bytes bytes = test::read_bytes(file);
  ASSERT_EQ(bytes.size(), 3u * 20004);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{10, 0, 0, 1, 23, 0, 0, 0}));
  EXPECT_EQ(get_text(bytes, 34), "Alpha");
  EXPECT_EQ(get_text(bytes, 20004 + 34), "Delta");
  EXPECT_EQ(get_i32(bytes, 2 * 20004 + 4), 24);

  const std::uint8_t address[4] = {10, 0, 0, 2};
  EXPECT_STREQ(find_site_record(file, address, 23)->port_name[0], "Delta");
  EXPECT_FALSE(find_site_record(file, address, 25) ||
               find_site_record(dir / "missing.cfg", address, 23));

  Bytes unterminated(20004, 'x');  // address 0.0.0.0, port 0, names without end
  std::memset(unterminated.data(), 0, 8);
  test::write_bytes(file, unterminated);
  const auto found = find_site_record(file, {0, 0, 0, 0}, 0);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(std::strlen(found->port_name[25]) + std::strlen(found->template_names[25]), 510u);
}

TEST(SitesFile, OldRecordsAreConverted) {
  const test::ScratchDirectory dir;
  const auto file = dir / "Sites.cfg";
  Bytes old(3 * 7236, 0);
  for (std::size_t at : {0u, 7236u}) {
    old[at] = 192, old[at + 1] = 168, old[at + 3] = static_cast<std::uint8_t>(at / 7236 + 1);
    test::put_i32(old, at + 4, 23);
    old[at + 8] = 3;       // port 0 colour
    old[at + 8 + 24] = 7;  // port 24 colour
    test::put_text(old, at + 33, "Gate");
    test::put_text(old, at + 33 + 24 * 32, "Last of 25");
    test::put_text(old, at + 833 + 24 * 256, "Icons/tower.bmp");
  }
  std::memset(old.data() + 2 * 7236 + 8, 'n', 7236 - 8);  // names filling their whole field
  test::write_bytes(file, old);

  EXPECT_TRUE(convert_old_sites_file(file));
  const Bytes bytes = test::read_bytes(file);
  ASSERT_EQ(bytes.size(), 3u * 20004);
  EXPECT_FALSE(std::filesystem::exists(dir / "Sites.tmp"));
  for (std::size_t at : {0u, 20004u}) {
    EXPECT_EQ(Bytes(bytes.begin() + at, bytes.begin() + at + 8),
              (Bytes{192, 168, 0, static_cast<std::uint8_t>(at / 20004 + 1), 23, 0, 0, 0}));
    EXPECT_EQ((Bytes{bytes[at + 8], bytes[at + 8 + 24], bytes[at + 8 + 25]}), (Bytes{3, 7, 0}));
    EXPECT_EQ(get_text(bytes, at + 34), "Gate");
    EXPECT_EQ(get_text(bytes, at + 34 + 24 * 256), "Last of 25");
    EXPECT_EQ(get_text(bytes, at + 34 + 25 * 256), "");
    EXPECT_EQ(get_text(bytes, at + 6690 + 24 * 256), "Icons/tower.bmp");
    EXPECT_EQ(get_text(bytes, at + 13346 + 24 * 256), "");
  }
  EXPECT_EQ(get_text(bytes, 40008 + 34), std::string(32, 'n'));
  EXPECT_EQ(get_text(bytes, 40008 + 6690), std::string(255, 'n'));

  EXPECT_FALSE(convert_old_sites_file(file));  // current records stay as they are
  EXPECT_EQ(test::read_bytes(file), bytes);
}

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
