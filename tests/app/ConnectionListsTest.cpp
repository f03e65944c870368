// The stored network sites and the recent-connection list with their menu captions.
#include "app/ConnectionLists.h"

#include <gtest/gtest.h>

namespace mav {
namespace {

std::vector<std::string> labels(const Preferences& prefs) {
  std::vector<std::string> result;
  for (int i = 0; i < static_cast<int>(prefs.recent.size()); ++i) {
    result.push_back(recent_menu_label(prefs, i));
  }
  return result;
}

TEST(RecentConnections, SameConnectionTwiceKeepsOneEntryAtTheTop) {
  Preferences prefs;
  add_site(prefs, {10, 0, 0, 7}, 23, "North Hill");
  add_site(prefs, {127, 0, 0, 1}, 2300, "");
  add_recent(prefs, serial_connection("COM1", 9600));
  add_recent(prefs, network_connection(0));
  add_recent(prefs, network_connection(1));
  add_recent(prefs, serial_connection("COM1", 115200));
  add_recent(prefs, serial_connection("COM1", 9600));

  EXPECT_EQ(prefs.serial_baud, 9600);
  EXPECT_EQ(labels(prefs), (std::vector<std::string>{
                               "&1 - COM1, 9600 Baud (Serial Port)",
                               "&2 - COM1, 115200 Baud (Serial Port)",
                               "&3 - 127.0.0.1 (Network)",
                               "&4 - North Hill (Network)",
                           }));
}

TEST(RecentConnections, OverlongSerialNameIsCutToItsField) {
  Preferences prefs;
  add_recent(prefs, serial_connection(std::string(40, 'p'), 9600));
  EXPECT_EQ(prefs.recent.front().serial_name.size(), 26u);
}

TEST(NetworkSites, DuplicatesAndTheFullListAreRefused) {
  Preferences prefs;
  EXPECT_TRUE(add_site(prefs, {10, 0, 0, 7}, 23, std::string(60, 'd')));
  EXPECT_EQ(prefs.sites[0].description.size(), 47u);
  EXPECT_FALSE(add_site(prefs, {10, 0, 0, 7}, 23, "again"));
  EXPECT_TRUE(add_site(prefs, {10, 0, 0, 7}, 24, "other port"));
  for (int i = 2; i < 500; ++i) {
    ASSERT_TRUE(add_site(
        prefs, {10, 1, static_cast<std::uint8_t>(i / 256), static_cast<std::uint8_t>(i)}, 23, ""));
  }
  EXPECT_FALSE(add_site(prefs, {10, 9, 9, 9}, 23, "one too many"));
  EXPECT_EQ(site_list_line(prefs.sites[1]), "10.0.0.7:24 (other port)");
}

TEST(NetworkSites, RemovalMovesTheLastSiteAndItsRecentEntry) {
  Preferences prefs;
  add_site(prefs, {10, 0, 0, 1}, 23, "One");
  add_site(prefs, {10, 0, 0, 2}, 23, "Two");
  add_site(prefs, {10, 0, 0, 3}, 23, "Three");
  add_recent(prefs, network_connection(2));
  add_recent(prefs, network_connection(0));
  add_recent(prefs, network_connection(1));
  prefs.network_mode = true;
  prefs.selected_site = 2;

  EXPECT_TRUE(remove_site(prefs, 0, true));
  ASSERT_EQ(prefs.site_count(), 2);
  EXPECT_EQ(prefs.sites[0].description, "Three");
  EXPECT_EQ(prefs.sites[1].description, "Two");
  EXPECT_EQ(prefs.selected_site, 0);
  EXPECT_EQ(labels(prefs),
            (std::vector<std::string>{"&1 - Two (Network)", "&2 - Three (Network)"}));

  EXPECT_FALSE(remove_site(prefs, 0, true));  // the site in use
  EXPECT_TRUE(remove_site(prefs, 0, false));
  EXPECT_TRUE(remove_site(prefs, 0, false));
  EXPECT_FALSE(remove_site(prefs, 0, false));
  EXPECT_TRUE(prefs.recent.empty());
}

}  // namespace
}  // namespace mav
