// The preferences file on disk: the current layout byte by byte in both directions, the older
// layouts moved into place, unknown versions replaced, short and corrupt files survived.
#include "app/PreferencesFile.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/PreferencesCodec.h"
#include "support/FileBytes.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using test::Bytes;

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

// Every field in one line, so that a whole record compares against one literal.
std::string Summary(const Preferences& p) {
  std::ostringstream s;
  s << +p.auto_save_slot << ' ' << +p.screen_size << ' ' << std::hex << p.background_color << '/'
    << p.grid_color << std::dec << ' ' << p.serial_port_name << ' ' << p.serial_baud << ' '
    << p.log_file_name << ' ' << p.password << '|' << p.custom_title << "| " << p.use_custom_title
    << p.auto_connect << ' ';
  for (bool on :
       {p.sound_on, p.protect_permanent_connections, p.protect_pin_settings,
        p.protect_module_settings, p.cor_reporting, p.ptt_reporting, p.right_button_disconnects,
        p.voice_prompts, p.auto_indicator_switching, p.show_exit_reminder}) {
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
  const struct {
    std::size_t size;
    std::vector<Put> puts;
    PreferencesOrigin origin;
    const char* summary;
  } cases[] = {
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
  for (const auto& c : cases) {
    test::write_bytes(file, Image(c.size, c.puts));
    Preferences prefs;
    EXPECT_EQ(load(prefs), c.origin);
    EXPECT_EQ(Summary(prefs), c.summary);
    if (c.origin == PreferencesOrigin::Converted) {
      EXPECT_EQ(bytes(), encode_preferences(prefs));  // rewritten in the current layout
    }
  }
}

TEST_F(PreferencesFile, FirstStartAndUnknownVersionsWriteTheDefaults) {
  Preferences first;
  EXPECT_EQ(load(first), PreferencesOrigin::Created);
  EXPECT_EQ(Summary(first), kDefaults);
  EXPECT_EQ(bytes(), encode_preferences(Preferences{}));
  for (std::uint8_t version : {0, 16, 19, 20, 22, 24, 25, 26, 28, 255}) {
    Bytes other(32368, 0xAB);
    other[0] = version;
    test::write_bytes(file, other);
    Preferences prefs;
    EXPECT_EQ(load(prefs), PreferencesOrigin::Replaced) << +version;
    EXPECT_EQ(Summary(prefs), kDefaults);
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

}  // namespace
}  // namespace mav
