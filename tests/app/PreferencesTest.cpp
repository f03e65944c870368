// What the program keeps between runs: the preferences file byte by byte in both directions (older
// layouts moved into place, unknown versions replaced, short and corrupt files survived), the site
// list file (records found by address and port, overwritten in place or appended, older records
// converted) with the port names and icons it carries, the stored network sites, the
// recent-connection list, the retries after a network drop, the connection indicator's text and
// what the address fields take.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <sstream>

#include "app/AddressFields.h"
#include "app/ConnectionIndicator.h"
#include "app/ConnectionLists.h"
#include "app/SiteNames.h"
#include "app/SitesFile.h"
#include "engine/Reconnection.h"
#include "preferences/PreferenceSections.h"
#include "preferences/PreferencesCodec.h"
#include "preferences/PreferencesFile.h"
#include "preferences/ProtectionReader.h"
#include "support/FileBytes.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using test::Bytes;
using test::get_i32;
using test::get_text;

// Literal bytes at a literal offset of the file.
struct Put {
  std::size_t offset;
  Bytes bytes;
};
Bytes T(const std::string& text) {  // a text field with its NUL
  return Bytes(text.c_str(), text.c_str() + text.size() + 1);
}
Bytes I32(std::int32_t value) {
  Bytes bytes(4);
  test::put_i32(bytes, 0, value);
  return bytes;
}
Bytes Image(std::size_t size, const std::vector<Put>& puts) {
  Bytes image(size, 0);
  for (const Put& put : puts)
    std::copy(put.bytes.begin(), put.bytes.end(), image.begin() + put.offset);
  return image;
}

// A colour as the file keeps it: red + 256 x green + 65536 x blue.
unsigned Colour(const Rgb& c) {
  return c.red | c.green << 8 | c.blue << 16;
}

// Every field in one line, so that a whole record compares against one literal.
std::string Summary(const Preferences& p) {
  const Protection& guard = p.protection;
  std::ostringstream s;
  s << +p.auto_save_slot << ' ' << +p.screen_size << ' ' << std::hex << Colour(p.colors.background)
    << '/' << Colour(p.colors.grid) << std::dec << ' ' << p.serial_port_name << ' ' << p.serial_baud
    << ' ' << p.log_file_name << ' ' << guard.password << '|' << p.custom_title << "| "
    << p.use_custom_title << p.auto_connect << ' ';
  for (bool on :
       {p.sound_on, guard.permanent_connections, guard.pin_settings, guard.module_settings,
        p.cor_reporting, p.ptt_reporting, p.right_button_disconnects, p.voice_prompts,
        p.auto_indicator_switching, p.show_exit_reminder}) {
    s << on;
  }
  s << ' ' << p.animation_delay << " dial";
  for (const DialEntry& d : p.dial_list) s << ' ' << d.number << ':' << d.description;
  s << " net" << p.network_mode << " site" << p.selected_site;
  for (const NetworkSite& site : p.sites) {
    s << ' ' << +site.address[0] << '.' << +site.address[1] << '.' << +site.address[2] << '.'
      << +site.address[3] << ':' << site.port << ':' << site.description;
  }
  s << " recent";
  for (const RecentConnection& r : p.recent) {
    s << ' ' << r.is_serial << r.serial_name << ':' << r.baud << ':' << r.site_index;
  }
  const auto& pin = p.pin_table_image;
  s << " hover" << p.hover_descriptions << " pin "
    << test::get_text(Bytes(pin.begin(), pin.end()), 0) << '/' << (pin[32] | pin[33] << 8) << '/'
    << +pin[34];
  return s.str();
}

constexpr const char* kDefaults =
    "0 0 4c321f/679bb9 COM1 9600 MAVPCI1.log |MAV Controller - Orvane Systems| 00 1000111111 500 "
    "dial net0 site0 recent hover1 pin /0/10";

class PreferencesFile : public ::testing::Test {
 protected:
  PreferencesOrigin load(Preferences& prefs) { return load_preferences(file, prefs); }
  Bytes bytes() const { return test::read_bytes(file); }

  test::ScratchDirectory dir;
  const std::filesystem::path file = dir / "MAV_Controller.cfg";
};

TEST_F(PreferencesFile, CurrentLayoutIsReadAndWrittenAtItsOffsets) {
  // clang-format off
  const std::vector<Put> puts = {
      {0, {27, 1, 2}}, {4, I32(0x102030)}, {8, I32(0x405060)}, {12, T("/dev/ttyUSB0")},
      {272, I32(115200)}, {276, T("Night.log")}, {536, T("secret")}, {796, T("Dispatch")},
      {1056, {1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 0x8A, 0x02}}, {1070, T("5551234")},
      {1092, T("911")}, {2170, T("Depot")}, {3270, {2, 1}}, {3272, I32(2)}, {3276, I32(1)},
      {3280, T("North")}, {27280, {10, 0, 0, 7, 127, 0, 0, 1}}, {29280, I32(2300)},
      {29284, I32(23)}, {31312, I32(1)}, {31316, {1, 'C', 'O', 'M', '3', 0}}, {31344, I32(9600)},
      {31640, I32(2)}, {31648, T("Alice")}, {31680, {0xD2, 0x04, 3}}};
  // clang-format on
  test::write_bytes(file, Image(32368, puts));
  Preferences prefs;
  EXPECT_EQ(load(prefs), PreferencesOrigin::Current);
  EXPECT_EQ(Summary(prefs),
            "1 2 102030/405060 /dev/ttyUSB0 115200 Night.log secret|Dispatch| 11 0101101010 650 "
            "dial 5551234:Depot 911: net1 site1 10.0.0.7:2300:North 127.0.0.1:23: "
            "recent 0:0:1 1COM3:9600:0 hover0 pin Alice/1234/3");
  std::filesystem::remove(file);
  ASSERT_TRUE(save_preferences_file(file, prefs));
  EXPECT_EQ(bytes(), Image(32368, puts));
  EXPECT_FALSE(std::filesystem::exists(dir / "MAV_Controller.cfg.tmp"));
}

TEST_F(PreferencesFile, OlderLayoutsAndShortFilesAreReadAsFarAsTheyGo) {
  const std::vector<Put> v18 = {{0, {18}}, {12, T("COM2")}, {3265, {1, 192, 168, 1, 20}}};
  const std::tuple<std::size_t, std::vector<Put>, PreferencesOrigin, const char*> cases[] = {
      // clang-format off
      {31996, {{0, {23, 1, 1}}, {4, I32(0x102030)}, {8, I32(0x405060)}, {12, T("COM3")},
               {272, T("Night.log")}, {532, T("secret")}, {792, T("Tower")},
               {1052, {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 200, 0}}, {1066, T("5551234")},
               {1088, T("911")}, {2166, T("Depot")}, {3266, {2, 1}}, {3268, I32(2)}, {3272, I32(1)},
               {3276, T("North")}, {27276, {10, 0, 0, 7, 127, 0, 0, 1}}, {29276, I32(2300)},
               {29280, I32(23)}, {31276, T("Alice")}, {31308, {0xD2, 0x04, 3}}},
       PreferencesOrigin::Converted,  // the slot of an old file is the default
       "0 1 102030/405060 COM3 9600 Night.log secret|Tower| 11 0000010000 200 dial 5551234:Depot "
       "911: net1 site1 10.0.0.7:2300:North 127.0.0.1:23: recent hover1 pin Alice/1234/3"},
      {31996, {{0, {21}}, {792, T("Tower")}, {1052, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0xC2, 0x01}},
               {1064, T("123")}, {3264, {1, 0}}, {3268, I32(1)}, {27276, {192, 168, 1, 9}},
               {29276, I32(4000)}},
       PreferencesOrigin::Converted,
       "0 0 0/0  9600  |Tower| 00 1000000001 450 dial 123: net0 site0 192.168.1.9:4000: recent "
       "hover1 pin /0/0"},
      // clang-format on
      {3272, v18, PreferencesOrigin::Converted,
       "0 0 0/0 COM2 9600  || 00 0000000000 0 dial net1 site0 192.168.1.20:23: recent hover1 pin "
       "/0/10"},
      {3272,
       {v18[0], v18[1], {3265, {0, 192, 168, 1, 20}}},
       PreferencesOrigin::Converted,
       "0 0 0/0 COM2 9600  || 00 0000000000 0 dial net0 site0 recent hover1 pin /0/10"},
      {3272,
       {{0, {17}}, v18[1], v18[2]},
       PreferencesOrigin::Converted,
       "0 0 0/0 COM2 9600  || 00 0000000000 0 dial net0 site0 recent hover1 pin /0/10"},
      {1100,
       {{0, {27, 1, 2}}, {12, T("COM4")}, {1058, {0}}},
       PreferencesOrigin::Current,
       "1 2 0/0 COM4 0  || 00 0000000000 0 dial net0 site0 recent hover1 pin /0/10"},
  };
  for (const auto& [size, puts, origin, summary] : cases) {
    test::write_bytes(file, Image(size, puts));
    Preferences prefs;
    const PreferencesOrigin loaded = load(prefs);
    EXPECT_EQ(std::pair(loaded, Summary(prefs)), std::pair(origin, std::string(summary)));
    if (origin == PreferencesOrigin::Converted) {
      EXPECT_EQ(bytes(), encode_preferences(prefs));  // rewritten in the current layout
    }
  }
}

TEST_F(PreferencesFile, FirstStartAndUnknownVersionsWriteTheDefaults) {
  for (int version : {-1, 0, 16, 19, 20, 22, 24, 25, 26, 28, 255}) {  // -1: no file yet
    if (version >= 0) {
      Bytes other(32368, 0xAB);
      other[0] = static_cast<std::uint8_t>(version);
      test::write_bytes(file, other);
    }
    Preferences prefs;
    const PreferencesOrigin loaded = load(prefs);
    EXPECT_EQ(std::pair(loaded, Summary(prefs)),
              std::pair(version < 0 ? PreferencesOrigin::Created : PreferencesOrigin::Replaced,
                        std::string(kDefaults)))
        << version;
    EXPECT_EQ(bytes(), encode_preferences(Preferences{}));
  }
  test::write_bytes(file, {});
  Preferences empty_file;
  EXPECT_EQ(load(empty_file), PreferencesOrigin::Replaced);
}

TEST_F(PreferencesFile, CorruptCountsAndUnterminatedTextsStayInTheirFields) {
  Bytes bad(32368, 0xFF);
  bad[0] = 27;
  bad[3270] = 0x7F;                      // 127 dial entries
  test::put_i32(bad, 3272, 0x7FFFFFFF);  // sites
  test::put_i32(bad, 31640, -3);         // recent entries
  test::write_bytes(file, bad);
  Preferences prefs;
  EXPECT_EQ(load(prefs), PreferencesOrigin::Current);
  EXPECT_EQ((std::vector{prefs.dial_list.size(), prefs.sites.size(), prefs.recent.size(),
                         prefs.serial_port_name.size(), prefs.sites[499].description.size(),
                         prefs.dial_list[49].number.size()}),
            (std::vector<std::size_t>{50, 500, 0, 259, 47, 21}));
  ASSERT_TRUE(save_preferences_file(file, prefs));
  EXPECT_EQ(bytes().size(), 32368u);
}

// The file holds the operator's password: readable by its owner only, and never half written.
TEST_F(PreferencesFile, WritesAreWholeAndPrivate) {
  using std::filesystem::perms;
  const std::filesystem::path temporary = dir / "MAV_Controller.cfg.tmp";
  for (const std::filesystem::path& left_open : {file, temporary}) {
    test::write_bytes(left_open, Bytes(10, 0));
    std::filesystem::permissions(left_open, perms::all);
    ASSERT_TRUE(save_preferences_file(file, Preferences{}));
    EXPECT_EQ(std::filesystem::status(file).permissions(), perms::owner_read | perms::owner_write);
  }
  std::filesystem::remove(file);
  Preferences prefs;
  load(prefs);
  EXPECT_EQ(std::filesystem::status(file).permissions(), perms::owner_read | perms::owner_write);

  const Bytes before = bytes();
  std::filesystem::create_directory(temporary);  // the temporary file cannot be created
  prefs.serial_port_name = "COM3";
  EXPECT_FALSE(save_preferences_file(file, prefs));
  EXPECT_EQ(bytes(), before);
}

// The headless service reads the controller's password and never touches the file.
TEST_F(PreferencesFile, ProtectionIsReadWithoutWriting) {
  const ProgramFolders folders{dir.path(), {}};
  EXPECT_FALSE(read_protection(folders) || std::filesystem::exists(file));
  test::write_bytes(file, Bytes(32368, 28));
  EXPECT_FALSE(read_protection(folders));
  EXPECT_EQ(bytes(), Bytes(32368, 28));

  PreferencesStore store(file);
  store.load({});
  PreferenceSections(store, [] {}).protection().store_protection({"Secret1", true, false, true});
  const auto kept = read_protection(folders).value_or(Protection{});
  EXPECT_EQ(
      (std::vector{kept.asks_for(Guard::PinSettings), kept.asks_for(Guard::PermanentConnections),
                   password_matches("Secret1", kept.password),
                   password_matches("secret1", kept.password)}),
      (std::vector{true, false, true, false}));
}

TEST(SitesFile, FirstMatchingRecordIsOverwrittenAndANewOneAppended) {
  const test::ScratchDirectory dir;
  const auto file = dir / "Sites.cfg";
  for (const auto& [last, port, name] :
       {std::tuple{1, 23, "Alpha"}, {2, 23, "Bravo"}, {1, 24, "Charlie"}, {2, 23, "Delta"}}) {
    const std::uint8_t address[4] = {10, 0, 0, static_cast<std::uint8_t>(last)};
    SiteRecord record = empty_site_record(address, port);
    std::strcpy(record.port_name[0], name);
    ASSERT_TRUE(store_site_record(file, record));
  }
  const Bytes bytes = test::read_bytes(file);
  ASSERT_EQ(bytes.size(), 3u * 20004);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{10, 0, 0, 1, 23, 0, 0, 0}));
  EXPECT_EQ(get_text(bytes, 34) + get_text(bytes, 20004 + 34) +
                std::to_string(get_i32(bytes, 2 * 20004 + 4)),
            "AlphaDelta24");

  const std::uint8_t address[4] = {10, 0, 0, 2};
  EXPECT_STREQ(find_site_record(file, address, 23)->port_name[0], "Delta");
  EXPECT_FALSE(find_site_record(file, address, 25) ||
               find_site_record(dir / "missing.cfg", address, 23));

  Bytes unterminated(20004, 'x');  // address 0.0.0.0, port 0, names without end
  std::memset(unterminated.data(), 0, 8);
  test::write_bytes(file, unterminated);
  const auto found = find_site_record(file, {0, 0, 0, 0}, 0);
  EXPECT_EQ(std::strlen(found.value().port_name[25]) + std::strlen(found->template_names[25]),
            510u);
}

TEST(SitesFile, OldRecordsAreConverted) {
  const test::ScratchDirectory dir;
  const auto file = dir / "Sites.cfg";
  Bytes old(3 * 7236, 0);
  for (std::size_t at : {0u, 7236u}) {
    old[at] = 192, old[at + 1] = 168, old[at + 3] = static_cast<std::uint8_t>(at / 7236 + 1);
    test::put_i32(old, at + 4, 23);
    old[at + 8] = 3;       // port 0 colour
    old[at + 8 + 24] = 7;  // port 24 colour
    test::put_text(old, at + 33, "Gate");
    test::put_text(old, at + 33 + 24 * 32, "Last of 25");
    test::put_text(old, at + 833 + 24 * 256, "Icons/tower.bmp");
  }
  std::memset(old.data() + 2 * 7236 + 8, 'n', 7236 - 8);  // names filling their whole field
  test::write_bytes(file, old);

  EXPECT_TRUE(convert_old_sites_file(file));
  const Bytes bytes = test::read_bytes(file);
  ASSERT_EQ(bytes.size(), 3u * 20004);
  EXPECT_FALSE(std::filesystem::exists(dir / "Sites.tmp"));
  for (std::size_t at : {0u, 20004u}) {
    EXPECT_EQ(Bytes(bytes.begin() + at, bytes.begin() + at + 8),
              (Bytes{192, 168, 0, static_cast<std::uint8_t>(at / 20004 + 1), 23, 0, 0, 0}));
    EXPECT_EQ((Bytes{bytes[at + 8], bytes[at + 8 + 24], bytes[at + 8 + 25]}), (Bytes{3, 7, 0}));
    // Names of ports 0, 24 and 25, icon path and template name of port 24.
    EXPECT_EQ(get_text(bytes, at + 34) + "|" + get_text(bytes, at + 34 + 24 * 256) + "|" +
                  get_text(bytes, at + 34 + 25 * 256) + "|" +
                  get_text(bytes, at + 6690 + 24 * 256) + "|" +
                  get_text(bytes, at + 13346 + 24 * 256),
              "Gate|Last of 25||Icons/tower.bmp|");
  }
  EXPECT_EQ(get_text(bytes, 40008 + 34) + get_text(bytes, 40008 + 6690),
            std::string(32, 'n') + std::string(255, 'n'));

  EXPECT_FALSE(convert_old_sites_file(file));  // current records stay as they are
  EXPECT_EQ(test::read_bytes(file), bytes);
}

void fit(DeviceModel& model, int port, std::uint32_t mod_type, const char* name, int color) {
  model.Update(port, [&](PortRecord& r) {
    r.mod_type = mod_type, r.icon_color = static_cast<std::uint8_t>(color), r.icon_preset = 1;
    std::strcpy(r.port_name, name);
  });
}

// Name, icon colour, preset flag and icon id of each port, joined.
std::string ports(const DeviceModel& model, std::initializer_list<int> list) {
  std::string joined;
  for (int port : list) {
    PortRecord r{};
    model.GetPort(port, r);
    joined += std::string(r.port_name) + ":" + std::to_string(r.icon_color) + ":" +
              std::to_string(r.icon_preset) + ":" + std::to_string(r.icon_id) + " ";
  }
  return joined;
}

TEST(SiteNames, EmptyPortsAreStoredWithoutEntryAndGetTheirModulesShortNameLater) {
  DeviceModel model;
  SiteRecord record = empty_site_record({10, 0, 0, 7}, 23);
  EXPECT_FALSE(capture_port_entries(model, record));  // no module: nothing to keep
  fit(model, 2, MOD_TOV5, "Fire Dispatch", 3);
  ASSERT_TRUE(capture_port_entries(model, record));
  EXPECT_EQ(record.icon_color[5], kNoIconEntry);

  // Later a VOQ-3 is fitted into port 5 and the record is loaded again.
  DeviceModel later;
  fit(later, 2, MOD_TOV5, "TOV-5", 0);
  fit(later, 5, MOD_VOQ3, "VOQ-3", 6);
  apply_port_entries(later, record, {});
  EXPECT_EQ(ports(later, {2, 5}), "Fire Dispatch:3:1:-1 VOQ:0:1:-1 ");

  apply_default_port_names(later);  // without a record: the full model name
  EXPECT_EQ(ports(later, {2, 5, 0}), "TOV-5:0:1:-1 VOQ-3:0:1:-1 ???:0:1:-1 ");
}

TEST(SiteNames, CustomIconThatCannotBeLoadedFallsBackToThePreset) {
  DeviceModel model;
  fit(model, 0, MOD_LINE7, "Line", 1);
  SiteRecord record = empty_site_record({0, 0, 0, 0}, 0);
  record.icon_color[0] = 4;
  std::strcpy(record.port_name[0], "Line");
  std::strcpy(record.icon_path[0], "Icons/missing.bmp");
  std::string asked_for;
  apply_port_entries(model, record, [&](const std::string& path, int) {
    asked_for = path;
    return -1;
  });
  PortRecord r{};
  model.GetPort(0, r);
  EXPECT_EQ(asked_for + "|" + r.icon_path + "|" + ports(model, {0}),
            "Icons/missing.bmp|Icons/missing.bmp|Line:4:1:-1 ");
  apply_port_entries(model, record, [](const std::string&, int) { return 551; });
  EXPECT_EQ(ports(model, {0}), "Line:4:0:551 ");
}

// The recent-connection menu captions, joined with '|'.
std::string labels(const Preferences& prefs) {
  std::string result;
  for (int i = 0; i < static_cast<int>(prefs.recent.size()); ++i)
    result += recent_menu_label(prefs, i) + "|";
  return result;
}

TEST(ConnectionLists, RecentEntriesAreUniqueNewestFirst) {
  Preferences prefs;
  add_site(prefs, {10, 0, 0, 7}, 23, "North Hill");
  add_site(prefs, {127, 0, 0, 1}, 2300, "");
  for (const RecentConnection& c :
       {serial_connection("COM1", 9600), network_connection(0), network_connection(1),
        serial_connection("COM1", 115200), serial_connection("COM1", 9600)}) {
    add_recent(prefs, c);
  }
  EXPECT_EQ(prefs.serial_baud, 9600);
  EXPECT_EQ(labels(prefs),
            "&1 - COM1, 9600 Baud (Serial Port)|&2 - COM1, 115200 Baud (Serial Port)|"
            "&3 - 127.0.0.1 (Network)|&4 - North Hill (Network)|");
  add_recent(prefs, serial_connection(std::string(40, 'p'), 9600));
  EXPECT_EQ(prefs.recent.front().serial_name, std::string(26, 'p'));
}

TEST(ConnectionLists, SitesRefuseDuplicatesAndTheFullListAndRemovalMovesTheLast) {
  Preferences prefs;
  EXPECT_EQ((std::vector{add_site(prefs, {10, 0, 0, 7}, 23, std::string(60, 'd')),
                         add_site(prefs, {10, 0, 0, 7}, 23, "again"),
                         add_site(prefs, {10, 0, 0, 7}, 24, "other port")}),
            (std::vector{true, false, true}));
  EXPECT_EQ(prefs.sites[0].description + site_list_line(prefs.sites[1]),
            std::string(47, 'd') + "10.0.0.7:24 (other port)");
  for (int i = 2; i < 500; ++i) ASSERT_TRUE(add_site(prefs, {10, 1, 9, std::uint8_t(i)}, i, ""));
  EXPECT_FALSE(add_site(prefs, {10, 9, 9, 9}, 23, "one too many"));

  prefs = Preferences{};
  std::uint8_t last = 0;
  for (const char* name : {"One", "Two", "Three"}) add_site(prefs, {10, 0, 0, ++last}, 23, name);
  for (int site : {2, 0, 1}) add_recent(prefs, network_connection(site));
  prefs.network_mode = true;
  prefs.selected_site = 2;
  EXPECT_TRUE(remove_site(prefs, 0, true));
  EXPECT_EQ(std::tuple(prefs.site_count(), prefs.sites[0].description, prefs.selected_site,
                       labels(prefs)),
            std::tuple(2, "Three", 0, "&1 - Two (Network)|&2 - Three (Network)|"));
  EXPECT_FALSE(remove_site(prefs, 0, true));  // the site in use
  EXPECT_EQ(std::vector({remove_site(prefs, 0, false), remove_site(prefs, 0, false),
                         remove_site(prefs, 0, false)}),
            std::vector({true, true, false}));
  EXPECT_TRUE(prefs.recent.empty());
}

TEST(ConnectionIndicator, NamesThePeerHowTheLinkStandsAndTheRetries) {
  const test::ScopedEnvironment utc("TZ", "UTC");
  tzset();
  // open, network, connected, contact lost, peer, site, lost since, retry, seconds to it
  const std::pair<LinkStatus, const char*> rows[] = {
      // clang-format off
      {{false, false, false, false, "", -1}, "Not connected"},
      {{false, true, false, true, "North", -1}, "Not connected"},
      {{true, false, false, false, "/dev/ttyUSB0", -1}, "Connected to /dev/ttyUSB0 (serial)"},
      {{true, false, false, true, "/dev/ttyUSB0", -1}, "Lost contact with /dev/ttyUSB0 (serial)"},
      {{true, true, false, false, "North", -1}, "Connecting to North (network)"},
      {{true, true, false, true, "North", -1}, "Connecting to North (network)"},
      {{true, true, true, false, "North", -1}, "Connected to North (network)"},
      {{true, true, true, true, "North", -1}, "Lost contact with North (network)"},
      {{false, false, false, false, "", -1, 0, 3, 4}, "Reconnecting (attempt 3, next in 4 s)"},
      {{true, true, false, false, "North", -1, 0, 3, 4}, "Reconnecting to North (attempt 3)"},
      {{true, true, true, true, "North", -1, 1700000000},
       "Lost contact with North (network) since 22:13:20"},
      // clang-format on
  };
  for (const auto& [status, text] : rows) EXPECT_EQ(connection_indicator_text(status), text);
  EXPECT_EQ(site_peer_name({{10, 0, 0, 7}, 2300, ""}), "10.0.0.7:2300");
  EXPECT_EQ(site_peer_name({{10, 0, 0, 7}, 23, "North"}), "North");
}

TEST(Reconnection, PausesDoubleFromTwoSecondsToAMinuteUntilStopped) {
  Reconnection retries;
  std::string seen = std::to_string(retries.active());
  retries.begin();
  seen += " " + std::to_string(retries.attempt()) + ":";
  for (int i = 0; i < 7; ++i) {
    const std::uint32_t pause = retries.failed();
    seen += " " + std::to_string(pause) + (retries.first_failure() ? "!" : "");
  }
  seen += " " + std::to_string(retries.attempt());
  retries.stop();
  seen += std::to_string(retries.active());
  retries.begin();  // a later drop starts again from the shortest pause
  EXPECT_EQ(seen + " " + std::to_string(retries.failed()),
            "0 1: 2000! 4000 8000 16000 32000 60000 60000 80 2000");
}

TEST(AddressFields, NumbersAreDecimalAndInRange) {
  const auto number_of = [](auto parsed) { return parsed ? int{*parsed} : -1; };
  // clang-format off
  for (const auto& [text, number] : {std::pair{"0", 0}, {"255", 255}, {"007", 7}, {"256", -1},
       {"", -1}, {"-1", -1}, {"1a", -1}, {" ", -1}, {"99999999999999999999", -1}}) {
    EXPECT_EQ(number_of(parse_address_number(text)), number) << text;
  }
  for (const auto& [text, port] : {std::pair{"23", 23}, {"65535", 65535}, {"65536", -1},
       {"0", -1}, {"", -1}, {"2 3", -1}, {"port", -1}}) {
    EXPECT_EQ(number_of(parse_tcp_port(text)), port) << text;
  }
  // clang-format on
}

}  // namespace
}  // namespace mav
