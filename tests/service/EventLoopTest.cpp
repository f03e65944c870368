#include "platform/EventLoop.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/FakeClock.h"

namespace mav::test {
namespace {

TEST(EventLoop, TimersActOnceTheirIntervalHasPassedAndRepeatUntilCancelled) {
  FakeClock clock;
  EventLoop loop(clock);
  std::string acted;
  loop.add_timer(100, false, [&] { acted += 'o'; });
  const int repeating = loop.add_timer(50, true, [&] { acted += 'r'; });
  const std::pair<std::uint32_t, const char*> steps[] = {{50, ""},   {1, "r"},    {50, "ro"},
                                                         {1, "ror"}, {50, "ror"}, {1, "rorr"}};
  for (const auto& [ms, expected] : steps) {
    clock.advance_ms(ms);
    loop.run_once(0);
    EXPECT_EQ(acted, expected) << ms;
  }
  loop.cancel_timer(repeating);
  clock.advance_ms(1000);
  loop.run_once(0);
  EXPECT_EQ(acted, "rorr");
}

TEST(EventLoop, WorkPostedFromAnotherThreadRunsInOrderOnTheLoop) {
  FakeClock clock;
  EventLoop loop(clock);
  std::vector<int> ran;
  std::thread poster([&] {
    for (int i = 0; i < 100; ++i) loop.post([&ran, i] { ran.push_back(i); });
    loop.post([&] { loop.stop(); });
  });
  loop.run();  // no timer and no descriptor: only the posts can end the wait
  poster.join();
  ASSERT_EQ(ran.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(ran[i], i);
}

}  // namespace
}  // namespace mav::test
