// The site list file: records found by address and port, overwritten in place or appended, and
// the older 7236-byte records converted.
#include "app/SitesFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/FileBytes.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using test::Bytes;
using test::get_i32;
using test::get_text;

class SitesFileTest : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_.path() / "Sites.cfg"; }

  static SiteRecord site(std::uint8_t last, std::int32_t port, const char* first_name) {
    const std::uint8_t address[4] = {10, 0, 0, last};
    SiteRecord record = empty_site_record(address, port);
    std::strcpy(record.port_name[0], first_name);
    return record;
  }

  test::ScratchDirectory dir_;
};

TEST_F(SitesFileTest, FirstMatchingRecordIsOverwrittenAndANewOneAppended) {
  ASSERT_TRUE(store_site_record(file(), site(1, 23, "Alpha")));
  ASSERT_TRUE(store_site_record(file(), site(2, 23, "Bravo")));
  ASSERT_TRUE(store_site_record(file(), site(1, 24, "Charlie")));  // same address, other port
  ASSERT_TRUE(store_site_record(file(), site(2, 23, "Delta")));

  const Bytes bytes = test::read_bytes(file());
  ASSERT_EQ(bytes.size(), 3u * 20004);
  EXPECT_EQ((Bytes{bytes.begin(), bytes.begin() + 8}), (Bytes{10, 0, 0, 1, 23, 0, 0, 0}));
  EXPECT_EQ(get_text(bytes, 34), "Alpha");
  EXPECT_EQ(bytes[20004 + 3], 2);
  EXPECT_EQ(get_text(bytes, 20004 + 34), "Delta");
  EXPECT_EQ(get_i32(bytes, 2 * 20004 + 4), 24);
  EXPECT_EQ(get_text(bytes, 2 * 20004 + 34), "Charlie");

  const std::uint8_t address[4] = {10, 0, 0, 2};
  const auto found = find_site_record(file(), address, 23);
  ASSERT_TRUE(found.has_value());
  EXPECT_STREQ(found->port_name[0], "Delta");
  EXPECT_FALSE(find_site_record(file(), address, 25).has_value());
  EXPECT_FALSE(find_site_record(dir_.path() / "missing.cfg", address, 23).has_value());
}

TEST_F(SitesFileTest, UnterminatedNamesOnDiskAreCutToTheirField) {
  Bytes bytes(20004, 'x');
  std::memset(bytes.data(), 0, 8);
  test::write_bytes(file(), bytes);
  const std::uint8_t address[4] = {0, 0, 0, 0};
  const auto found = find_site_record(file(), address, 0);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(std::strlen(found->port_name[25]), 255u);
  EXPECT_EQ(std::strlen(found->template_names[25]), 255u);
}

TEST_F(SitesFileTest, TwoOldRecordsBecomeTwoCurrentOnes) {
  Bytes old(2 * 7236, 0);
  for (int r = 0; r < 2; ++r) {
    const std::size_t at = r * 7236u;
    old[at + 0] = 192, old[at + 1] = 168, old[at + 2] = 0,
             old[at + 3] = static_cast<std::uint8_t>(r + 1);
    test::put_i32(old, at + 4, 23 + r);
    old[at + 8] = 3;       // port 0 colour
    old[at + 8 + 24] = 7;  // port 24 colour
    test::put_text(old, at + 33, "Gate");
    test::put_text(old, at + 33 + 24 * 32, "Last of 25");
    test::put_text(old, at + 833 + 24 * 256, "Icons/tower.bmp");
  }
  test::write_bytes(file(), old);

  EXPECT_TRUE(convert_old_sites_file(file()));
  const Bytes bytes = test::read_bytes(file());
  ASSERT_EQ(bytes.size(), 40008u);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Sites.tmp"));
  for (int r = 0; r < 2; ++r) {
    const std::size_t at = r * 20004u;
    EXPECT_EQ((Bytes{bytes.begin() + at, bytes.begin() + at + 4}),
              (Bytes{192, 168, 0, static_cast<std::uint8_t>(r + 1)}));
    EXPECT_EQ(get_i32(bytes, at + 4), 23 + r);
    EXPECT_EQ(bytes[at + 8], 3);
    EXPECT_EQ(bytes[at + 8 + 24], 7);
    EXPECT_EQ(bytes[at + 8 + 25], 0);
    EXPECT_EQ(get_text(bytes, at + 34), "Gate");
    EXPECT_EQ(get_text(bytes, at + 34 + 24 * 256), "Last of 25");
    EXPECT_EQ(get_text(bytes, at + 34 + 25 * 256), "");
    EXPECT_EQ(get_text(bytes, at + 6690 + 24 * 256), "Icons/tower.bmp");
    EXPECT_EQ(get_text(bytes, at + 13346 + 24 * 256), "");
  }

  EXPECT_FALSE(convert_old_sites_file(file()));  // current records stay as they are
  EXPECT_EQ(test::read_bytes(file()), bytes);
}

TEST_F(SitesFileTest, OldRecordNamesFillTheirWholeFieldWithoutRunningOver) {
  Bytes old(7236, 'n');
  test::write_bytes(file(), old);
  ASSERT_TRUE(convert_old_sites_file(file()));
  const Bytes bytes = test::read_bytes(file());
  ASSERT_EQ(bytes.size(), 20004u);
  EXPECT_EQ(get_text(bytes, 34), std::string(32, 'n'));
  EXPECT_EQ(get_text(bytes, 6690), std::string(255, 'n'));
}

}  // namespace
}  // namespace mav
