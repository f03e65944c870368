// The port record as the bytes of a configuration file record: where each settings keyword's
// value lands, what an unreported port holds, and what the device model's reset, setters and
// monitor lists change. Text cut to a field's byte size ends on a character boundary, so it
// reads back as valid UTF-8.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "RecordImage.h"
#include "model/SettingsFields.h"
#include "model/TextField.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

using test::ImageOf;
using test::RecordOf;

// The settings block as hex, so that all 48 bytes compare against one literal.
std::string Hex(const ModuleSettings& settings) {
  std::string hex;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&settings);
  for (std::size_t i = 0; i < sizeof settings; ++i) {
    hex += "0123456789abcdef"[bytes[i] >> 4];
    hex += "0123456789abcdef"[bytes[i] & 15];
  }
  return hex;
}

// What a port the gateway has not reported holds: PROMPT_DELAY, PROMPT_LANG and the first
// reserved byte keep what they held (here 00).
constexpr const char* kResetSettings =
    "0000010101000000000001010000000001010001000301000000000103000001030100001200000001000003"
    "01010103";

// Every keyword's index stored at once, 0xA1B2C3 above it: each lands in its own byte, or in its
// own four for CALLING_TIME and SQUELCH_TYPE. Keywords that are no module setting are refused.
TEST(SettingsByKeyword, EachKeywordHoldsItsOwnBytesAndAResetKeepsThePromptBytes) {
  PortRecord record{};
  int stored = 0;
  for (int keyword : {-1, kKeywordCount, 1000}) {
    EXPECT_FALSE(store_setting(record.settings, keyword, 7) ||
                 read_setting(record.settings, keyword));
  }
  for (int keyword = 0; keyword < kKeywordCount; ++keyword) {
    stored +=
        store_setting(record.settings, keyword, 0xA1B2C300u | static_cast<std::uint32_t>(keyword));
  }
  EXPECT_EQ(stored, 40);
  EXPECT_EQ(Hex(record.settings),
            "01151f0308c3b2a1090c0e120f10111318191d1e2139242526292a2c2b2e42323334350037c3b2a11700"
            "413a3b303e3f");
  for (int keyword = 0; keyword < kKeywordCount; ++keyword) {
    EXPECT_EQ(read_setting(record.settings, keyword).value_or(keyword) & 0xFFu,
              static_cast<std::uint32_t>(keyword));
  }
  std::memset(&record.settings, 0xEE, sizeof record.settings);
  reset_settings(record.settings);
  EXPECT_EQ(Hex(record.settings),
            "00000101010000000000010100000000010100010003010000eeee0103000001030100ee120000000100"
            "000301010103");
}

// A port's fields beside its settings block in one line: module, net/bus/link/DISCH group,
// permanent mark, first monitor, name|icon colour, preset, id, path|COR PTT RING lamps, both
// steps, pending partner/bus, TX_LEVEL, prompt delay/language.
std::string Fields(const PortRecord& r) {
  std::ostringstream s;
  s << r.mod_type << ' ' << r.net << '/' << r.bus << '/' << r.bus_link << '/' << r.disch_group
    << ' ' << +r.perm_conn << ' ' << +r.monitors[0] << ' ' << r.port_name << '|' << +r.icon_color
    << ' ' << +r.icon_preset << ' ' << r.icon_id << ' ' << r.icon_path << '|' << +r.cor_active
    << +r.ptt_active << +r.ring_active << ' ' << r.disch_step << ' ' << r.connect_step << ' '
    << r.pending_partner << '/' << r.pending_bus << ' ' << +r.settings.tx_level << ' '
    << +r.settings.prompt_delay << '/' << +r.settings.prompt_lang;
  return s.str();
}

TEST(DeviceModel, FreshAndResetPortsHoldNoModuleAndTheResetValues) {
  DeviceModel fresh;
  EXPECT_EQ(fresh.format_version(), 7u);
  for (int port = 0; port < kPortCount; ++port) {
    // No module, net, bus, link, DISCH group, monitor, name, custom icon or pending partner;
    // the gray preset icon.
    EXPECT_EQ(Fields(RecordOf(fresh, port)), "0 65/65/65/65 0 129 |0 1 -1 |000 0 0 129/65 3 0/0");
    EXPECT_EQ(Hex(RecordOf(fresh, port).settings), kResetSettings) << port;
  }
  for (const bool keep : {true, false}) {
    DeviceModel model;
    PortRecord record;
    std::memset(&record, 0x11, sizeof record);  // a port in use in every field
    std::strcpy(record.port_name, "Dispatch");
    std::strcpy(record.icon_path, "/icons/tower.bmp");
    model.SetPort(4, record);
    model.Reset(keep);
    // Cleared: module, bus, link, DISCH group, monitors, TX_LEVEL, COR, PTT, both steps and the
    // pending partner and bus. Renumbering, not the reset, clears a net; the permanent mark,
    // ringing and the prompt settings stay. Names and icons stay only when asked.
    EXPECT_EQ(Fields(RecordOf(model, 4)),
              keep ? "0 4369/65/65/65 17 129 Dispatch|17 17 286331153 /icons/tower.bmp|0017 0 0 "
                     "129/65 3 17/17"
                   : "0 4369/65/65/65 17 129 |0 1 -1 |0017 0 0 129/65 3 17/17");
  }
}

TEST(DeviceModel, PortsOutsideTheTableCopyNothing) {
  DeviceModel model;
  PortRecord record{};
  std::memset(&record, 0x5A, sizeof record);
  const auto untouched = ImageOf(record);
  for (int port : {-1, 26, 129}) {
    EXPECT_FALSE(model.GetPort(port, record)) << port;
    EXPECT_FALSE(model.SetPort(port, record)) << port;
    EXPECT_FALSE(model.SetSetting(port, kw::TX_LEVEL, 1)) << port;
    EXPECT_FALSE(model.HasModule(port)) << port;
    EXPECT_EQ(model.MonitorCount(port), 0) << port;
  }
  EXPECT_EQ(ImageOf(record), untouched);
  EXPECT_EQ(model.CountModules(), 0);
}

TEST(DeviceModel, SetSettingDialModeRuleAndIndicatorBits) {
  DeviceModel model;
  EXPECT_TRUE(model.SetSetting(25, kw::TX_LEVEL, 0x105));
  EXPECT_TRUE(model.SetSetting(25, kw::SQUELCH_TYPE, 17));
  const ModuleSettings set = RecordOf(model, 25).settings;
  EXPECT_EQ(std::pair(int{set.tx_level}, set.squelch_type), std::pair(5, 17u));
  // "DTMF" is tone dialling; "PULSE" and any other word pulse dialling.
  for (const auto& [word, stored] : {std::pair{20u, 0}, {19u, 1}, {1u, 0}}) {
    EXPECT_TRUE(model.SetSetting(3, kw::DIAL_MODE, word));
    EXPECT_EQ(RecordOf(model, 3).settings.dial_mode, stored) << word;
  }
  const auto before = ImageOf(RecordOf(model, 3));
  EXPECT_FALSE(model.SetSetting(3, kw::CONNECT_S, 1));
  EXPECT_FALSE(model.SetSetting(3, kw::MEK_SQUELCH_TYPE, 24));
  EXPECT_EQ(ImageOf(RecordOf(model, 3)), before);

  for (int port : {0, 12, 25}) {
    PortRecord record = RecordOf(model, port);
    record.cor_active = record.ptt_active = record.ring_active = 1;
    model.SetPort(port, record);
  }
  const auto lamps = [&](int port) {
    const PortRecord r = RecordOf(model, port);
    return std::to_string(r.cor_active) + std::to_string(r.ptt_active) +
           std::to_string(r.ring_active);
  };
  model.ClearCorBits();
  EXPECT_EQ(lamps(12), "011");
  model.ClearPttBits();
  EXPECT_EQ(lamps(0) + lamps(25), "001001");
}

std::vector<int> Monitors(const PortRecord& record) {
  std::vector<int> entries;
  for (int i = 0; i < 27 && record.monitors[i] != 129; ++i) entries.push_back(record.monitors[i]);
  return entries;
}

// Removing moves the last entry into the gap. A record from a damaged file may have no end mark
// at all: nothing may read past the list.
TEST(MonitorList, ArrivalOrderTwentySixPortsAndAListWithoutEndMark) {
  DeviceModel model;
  PortRecord record = RecordOf(model, 8);
  for (int port : {4, 9, 11}) EXPECT_TRUE(AddMonitor(record, port));
  model.SetPort(8, record);
  EXPECT_EQ(model.MonitorCount(8), 3);
  EXPECT_TRUE(model.IsMonitoring(8, 9));
  EXPECT_FALSE(model.IsMonitoring(9, 8));
  EXPECT_TRUE(RemoveMonitor(record, 4));
  EXPECT_EQ(Monitors(record), (std::vector<int>{11, 9}));
  EXPECT_FALSE(RemoveMonitor(record, 4));

  record = RecordOf(model, 0);
  EXPECT_FALSE(AddMonitor(record, 26));
  EXPECT_FALSE(AddMonitor(record, -1));
  for (int port = 0; port < 26; ++port) ASSERT_TRUE(AddMonitor(record, port));
  EXPECT_FALSE(AddMonitor(record, 3));
  EXPECT_EQ(Monitors(record).size(), 26u);
  for (auto& slot : record.monitors) slot = 5;
  record.monitors[26] = 6;
  model.SetPort(0, record);
  EXPECT_EQ(model.MonitorCount(0), 27);
  EXPECT_TRUE(model.IsMonitoring(0, 6));
  EXPECT_FALSE(AddMonitor(record, 1));
  EXPECT_TRUE(RemoveMonitor(record, 6));
  EXPECT_EQ(record.monitors[26], 129);
}

TEST(TextField, ACutNeverSplitsACharacter) {
  const struct {
    std::string text;
    std::size_t bytes;
    std::string kept;
  } cases[] = {
      {"LINE-7", 21, "LINE-7"},
      {"Zentrale Müllerstraße 5", 21, "Zentrale Müllerstra"},  // "ß" would need bytes 20-21
      {"abcü", 4, "abc"},
      {"ab\xF0\x9F\x93\x9E", 5, "ab"},  // a four-byte character
      {"ab\xF0\x9F\x93\x9E", 6, "ab\xF0\x9F\x93\x9E"},
      {std::string(10, '\x80'), 4, std::string(4, '\x80')},  // no UTF-8: cut at the size
  };
  for (const auto& c : cases) EXPECT_EQ(FitText(c.text, c.bytes), c.kept) << c.text;
  EXPECT_EQ(CountCharacters("€€"), 2u);
}

TEST(TextField, A300BytePortNameIsKeptUpToItsLastWholeCharacter) {
  std::string name;
  for (int i = 0; i < 150; ++i) name += "ä";  // 300 bytes
  PortRecord record{};
  StoreText(record.port_name, name);
  EXPECT_EQ(std::string(record.port_name), name.substr(0, 254));
  EXPECT_EQ(record.port_name[254], '\0');

  // A full field read from a file ends on a whole character too.
  std::memcpy(record.icon_path, name.data(), sizeof record.icon_path);
  TerminateText(record.icon_path);
  EXPECT_EQ(std::string(record.icon_path), name.substr(0, 254));
}

}  // namespace
}  // namespace mav
