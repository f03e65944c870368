// The poll pump's connection timer; its socket notifications are proven through the link channel.
#include "platform/PollPump.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/FakeClock.h"

namespace mav::test {
namespace {

struct TimerEvents final : SocketEvents {
  void on_socket_read() override {}
  void on_socket_connected() override {}
  void on_socket_closed() override {}
  void on_connect_timeout() override { fired += 't'; }
  std::string fired;
};

TEST(PollPump, TheTimerCountsFromItsLastStartFiresEachIntervalUntilKilled) {
  FakeClock clock;
  TimerEvents events;
  PollPump pump{clock, events};
  pump.start_timer(7117, 15500);
  clock.advance_ms(10000);
  pump.start_timer(7117, 15500);
  const std::pair<std::uint32_t, const char*> steps[] = {
      {15499, ""}, {1, "t"}, {15499, "t"}, {1, "tt"}};
  for (const auto& [ms, fired] : steps) {
    clock.advance_ms(ms);
    pump.run_once(0);
    EXPECT_EQ(events.fired, fired) << ms;
  }
  pump.kill_timer(7117);
  clock.advance_ms(40000);
  pump.run_once(0);
  EXPECT_EQ(events.fired, "tt");
}

}  // namespace
}  // namespace mav::test
