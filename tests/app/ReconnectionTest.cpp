// The retries after a network drop: their pauses, and how the connection indicator shows them and
// a loss of contact.
#include <gtest/gtest.h>

#include <ctime>

#include "app/ConnectionIndicator.h"
#include "engine/Reconnection.h"
#include "support/ScopedEnvironment.h"

namespace mav::test {
namespace {

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

TEST(Reconnection, IndicatorCountsTheAttemptsAndDatesALoss) {
  const ScopedEnvironment utc("TZ", "UTC");
  tzset();
  LinkStatus waiting;
  waiting.reconnect_attempt = 3;
  waiting.next_attempt_s = 4;
  LinkStatus connecting = waiting;
  connecting.open = connecting.network = true;
  connecting.peer = "North";
  LinkStatus lost = connecting;
  lost.connected = lost.contact_lost = true;
  lost.reconnect_attempt = 0;
  lost.lost_since = 1700000000;  // 22:13:20 UTC

  EXPECT_EQ(connection_indicator_text(waiting), "Reconnecting (attempt 3, next in 4 s)");
  EXPECT_EQ(connection_indicator_text(connecting), "Reconnecting to North (attempt 3)");
  EXPECT_EQ(connection_indicator_text(lost), "Lost contact with North (network) since 22:13:20");
}

}  // namespace
}  // namespace mav::test
