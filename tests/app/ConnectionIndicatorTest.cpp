// The connection indicator's text for each state of the link.
#include "app/ConnectionIndicator.h"

#include <gtest/gtest.h>

namespace mav::test {
namespace {

TEST(ConnectionIndicator, NamesThePeerAndHowTheLinkStands) {
  struct Row {
    LinkStatus status;
    const char* text;
  };
  const Row rows[] = {
      {{false, false, false, false, "", -1}, "Not connected"},
      {{false, true, false, true, "North", -1}, "Not connected"},
      {{true, false, false, false, "/dev/ttyUSB0", -1}, "Connected to /dev/ttyUSB0 (serial)"},
      {{true, false, false, true, "/dev/ttyUSB0", -1}, "Lost contact with /dev/ttyUSB0 (serial)"},
      {{true, true, false, false, "North", -1}, "Connecting to North (network)"},
      {{true, true, false, true, "North", -1}, "Connecting to North (network)"},
      {{true, true, true, false, "North", -1}, "Connected to North (network)"},
      {{true, true, true, true, "North", -1}, "Lost contact with North (network)"},
  };
  for (const Row& row : rows) EXPECT_EQ(connection_indicator_text(row.status), row.text);

  EXPECT_EQ(site_peer_name({{10, 0, 0, 7}, 2300, ""}), "10.0.0.7:2300");
  EXPECT_EQ(site_peer_name({{10, 0, 0, 7}, 23, "North"}), "North");
}

}  // namespace
}  // namespace mav::test
