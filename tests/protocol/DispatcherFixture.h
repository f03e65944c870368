// A dispatcher wired to real parts with recording screen, sender and hooks: tests feed literal
// gateway lines and look at what changed.
#pragma once

#include <gtest/gtest.h>

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

using Lines = std::vector<std::string>;
inline constexpr int N = GROUP_NONE;

// A port's module, groups and unfinished steps: written before a reply, compared after it.
struct PortState {
  int port;
  std::uint32_t type = 1;
  int bus = N, link = N, disch = N;
  std::uint32_t connect_step = 0, disch_step = 0;
  int partner = PORT_NONE, pending_bus = N;
};

class DispatcherBench {
 public:
  DispatcherBench() { state.last_autosave_ms = clock.now_ms(); }

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
  template <typename F>
  void Change(int port, F change) {
    PortRecord record = Port(port);
    change(record);
    ASSERT_TRUE(model.SetPort(port, record));
  }
  void Set(const PortState& s) {
    Change(s.port, [&](PortRecord& r) {
      r.mod_type = s.type;
      r.bus = static_cast<std::int16_t>(s.bus);
      r.bus_link = static_cast<std::int16_t>(s.link);
      r.disch_group = static_cast<std::int16_t>(s.disch);
      r.connect_step = s.connect_step;
      r.disch_step = s.disch_step;
      r.pending_partner = static_cast<std::uint16_t>(s.partner);
      r.pending_bus = static_cast<std::uint16_t>(s.pending_bus);
    });
  }
  void Expect(const PortState& s) const {
    const PortRecord r = Port(s.port);
    EXPECT_EQ((std::vector<int>{r.bus, r.bus_link, r.disch_group, static_cast<int>(r.connect_step),
                                static_cast<int>(r.disch_step), r.pending_partner, r.pending_bus}),
              (std::vector<int>{s.bus, s.link, s.disch, static_cast<int>(s.connect_step),
                                static_cast<int>(s.disch_step), s.partner,
                                static_cast<std::uint16_t>(s.pending_bus)}))
        << "port " << s.port;
  }

  // One digit per port: the field's value.
  std::string Column(std::uint8_t PortRecord::*field) const {
    std::string column;
    for (int port = 0; port < kPortCount; ++port) column += std::to_string(Port(port).*field);
    return column;
  }

  // The lines sent, each RELAY report cut to its keyword (its bytes are checked on their own).
  Lines Sent() const {
    Lines lines = sender.lines();
    for (std::string& line : lines) {
      if (line.starts_with("RELAY ")) line = "RELAY";
    }
    return lines;
  }

  // The event log's messages in the order written, without their time stamps.
  Lines LogMessages() const {
    Lines messages;
    const Lines entries = log.recent_entries();
    for (int i = 0; i < EventLog::kRecentSlots; ++i) {
      const std::string& entry =
          entries[static_cast<std::size_t>((log.recent_index() + i) % EventLog::kRecentSlots)];
      if (!entry.empty()) messages.push_back(entry.substr(22, entry.size() - 23));
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

// One reply on a network channel, from a model (and a waiting entry of the pending table,
// {port, kind, data1, data2}, when given) made for it: the ports after it, the lines it
// sent, what it logged and the nets ({port, net}) it left.
struct StepCase {
  const char* name;
  std::vector<PortState> before;
  std::string reply;
  std::vector<PortState> after;
  Lines sent = {};
  Lines log = {};
  std::vector<std::pair<int, int>> nets = {};
  std::vector<int> pending = {};
};

inline void RunSteps(const std::vector<StepCase>& cases) {
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto bench = std::make_unique<DispatcherBench>();
    bench->state.network_mode = true;
    for (const PortState& s : c.before) bench->Set(s);
    if (!c.pending.empty()) {
      std::vector<std::uint8_t> p(c.pending.begin(), c.pending.end());
      p.resize(4);
      ASSERT_TRUE(bench->pending.Add(p[1], p[0], p[2], p[3]));
    }
    bench->Feed(c.reply);
    for (const PortState& s : c.after) bench->Expect(s);
    EXPECT_EQ(bench->Sent(), c.sent);
    EXPECT_EQ(bench->LogMessages(), c.log);
    for (const auto& [port, net] : c.nets) EXPECT_EQ(bench->Port(port).net, net) << port;
  }
}

}  // namespace mav::test
