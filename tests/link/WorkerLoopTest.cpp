#include "link/WorkerLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "support/Eventually.h"
#include "support/LinkRig.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

// A dispatcher that notes the keyword and port of every parsed line and releases it.
class RecordingDispatcher final : public DispatchStep {
 public:
  explicit RecordingDispatcher(LineReader& reader) : reader_(reader) {}
  void dispatch_step() override {
    ParsedReply& reply = reader_.reply();
    if (!reply.pending) return;
    reply.pending = false;
    std::lock_guard lock(mutex_);
    seen_.push_back(reply.parse_error
                        ? "error"
                        : std::to_string(reply.keyword) + "/" + std::to_string(reply.port));
  }
  std::vector<std::string> seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  LineReader& reader_;
  mutable std::mutex mutex_;
  std::vector<std::string> seen_;
};

TEST(WorkerLoop, ParsesAndDispatchesSerialLinesInArrivalOrderOnItsOwnThread) {
  PseudoTerminal gateway;
  auto rig = std::make_unique<LinkRig>();
  ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600));
  LineReader reader(rig->channel.received_lines());
  RecordingDispatcher dispatcher(reader);
  WorkerLoop worker(rig->channel, reader, dispatcher);
  worker.start();
  EXPECT_TRUE(worker.running());
  ASSERT_TRUE(gateway.write("%DISC 07 E0\rnoise\r%TX_LEVEL 05 3 E0\r%DISC ALL E0\r"));
  ASSERT_TRUE(eventually([&] { return dispatcher.seen().size() >= 4; }));
  worker.stop();
  EXPECT_FALSE(worker.running());
  EXPECT_EQ(dispatcher.seen(), (std::vector<std::string>{"26/7", "error", "58/5", "26/60"}));
}

TEST(WorkerLoop, DrainsTheQueueWhileTheUiThreadKeepsSending) {
  PseudoTerminal gateway;
  auto rig = std::make_unique<LinkRig>();
  ASSERT_TRUE(rig->channel.open_serial(gateway.name(), 9600));
  LineReader reader(rig->channel.received_lines());
  RecordingDispatcher dispatcher(reader);
  WorkerLoop worker(rig->channel, reader, dispatcher);
  rig->channel.set_hold(true);
  worker.start();
  std::string expected;
  for (int i = 0; i < 20; ++i) {
    const std::string line = "TX_LEVEL " + std::to_string(i) + " 3\r";
    rig->channel.send_line(line, true);
    expected += line;
    rig->clock.advance_ms(201);
  }
  std::string sent;
  ASSERT_TRUE(eventually(
      [&] {
        rig->clock.advance_ms(201);
        sent += gateway.read_available();
      },
      [&] { return sent.size() >= expected.size(); }));
  worker.stop();
  EXPECT_EQ(sent, expected);
}

}  // namespace
}  // namespace mav::test
