// Scheduled takes kept across restarts, and the times the operator types.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "salvo/TakeSchedule.h"
#include "salvo/TakeTime.h"
#include "support/FakeClock.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

TEST(TakeSchedule, KeepsTakesAcrossARestartAndHandsOutTheDueOnesOnce) {
  test::ScratchDirectory folder;
  test::FakeClock clock;
  const std::int64_t now = clock.now_calendar_ms();
  {
    TakeSchedule schedule(folder.path());
    EXPECT_EQ(schedule.add("Night", now + 5000, "desk-2"), 1);
    EXPECT_EQ(schedule.add("Day", now), 2);
    EXPECT_EQ(schedule.add("Drill", now + 9000), 3);
    EXPECT_TRUE(schedule.cancel(3));
    EXPECT_FALSE(schedule.cancel(3));
  }
  struct stat info {};
  ASSERT_EQ(::stat((folder / kScheduleFileName).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  TakeSchedule restarted(folder.path());
  EXPECT_EQ(restarted.list(),
            (std::vector<ScheduledTake>{{2, "Day", now}, {1, "Night", now + 5000, "desk-2"}}));
  EXPECT_EQ(restarted.take_due(clock), (std::vector<ScheduledTake>{{2, "Day", now}}));
  EXPECT_TRUE(restarted.take_due(clock).empty());
  EXPECT_EQ(restarted.next_time(), now + 5000);
  EXPECT_EQ(restarted.add("Drill", now), 4);  // ids are never given twice
  clock.advance_seconds(5);
  EXPECT_EQ(TakeSchedule(folder.path()).take_due(clock).size(), 2u);
}

TEST(TakeTime, ReadsDelaysAndTimesOfDay) {
  test::FakeClock clock;  // 07:04:09 local
  const std::int64_t now = clock.now_calendar_ms();
  const struct {
    const char* option;
    const char* value;
    std::optional<std::int64_t> ahead_ms;
  } cases[] = {
      {"--in", "90s", 90'000},         {"--in", "90", 90'000},
      {"--in", "1h30m", 5'400'000},    {"--in", "2m", 120'000},
      {"--in", "", std::nullopt},      {"--in", "5x", std::nullopt},
      {"--in", "-1s", std::nullopt},   {"--in", "m", std::nullopt},
      {"--in", "9999h", std::nullopt}, {"--at", "08:00", 3'351'000},
      {"--at", "07:04", 86'391'000},   {"--at", "24:00", std::nullopt},
      {"--at", "7:00", std::nullopt},  {"--on", "08:00", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto when = TakeTime(c.option, c.value, clock);
    EXPECT_EQ(when ? std::optional(*when - now) : std::nullopt, c.ahead_ms) << c.option << c.value;
  }
}

}  // namespace
}  // namespace mav
