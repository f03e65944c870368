// The stored network sites, the recent-connection list with its menu captions, the retries after
// a network drop, the connection indicator's text and what the address fields take.
#include "app/ConnectionLists.h"

#include <gtest/gtest.h>

#include <ctime>

#include "app/AddressFields.h"
#include "app/ConnectionIndicator.h"
#include "engine/Reconnection.h"
#include "support/ScopedEnvironment.h"

namespace mav {
namespace {

// The recent-connection menu captions, joined with '|'.
std::string labels(const Preferences& prefs) {
  std::string result;
  for (int i = 0; i < static_cast<int>(prefs.recent.size()); ++i)
    result += recent_menu_label(prefs, i) + "|";
  return result;
}

TEST(ConnectionLists, RecentEntriesAreUniqueNewestFirst) {
  Preferences prefs;
  add_site(prefs, {10, 0, 0, 7}, 23, "North Hill");
  add_site(prefs, {127, 0, 0, 1}, 2300, "");
  for (const RecentConnection& c :
       {serial_connection("COM1", 9600), network_connection(0), network_connection(1),
        serial_connection("COM1", 115200), serial_connection("COM1", 9600)}) {
    add_recent(prefs, c);
  }
  EXPECT_EQ(prefs.serial_baud, 9600);
  EXPECT_EQ(labels(prefs),
            "&1 - COM1, 9600 Baud (Serial Port)|&2 - COM1, 115200 Baud (Serial Port)|"
            "&3 - 127.0.0.1 (Network)|&4 - North Hill (Network)|");
  add_recent(prefs, serial_connection(std::string(40, 'p'), 9600));
  EXPECT_EQ(prefs.recent.front().serial_name.size(), 26u);
}

TEST(ConnectionLists, SitesRefuseDuplicatesAndTheFullListAndRemovalMovesTheLast) {
  Preferences prefs;
  EXPECT_TRUE(add_site(prefs, {10, 0, 0, 7}, 23, std::string(60, 'd')));
  EXPECT_EQ(prefs.sites[0].description.size(), 47u);
  EXPECT_FALSE(add_site(prefs, {10, 0, 0, 7}, 23, "again"));
  EXPECT_TRUE(add_site(prefs, {10, 0, 0, 7}, 24, "other port"));
  EXPECT_EQ(site_list_line(prefs.sites[1]), "10.0.0.7:24 (other port)");
  for (int i = 2; i < 500; ++i) ASSERT_TRUE(add_site(prefs, {10, 1, 9, std::uint8_t(i)}, i, ""));
  EXPECT_FALSE(add_site(prefs, {10, 9, 9, 9}, 23, "one too many"));

  prefs = Preferences{};
  std::uint8_t last = 0;
  for (const char* name : {"One", "Two", "Three"}) add_site(prefs, {10, 0, 0, ++last}, 23, name);
  for (int site : {2, 0, 1}) add_recent(prefs, network_connection(site));
  prefs.network_mode = true;
  prefs.selected_site = 2;
  EXPECT_TRUE(remove_site(prefs, 0, true));
  ASSERT_EQ(prefs.site_count(), 2);
  EXPECT_EQ(prefs.sites[0].description, "Three");
  EXPECT_EQ(prefs.selected_site, 0);
  EXPECT_EQ(labels(prefs), "&1 - Two (Network)|&2 - Three (Network)|");
  EXPECT_FALSE(remove_site(prefs, 0, true));  // the site in use
  EXPECT_EQ(std::vector({remove_site(prefs, 0, false), remove_site(prefs, 0, false),
                         remove_site(prefs, 0, false)}),
            std::vector({true, true, false}));
  EXPECT_TRUE(prefs.recent.empty());
}

TEST(ConnectionIndicator, NamesThePeerHowTheLinkStandsAndTheRetries) {
  const test::ScopedEnvironment utc("TZ", "UTC");
  tzset();
  // open, network, connected, contact lost, peer, site, lost since, retry, seconds to it
  const std::pair<LinkStatus, const char*> rows[] = {
      // clang-format off
      {{false, false, false, false, "", -1}, "Not connected"},
      {{false, true, false, true, "North", -1}, "Not connected"},
      {{true, false, false, false, "/dev/ttyUSB0", -1}, "Connected to /dev/ttyUSB0 (serial)"},
      {{true, false, false, true, "/dev/ttyUSB0", -1}, "Lost contact with /dev/ttyUSB0 (serial)"},
      {{true, true, false, false, "North", -1}, "Connecting to North (network)"},
      {{true, true, false, true, "North", -1}, "Connecting to North (network)"},
      {{true, true, true, false, "North", -1}, "Connected to North (network)"},
      {{true, true, true, true, "North", -1}, "Lost contact with North (network)"},
      {{false, false, false, false, "", -1, 0, 3, 4}, "Reconnecting (attempt 3, next in 4 s)"},
      {{true, true, false, false, "North", -1, 0, 3, 4}, "Reconnecting to North (attempt 3)"},
      {{true, true, true, true, "North", -1, 1700000000},
       "Lost contact with North (network) since 22:13:20"},
      // clang-format on
  };
  for (const auto& [status, text] : rows) EXPECT_EQ(connection_indicator_text(status), text);
  EXPECT_EQ(site_peer_name({{10, 0, 0, 7}, 2300, ""}), "10.0.0.7:2300");
  EXPECT_EQ(site_peer_name({{10, 0, 0, 7}, 23, "North"}), "North");
}

TEST(Reconnection, PausesDoubleFromTwoSecondsToAMinuteUntilStopped) {
  Reconnection retries;
  EXPECT_FALSE(retries.active());
  retries.begin();
  EXPECT_EQ(retries.attempt(), 1);
  const std::uint32_t pauses[] = {2000, 4000, 8000, 16000, 32000, 60000, 60000};
  for (const std::uint32_t pause : pauses) {
    EXPECT_EQ(retries.failed(), pause);
    EXPECT_EQ(retries.first_failure(), pause == 2000);
  }
  EXPECT_EQ(retries.attempt(), 8);
  retries.stop();
  EXPECT_FALSE(retries.active());
  retries.begin();  // a later drop starts again from the shortest pause
  EXPECT_EQ(retries.failed(), 2000u);
}

TEST(AddressFields, NumbersAreDecimalAndInRange) {
  const auto number_of = [](auto parsed) { return parsed ? int{*parsed} : -1; };
  // clang-format off
  for (const auto& [text, number] : {std::pair{"0", 0}, {"255", 255}, {"007", 7}, {"256", -1},
       {"", -1}, {"-1", -1}, {"1a", -1}, {" ", -1}, {"99999999999999999999", -1}}) {
    EXPECT_EQ(number_of(parse_address_number(text)), number) << text;
  }
  for (const auto& [text, port] : {std::pair{"23", 23}, {"65535", 65535}, {"65536", -1},
       {"0", -1}, {"", -1}, {"2 3", -1}, {"port", -1}}) {
    EXPECT_EQ(number_of(parse_tcp_port(text)), port) << text;
  }
  // clang-format on
}

}  // namespace
}  // namespace mav
