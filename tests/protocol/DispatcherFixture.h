// A dispatcher wired to real parts (device model, pending table, PIN table, event log in a temp
// folder, line reader over a real ring) with recording screen, sender and application hooks, so
// each test feeds literal gateway lines and looks at what changed.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "link/LineReader.h"
#include "link/ReceivedLineRing.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "protocol/RecordingSender.h"
#include "protocol/ReplyDispatcher.h"
#include "security/PinTable.h"
#include "support/FakeClock.h"
#include "support/RecordingFrontend.h"

namespace mav::test {

class RecordingHooks final : public SessionHooks {
 public:
  bool channel_open() const override { return open; }
  void AutoSave() override { ++auto_saves; }
  bool RestoreAfterGatewayRestart() override {
    ++restores;
    return restore_succeeds;
  }
  void save_preferences() override { ++preference_saves; }
  void load_site_port_names() override { ++site_name_loads; }
  void release_port_icon(int port) override { released_icons.push_back(port); }
  void open_dial_dialog(int port) override { dial_ports.push_back(port); }

  bool open = true;
  bool restore_succeeds = true;
  int auto_saves = 0;
  int restores = 0;
  int preference_saves = 0;
  int site_name_loads = 0;
  std::vector<int> released_icons;
  std::vector<int> dial_ports;
};

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest() { state.last_autosave_ms = clock.now_ms(); }
  ~DispatcherTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

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

  // A module in a port, optionally placed in groups.
  void Place(int port, std::uint32_t type, int bus = GROUP_NONE, int link = GROUP_NONE,
             int disch_group = GROUP_NONE) {
    PortRecord record = Port(port);
    record.mod_type = type;
    record.bus = static_cast<std::int16_t>(bus);
    record.bus_link = static_cast<std::int16_t>(link);
    record.disch_group = static_cast<std::int16_t>(disch_group);
    Store(port, record);
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

  static std::filesystem::path MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mav-proto-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  std::filesystem::path root_ = MakeTempDir();
  FakeClock clock;
  EventLog log{root_ / "Logs", clock};
  DeviceModel model;
  PendingTable pending;
  PinTable pins;
  RecordingSender sender;
  RecordingFrontend frontend;
  SessionState state;
  RecordingHooks hooks;
  ReceivedLineRing ring;
  LineReader reader{ring};
  ReplyDispatcher dispatcher{DispatcherParts{reader.reply(), model, pending, pins, log, sender,
                                             frontend, clock, state, hooks}};
};

}  // namespace mav::test
