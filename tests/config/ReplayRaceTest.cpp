// The configuration replay on the UI thread while the worker dispatches replies for the same
// ports: neither side stores back the other's fields from a stale copy. Also run under
// ThreadSanitizer, where it proves the two threads share the model cleanly.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "config/ConfigurationReplay.h"
#include "link/LineReader.h"
#include "model/RecordImage.h"
#include "protocol/RecordingHooks.h"
#include "protocol/ReplyDispatcher.h"
#include "support/ControllerRig.h"

namespace mav {
namespace {

using test::Place;

constexpr int kRounds = 100;

TEST(ReplayRace, TheReplayAndTheRepliesKeepEachOthersFields) {
  auto rig = test::make_connected_rig();
  for (int port = 0; port < 4; ++port) Place(rig->model, port, {});
  Configuration saved;
  for (int port = 0; port < kPortCount; ++port) {
    PortRecord& record = saved.ports[static_cast<std::size_t>(port)] = rig->port(port);
    std::snprintf(record.port_name, sizeof record.port_name, "Desk %d", port);
    record.net = port < 2 ? 1 : GROUP_NONE;
  }
  const ConfigParts parts{rig->model, rig->pending,  rig->pins,  rig->channel,
                          rig->state, rig->frontend, rig->icons, rig->settings};

  test::RecordingHooks hooks;
  ReceivedLineRing ring;
  LineReader reader{ring};
  ReplyDispatcher dispatcher{DispatcherParts{reader.reply(), rig->model, rig->pending, rig->pins,
                                             rig->log, rig->channel, rig->frontend, rig->clock,
                                             rig->state, SessionHooks{hooks, hooks, hooks, hooks}}};
  std::atomic<bool> worker_done{false};
  std::atomic<int> replays{0};
  int lost_reports = 0;
  std::thread worker([&] {
    auto feed = [&](const char* line) {
      if (!ring.push(line)) return;
      reader.read_step();
      dispatcher.dispatch_step();
    };
    for (int round = 0; round < kRounds; ++round) {
      const unsigned mask = round % 2 == 0 ? 0x4 : 0x8;
      feed("%CONNECT_S 01 00 E0");
      feed(mask == 0x4 ? "%COR_LED 0000 0004 E0" : "%COR_LED 0000 0008 E0");
      // Once a whole replay has run since the report, the report must still stand.
      const int seen = replays;
      while (replays < seen + 2) std::this_thread::yield();
      for (int port = 2; port < 4; ++port) {
        if (rig->port(port).cor_active != ((mask >> port) & 1u)) ++lost_reports;
      }
    }
    worker_done = true;
  });
  while (!worker_done) {
    LoadConfiguration(parts, saved, [](auto, std::function<void()> rest) { rest(); });
    ++replays;
  }
  worker.join();

  EXPECT_EQ(lost_reports, 0);
  for (int port = 0; port < 4; ++port) {
    EXPECT_STREQ(rig->port(port).port_name, saved.ports[static_cast<std::size_t>(port)].port_name)
        << port;
  }
}

}  // namespace
}  // namespace mav
