// The worker's wait on a real pipe and eventfd: what ends it and what does not.
#include "platform/WakeSignal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

namespace mav::test {
namespace {

TEST(WakeSignal, WakeUpsAndBytesEndTheWaitAHungUpDescriptorDoesNot) {
  enum class Pipe { None, Bytes, HungUp };
  const struct {
    const char* name;
    int wakes;  // before the first wait
    Pipe pipe;
    bool first;   // what a wait without time finds
    bool second;  // and the one after it
  } rows[] = {
      {"nothing", 0, Pipe::None, false, false},
      {"one wake-up", 1, Pipe::None, true, false},
      {"wake-ups while busy count once", 3, Pipe::None, true, false},
      {"bytes wait until read", 0, Pipe::Bytes, true, true},
      {"a hung-up descriptor is no input", 0, Pipe::HungUp, false, false},
      {"a wake-up beside a hung-up descriptor", 1, Pipe::HungUp, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WakeSignal signal;
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe(ends), 0);
    if (row.pipe == Pipe::Bytes) {
      ASSERT_EQ(::write(ends[1], "x", 1), 1);
    }
    if (row.pipe == Pipe::HungUp) ::close(ends[1]);
    const int fd = row.pipe == Pipe::None ? -1 : ends[0];
    for (int i = 0; i < row.wakes; ++i) signal.wake();
    EXPECT_EQ(signal.wait(fd, 0), row.first);
    EXPECT_EQ(signal.wait(fd, 0), row.second);
    ::close(ends[0]);
    if (row.pipe != Pipe::HungUp) ::close(ends[1]);
  }
}

TEST(WakeSignal, AWakeUpFromAnotherThreadEndsAWaitWithoutLimit) {
  WakeSignal signal;
  std::thread other([&] { signal.wake(); });
  EXPECT_TRUE(signal.wait(-1, std::nullopt));
  other.join();
}

}  // namespace
}  // namespace mav::test
