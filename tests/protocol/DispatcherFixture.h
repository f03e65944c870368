// A dispatcher wired to real parts (device model, pending table, PIN table, event log in a temp
// folder, line reader over a real ring) with recording screen, sender and application hooks, so
// each test feeds literal gateway lines and looks at what changed.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "link/LineReader.h"
#include "link/ReceivedLineRing.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "protocol/RecordingHooks.h"
#include "protocol/RecordingSender.h"
#include "protocol/ReplyDispatcher.h"
#include "security/PinTable.h"
#include "support/FakeClock.h"
#include "support/RecordingFrontend.h"
#include "support/ScratchDirectory.h"

namespace mav::test {

// A port's module, groups and unfinished steps: written before a reply, compared after it.
struct PortState {
  int port;
  std::uint32_t type = 1;
  int bus = GROUP_NONE;
  int link = GROUP_NONE;
  int disch = GROUP_NONE;
  std::uint32_t connect_step = 0;
  std::uint32_t disch_step = 0;
  int partner = PORT_NONE;
  int pending_bus = GROUP_NONE;
};

class DispatcherBench {
 public:
  DispatcherBench() { state.last_autosave_ms = clock.now_ms(); }
  DispatcherBench(const DispatcherBench&) = delete;
  DispatcherBench& operator=(const DispatcherBench&) = delete;

  // One received line through the parser and one dispatcher step.
  void Feed(std::string_view line) {
    ASSERT_TRUE(ring.push(line));
    reader.read_step();
    ASSERT_TRUE(reader.reply().pending) << line;
    dispatcher.dispatch_step();
  }

  PortRecord Port(int port) const {
    PortRecord record{};
    model.GetPort(port, record);
    return record;
  }
  void Store(int port, const PortRecord& record) { ASSERT_TRUE(model.SetPort(port, record)); }

  void Set(const PortState& s) {
    PortRecord record = Port(s.port);
    record.mod_type = s.type;
    record.bus = static_cast<std::int16_t>(s.bus);
    record.bus_link = static_cast<std::int16_t>(s.link);
    record.disch_group = static_cast<std::int16_t>(s.disch);
    record.connect_step = s.connect_step;
    record.disch_step = s.disch_step;
    record.pending_partner = static_cast<std::uint16_t>(s.partner);
    record.pending_bus = static_cast<std::uint16_t>(s.pending_bus);
    Store(s.port, record);
  }
  void Expect(const PortState& s) const {
    SCOPED_TRACE(::testing::Message() << "port " << s.port);
    const PortRecord r = Port(s.port);
    EXPECT_EQ(r.bus, s.bus);
    EXPECT_EQ(r.bus_link, s.link);
    EXPECT_EQ(r.disch_group, s.disch);
    EXPECT_EQ(r.connect_step, s.connect_step);
    EXPECT_EQ(r.disch_step, s.disch_step);
    EXPECT_EQ(r.pending_partner, s.partner);
    EXPECT_EQ(r.pending_bus, static_cast<std::uint16_t>(s.pending_bus));
  }

  // The lines sent, each RELAY report cut to its keyword (its bytes are checked on their own).
  std::vector<std::string> Sent() const {
    std::vector<std::string> lines = sender.lines();
    for (std::string& line : lines) {
      if (line.rfind("RELAY ", 0) == 0) line = "RELAY";
    }
    return lines;
  }

  // The event log's messages in the order written, without their time stamps.
  std::vector<std::string> LogMessages() const {
    std::vector<std::string> messages;
    const std::vector<std::string> ring_entries = log.recent_entries();
    const int next = log.recent_index();
    for (int i = 0; i < EventLog::kRecentSlots; ++i) {
      const std::string& entry = ring_entries[static_cast<std::size_t>((next + i) % 30)];
      if (entry.empty()) continue;
      messages.push_back(entry.substr(22, entry.size() - 23));  // stamp and "\n" dropped
    }
    return messages;
  }

  ScratchDirectory root_;
  FakeClock clock;
  EventLog log{root_ / "Logs", clock};
  DeviceModel model;
  PendingTable pending;
  PinTable pins;
  RecordingSender sender;
  RecordingFrontend frontend;
  SessionState state;
  RecordingHooks hooks{nullptr, &state.last_autosave_ms, &clock};
  ReceivedLineRing ring;
  LineReader reader{ring};
  ReplyDispatcher dispatcher{DispatcherParts{reader.reply(), model, pending, pins, log, sender,
                                             frontend, clock, state,
                                             SessionHooks{hooks, hooks, hooks, hooks}}};
};

class DispatcherTest : public ::testing::Test, public DispatcherBench {};

// A waiting entry of the pending table, for the port it names.
struct PendingEntry {
  int port = -1;
  std::uint8_t kind = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};

// One connection reply on a network channel, from a model set up for it: the ports after it, the
// lines it sent, what it logged and the nets ({port, net}) it left.
struct StepCase {
  const char* name;
  std::vector<PortState> before;
  std::string reply;
  std::vector<PortState> after;
  std::vector<std::string> sent = {};
  std::vector<std::string> log = {};
  std::vector<std::pair<int, int>> nets = {};
  PendingEntry pending = {};
};

inline void RunSteps(const std::vector<StepCase>& cases) {
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto bench = std::make_unique<DispatcherBench>();
    bench->state.network_mode = true;
    for (const PortState& s : c.before) bench->Set(s);
    if (c.pending.port >= 0) {
      ASSERT_TRUE(bench->pending.Add(c.pending.kind, static_cast<std::uint8_t>(c.pending.port),
                                     c.pending.data1, c.pending.data2));
    }
    bench->Feed(c.reply);
    for (const PortState& s : c.after) bench->Expect(s);
    EXPECT_EQ(bench->Sent(), c.sent);
    EXPECT_EQ(bench->LogMessages(), c.log);
    for (const auto& [port, net] : c.nets) EXPECT_EQ(bench->Port(port).net, net) << port;
  }
}

}  // namespace mav::test
