// The worker's wait on a real pipe and eventfd: what ends it and what does not.
#include "platform/WakeSignal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

namespace mav::test {
namespace {

TEST(WakeSignal, WakeUpsAndBytesEndTheWaitAHungUpDescriptorDoesNot) {
  enum Pipe { None, Bytes, HungUp };
  const struct {
    int wakes;  // before the first wait
    Pipe pipe;
    bool first;   // what a wait without time finds
    bool second;  // and the one after it
  } rows[] = {
      {0, None, false, false},   {1, None, true, false},   {3, None, true, false},  // counted once
      {0, Bytes, true, true},  // bytes end every wait until read
      {0, HungUp, false, false}, {1, HungUp, true, false},
  };
  for (const auto& row : rows) {
    WakeSignal signal;
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(row.pipe == Bytes ? ::write(ends[1], "x", 1) : 1, 1);
    if (row.pipe == HungUp) ::close(ends[1]);
    for (int i = 0; i < row.wakes; ++i) signal.wake();
    const int fd = row.pipe == None ? -1 : ends[0];
    EXPECT_EQ(signal.wait(fd, 0), row.first) << &row - rows;
    EXPECT_EQ(signal.wait(fd, 0), row.second) << &row - rows;
    ::close(ends[0]);
    if (row.pipe != HungUp) ::close(ends[1]);
  }
}

TEST(WakeSignal, AWakeUpFromAnotherThreadEndsAWaitEachTime) {
  WakeSignal signal;
  std::thread first([&] { signal.wake(); });
  EXPECT_TRUE(signal.wait(-1, std::nullopt));  // a wait without limit
  first.join();
  std::thread second([&] { signal.wake(); });
  EXPECT_TRUE(signal.wait(-1, 10000));  // a wake-up after a taken one counts again
  second.join();
}

}  // namespace
}  // namespace mav::test
