// The device model: the port record as the bytes of a configuration file record (where each
// settings keyword's value lands, what an unreported port holds, what the reset, setters and
// monitor lists change), text cut on a character boundary so it reads back as valid UTF-8, the
// searches over the port table, the nets kept consistent with the gateway's bus assignment, the
// commands waiting for the gateway's reply, and the configuration files on disk (format 7 at its
// literal offsets, a hand-made format-6 file converted, the files that are refused).
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "RecordImage.h"
#include "model/ConfigFile.h"
#include "model/PendingTable.h"
#include "model/SettingsFields.h"
#include "model/TextField.h"
#include "support/FileBytes.h"
#include "support/ScratchDirectory.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

using test::Bytes;
using test::get_i32;
using test::get_text;
using test::ImageOf;
using test::Place;
using test::put_i32;
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
    EXPECT_FALSE(model.GetPort(port, record) || model.SetPort(port, record) ||
                 model.SetSetting(port, kw::TX_LEVEL, 1) || model.HasModule(port) ||
                 model.MonitorCount(port) != 0)
        << port;
  }
  EXPECT_TRUE(ImageOf(record) == untouched && model.CountModules() == 0);
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
  EXPECT_FALSE(model.SetSetting(3, kw::CONNECT_S, 1) ||
               model.SetSetting(3, kw::MEK_SQUELCH_TYPE, 24));
  EXPECT_EQ(ImageOf(RecordOf(model, 3)), before);

  for (int port : {0, 12, 25}) {
    model.Update(port, [](PortRecord& r) { r.cor_active = r.ptt_active = r.ring_active = 1; });
  }
  const auto lamps = [&](int port) {
    const PortRecord r = RecordOf(model, port);
    return std::to_string(r.cor_active) + std::to_string(r.ptt_active) +
           std::to_string(r.ring_active);
  };
  model.ClearCorBits();
  const std::string after_cor = lamps(12);
  model.ClearPttBits();
  EXPECT_EQ(after_cor + lamps(0) + lamps(25), "011001001");
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
  EXPECT_EQ(std::tuple(model.MonitorCount(8), model.IsMonitoring(8, 9), model.IsMonitoring(9, 8)),
            std::tuple(3, true, false));
  EXPECT_TRUE(RemoveMonitor(record, 4));
  EXPECT_EQ(Monitors(record), (std::vector<int>{11, 9}));
  EXPECT_FALSE(RemoveMonitor(record, 4));

  record = RecordOf(model, 0);
  EXPECT_FALSE(AddMonitor(record, 26) || AddMonitor(record, -1));
  for (int port = 0; port < 26; ++port) ASSERT_TRUE(AddMonitor(record, port));
  EXPECT_FALSE(AddMonitor(record, 3));
  EXPECT_EQ(Monitors(record).size(), 26u);
  for (auto& slot : record.monitors) slot = 5;
  record.monitors[26] = 6;
  model.SetPort(0, record);
  EXPECT_EQ(std::pair(model.MonitorCount(0), model.IsMonitoring(0, 6)), std::pair(27, true));
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
  // A full field read from a file ends on a whole character too.
  std::memcpy(record.icon_path, name.data(), sizeof record.icon_path);
  TerminateText(record.icon_path);
  EXPECT_EQ(std::string(record.port_name) + "|" + record.icon_path,
            name.substr(0, 254) + "|" + name.substr(0, 254));
}

constexpr int kNone = GROUP_NONE;

struct Placed {
  int port;
  test::Placement placement;
};

DeviceModel& PlaceAll(DeviceModel& model, const std::vector<Placed>& ports) {
  for (const auto& [port, placement] : ports) Place(model, port, placement);
  return model;
}

TEST(PortQueries, CountsAndLowestFreeNumbers) {
  DeviceModel model;
  Place(model, 7, {.bus = 0, .net = 1, .mod_type = MOD_NONE});  // numbers but no module
  EXPECT_EQ((std::vector{model.CountModules(), model.CountOnBus(0), model.CountInNet(1),
                         model.LowestFreeBus(), model.LowestFreeNet()}),
            (std::vector{0, 0, 0, 1, 2}));
  Place(model, 12, {});  // the upper half of the gateway starts at port 13
  EXPECT_EQ(std::pair(model.CountModules(), model.AnyModuleInUpperHalf()), std::pair(1, false));
  Place(model, 13, {});
  EXPECT_TRUE(model.AnyModuleInUpperHalf());

  // A later port may hold the number an earlier one pushed the candidate to.
  // clang-format off
  PlaceAll(model, {{0, {.bus = 1, .link = 2, .net = 2, .disch = 1}},
                   {1, {.bus = 0, .link = 1, .net = 1, .disch = 0}},
                   {2, {.bus = 2, .link = 0, .net = 3, .disch = 2}}});
  // clang-format on
  EXPECT_EQ((std::vector{model.LowestFreeBus(), model.LowestFreeLink(), model.LowestFreeNet(),
                         model.LowestFreeDischGroup()}),
            (std::vector{3, 3, 4, 3}));
}

TEST(PortQueries, NetLookupsPartnersAndGroupMembers) {
  DeviceModel model;
  // clang-format off
  PlaceAll(model, {{3, {.bus = 4, .link = 1, .net = 2, .disch = 0}},
                   {5, {.bus = 6, .link = 2, .net = 2}},
                   {9, {.bus = 6, .link = 2, .net = 2}}, {11, {.link = 3}}});
  // clang-format on
  // Net 2's bus and link come from its first port; port 3 is held in a DISCH group. "No group"
  // is never a group, although most ports hold it.
  EXPECT_EQ((std::vector{model.BusOfNet(2), model.LinkOfNet(2), model.CountInNet(2),
                         model.CountOnBus(6), model.FirstFreePortOfNet(2), model.BusOfNet(5),
                         model.LinkOfBus(6), model.CountOnBus(kNone), model.CountInNet(kNone),
                         model.LinkOfBus(kNone), model.FirstFreePortOfNet(kNone)}),
            (std::vector{4, 1, 3, 2, 5, kNone, 2, 0, 0, kNone, int{PORT_NONE}}));

  DeviceModel linked;
  // clang-format off
  PlaceAll(linked, {{1, {.bus = 1, .link = 4}}, {2, {.bus = 0, .link = 4}},
                    {4, {.bus = 0, .link = 4, .disch = 1}},  // held: never a partner
                    {6, {.bus = 0, .link = 4}}, {10, {.link = 4}}, {11, {.bus = 3}},
                    {14, {.disch = 2}}, {17, {.disch = 2, .mod_type = MOD_NONE}}});
  // clang-format on
  // On the bus first, then the first free port along the link.
  EXPECT_EQ((std::vector{linked.FindPartner(6), linked.FindPartner(2), linked.FindPartner(1)}),
            (std::vector{2, 6, 2}));
  for (int port : {10, 11, -1, 26}) EXPECT_EQ(linked.FindPartner(port), PORT_NONE) << port;
  EXPECT_EQ(linked.OtherGroupMember(14), -1);  // a slot without module is no member
  Place(linked, 19, {.disch = 2});
  EXPECT_EQ(std::pair(linked.OtherGroupMember(14), linked.OtherGroupMember(19)), std::pair(19, 14));
  Place(linked, 20, {.disch = 2});
  EXPECT_EQ(linked.OtherGroupMember(14), -1);  // only a single partner is named
  for (int port : {12, 30}) EXPECT_EQ(linked.OtherGroupMember(port), -1);
}

// A port's bus, link and net once renumbering has settled.
void ExpectGroups(const DeviceModel& model,
                  const std::vector<std::tuple<int, int, int, int>>& want) {
  for (const auto& [port, bus, link, net] : want) {
    const PortRecord r = RecordOf(model, port);
    EXPECT_EQ(std::tuple(r.bus, r.bus_link, r.net), std::tuple(bus, link, net)) << "port " << port;
  }
}

std::vector<test::RecordImage> Images(const DeviceModel& model) {
  std::vector<test::RecordImage> images;
  for (int port = 0; port < kPortCount; ++port)
    images.push_back(test::ImageOf(RecordOf(model, port)));
  return images;
}

TEST(RenumberNets, SettlesBusesLinksAndNets) {
  struct Case {
    const char* what;
    std::vector<Placed> before;
    std::vector<std::tuple<int, int, int, int>> after;  // port, bus, link, net
  };
  // clang-format off
  const Case cases[] = {
      {"new buses take the lowest free net in bus order",
       {{0, {.bus = 3}}, {1, {.bus = 5}}, {2, {.bus = 3}}, {3, {.bus = 5}},
        {4, {.bus = 0, .net = 2}}, {5, {.bus = 0, .net = 2}}},
       {{0, 3, kNone, 1}, {2, 3, kNone, 1}, {1, 5, kNone, 3}, {3, 5, kNone, 3}, {4, 0, kNone, 2}}},
      {"a bus merges into its lowest net",
       {{6, {.bus = 1, .net = 4}}, {7, {.bus = 1, .net = 2}}, {8, {.bus = 1}}},
       {{6, 1, kNone, 2}, {7, 1, kNone, 2}, {8, 1, kNone, 2}}},
      {"a port on no bus loses net and link",
       {{9, {.link = 1, .net = 3}}}, {{9, kNone, kNone, kNone}}},
      {"a one-module bus is dissolved; an empty slot hears nothing",
       {{3, {.bus = 2, .net = 1}}, {4, {.bus = 2, .mod_type = MOD_NONE}}},
       {{3, kNone, kNone, kNone}}},
      // Its old net dies with the move; the next pass gives it the net of its new bus.
      {"a linked lone port moves to its link's bus and joins that net",
       {{0, {.bus = 4, .link = 0, .net = 1}}, {1, {.bus = 2, .link = 0, .net = 2}},
        {2, {.bus = 2, .link = 0, .net = 2}}},
       {{0, 2, 0, 2}, {1, 2, 0, 2}, {2, 2, 0, 2}}},
      {"a linked lone port with no other bus on its link is released",
       {{5, {.bus = 1, .link = 3, .net = 1}}}, {{5, kNone, kNone, kNone}}},
      {"two buses on one link keep their own nets",
       {{0, {.bus = 0, .link = 1}}, {1, {.bus = 0, .link = 1}}, {2, {.bus = 1, .link = 1}},
        {3, {.bus = 1, .link = 1}}},
       {{0, 0, 1, 1}, {1, 0, 1, 1}, {2, 1, 1, 2}, {3, 1, 1, 2}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeviceModel model;
    PlaceAll(model, c.before).RenumberNets();
    ExpectGroups(model, c.after);
    const auto settled = Images(model);  // a settled table stays as it is
    model.RenumberNets();
    EXPECT_EQ(Images(model), settled);
  }
}

TEST(RenumberNets, TheEighthNetGetsNoNumberUntilOneIsFreed) {
  DeviceModel model;
  for (std::int16_t bus = 0; bus < 8; ++bus)
    PlaceAll(model, {{2 * bus, {bus}}, {2 * bus + 1, {bus}}});
  model.RenumberNets();
  for (int bus = 0; bus < 7; ++bus) ExpectGroups(model, {{2 * bus, bus, kNone, bus + 1}});
  ExpectGroups(model, {{14, 7, kNone, kNone}, {15, 7, kNone, kNone}});  // connected, unnumbered
  Place(model, 0, {});  // bus 0 and net 1 are left with one module
  model.RenumberNets();
  ExpectGroups(model, {{1, kNone, kNone, kNone}, {14, 7, kNone, 1}, {15, 7, kNone, 1}});
}

// Tables read from damaged files or odd gateway reports must not hang or overrun anything. A
// linked bus held only by a port without a module keeps pulling a lone module back; bus numbers
// no gateway uses count as no bus.
TEST(RenumberNets, DamagedTablesStillReturn) {
  DeviceModel model;
  // clang-format off
  PlaceAll(model, {{0, {.bus = 5, .link = 0, .net = 3, .mod_type = MOD_NONE}},
                   {1, {.bus = 2, .link = 0, .net = 1}}, {2, {.bus = 40, .net = 2}},
                   {3, {.bus = -3, .net = 2}}, {4, {.bus = 29, .net = 120}},
                   {5, {.bus = 29, .net = -7}}});
  // clang-format on
  model.RenumberNets();
  EXPECT_EQ(std::tuple(RecordOf(model, 2).bus, RecordOf(model, 3).net, RecordOf(model, 4).net),
            std::tuple(kNone, kNone, RecordOf(model, 5).net));
}

// "data1/data2 " of the entry Take hands back, or "- " when it finds none.
std::string Taken(PendingTable& table, std::uint8_t kind, std::uint8_t port) {
  std::uint8_t data1 = 0, data2 = 0;
  if (!table.Take(kind, port, data1, data2)) return "- ";
  return std::to_string(data1) + "/" + std::to_string(data2) + " ";
}

TEST(PendingTable, LowerSlotFirstAndAFullTableLosesTheEntry) {
  PendingTable table;
  ASSERT_TRUE(table.Add(1, 4, 2, 0) && table.Add(3, 4, 6, 9) && table.Add(1, 4, 5, 0));
  std::string taken;
  for (std::uint8_t kind : {1, 1, 1, 3}) taken += Taken(table, kind, 4);
  // A freed slot is reused before higher ones, even below an older entry for the same port.
  table.Add(1, 1, 10, 0);
  table.Add(1, 2, 20, 0);
  Taken(table, 1, 1);
  table.Add(1, 2, 30, 0);
  // Kind zero marks a free slot and is never stored.
  EXPECT_FALSE(table.Add(0, 5, 1, 1));
  EXPECT_EQ(taken + Taken(table, 1, 2) + Taken(table, 0, 0), "2/0 5/0 - 6/9 30/0 - ");

  table.Clear();
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(table.Add(1, i % 26 & 0xFF, i & 0xFF, 0));
  EXPECT_FALSE(table.Add(3, 7, 1, 1));
  taken = Taken(table, 3, 7) + Taken(table, 1, 25);
  EXPECT_TRUE(table.Add(3, 7, 1, 1));
  table.Clear();
  EXPECT_EQ(taken + Taken(table, 1, 0), "- 25/0 - ");
}

Configuration sample() {
  Configuration config;
  config.mek_squelch_type = 24;
  for (int p = 0; p < kPortCount; ++p) {
    PortRecord& record = config.ports[static_cast<std::size_t>(p)];
    record.mod_type = static_cast<std::uint32_t>(p % 6);
    std::snprintf(record.port_name, sizeof record.port_name, "Port %d", p);
  }
  config.ports[3].settings.radio_type = 9;
  config.ports[3].settings.squelch_type = 0x01020304;
  std::memcpy(config.pin_table.data(), "Dispatch", 8);
  config.pin_table[32] = 0xD2;  // PIN 1234, little-endian
  config.pin_table[33] = 0x04;
  config.security_mode = 12;
  return config;
}

TEST(ConfigFile, WrittenFileHasEveryFieldAtItsOffset) {
  const test::ScratchDirectory dir;
  ASSERT_TRUE(WriteConfiguration(dir / "a.mav", sample()));
  const Bytes bytes = test::read_bytes(dir / "a.mav");
  ASSERT_EQ(bytes.size(), 16953u);
  // format, squelch word, mod_type of ports 0, 5 and 25, port 3's SQUELCH_TYPE
  for (const auto& [offset, value] : {std::pair{0, 7},
                                      {4, 24},
                                      {8, 0},
                                      {8 + 624 * 5, 5},
                                      {8 + 624 * 25, 1},
                                      {8 + 624 * 3 + 76, 0x01020304}}) {
    EXPECT_EQ(get_i32(bytes, offset), value) << offset;
  }
  // RADIO_TYPE of port 3, the PIN and the security mode
  EXPECT_EQ((Bytes{bytes[8 + 624 * 3 + 70], bytes[16264], bytes[16265], bytes[16952]}),
            (Bytes{9, 0xD2, 0x04, 12}));
  EXPECT_EQ(get_text(bytes, 8 + 624 * 7 + 88) + "|" + get_text(bytes, 8 + 624 * 25 + 88) + "|" +
                get_text(bytes, 16232),
            "Port 7|Port 25|Dispatch");
  EXPECT_FALSE(std::filesystem::exists(dir / "a.mav.tmp"));

  Configuration back;
  ASSERT_EQ(ReadConfiguration(dir / "a.mav", back), ConfigFileStatus::Read);
  EXPECT_EQ(EncodeConfiguration(back), bytes);
}

// A format-6 file made by hand: port 2's settings tail holds distinct marker bytes.
TEST(ConfigFile, FormatSixRecordsMoveTheirSettingsBytes) {
  Bytes bytes(16949, 0);
  put_i32(bytes, 0, 6);
  const std::size_t record = 4 + 624 * 2;
  put_i32(bytes, record, 3);  // LINE-7
  bytes[record + 67] = 4;     // LINE_TYPE, normalised to 1
  for (std::size_t offset = 70; offset < 88; ++offset) bytes[record + offset] = offset & 0xFF;
  bytes[record + 81] = 9;  // RADIO_TYPE
  test::put_text(bytes, record + 88, "Old line");
  test::put_text(bytes, 16228, "Supervisor");
  bytes[16948] = 13;
  const test::ScratchDirectory dir;
  test::write_bytes(dir / "old.mav", bytes);

  Configuration config;
  ASSERT_EQ(ReadConfiguration(dir / "old.mav", config), ConfigFileStatus::Read);
  const Bytes image = EncodeConfiguration(config);
  const std::size_t converted = 8 + 624 * 2;
  EXPECT_EQ(image[converted + 67], 1);
  EXPECT_EQ(Bytes(image.begin() + converted + 70, image.begin() + converted + 88),
            (Bytes{9, 70, 71, 72, 73, 0, 76, 77, 78, 79, 80, 0, 0, 82, 83, 84, 85, 86}));
  EXPECT_EQ(std::tuple(get_i32(image, converted), get_text(image, converted + 88),
                       get_text(image, 16232), int{image[16952]}),
            std::tuple(3, "Old line", "Supervisor", 13));
}

TEST(ConfigFile, OtherVersionsAndShortFilesAreRefused) {
  const test::ScratchDirectory dir;
  const Bytes valid = EncodeConfiguration(sample());
  std::string read;  // r: read, i: incompatible, with the missing file last
  for (const auto& [version, size] : {std::pair{8, 16953},
                                      {5, 16953},
                                      {7, 0},
                                      {7, 3},
                                      {7, 16952},
                                      {6, 16948},
                                      {6, 16949},
                                      {7, 20000}}) {
    Bytes bytes = valid;
    bytes.resize(static_cast<std::size_t>(size));
    if (size >= 4) put_i32(bytes, 0, version);
    test::write_bytes(dir / "f.mav", bytes);
    Configuration config;
    const ConfigFileStatus status = ReadConfiguration(dir / "f.mav", config);
    read += status == ConfigFileStatus::Read           ? 'r'
            : status == ConfigFileStatus::Incompatible ? 'i'
                                                       : '?';
  }
  Configuration config;
  EXPECT_EQ(std::pair(read, ReadConfiguration(dir / "missing.mav", config)),
            std::pair(std::string("iiiiiirr"), ConfigFileStatus::CannotOpen));
}

}  // namespace
}  // namespace mav
