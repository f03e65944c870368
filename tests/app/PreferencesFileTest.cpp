// The preferences file on disk: the current layout byte by byte, the older layouts moved into
// place, unknown versions replaced, short and corrupt files survived.
#include "app/PreferencesFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "support/FileBytes.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using test::Bytes;
using test::get_i32;
using test::get_text;

class PreferencesFileTest : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_.path() / "MAV_Controller.cfg"; }
  PreferencesOrigin load(Preferences& prefs) { return load_preferences(file(), prefs); }

  test::ScratchDirectory dir_;
};

TEST_F(PreferencesFileTest, FirstStartWritesTheDefaultsInTheCurrentLayout) {
  Preferences prefs;
  EXPECT_EQ(load(prefs), PreferencesOrigin::Created);

  const Bytes bytes = test::read_bytes(file());
  ASSERT_EQ(bytes.size(), 32368u);
  EXPECT_EQ(bytes[0], 27);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ((Bytes{bytes.begin() + 4, bytes.begin() + 12}),
            (Bytes{31, 50, 76, 0, 185, 155, 103, 0}));
  EXPECT_EQ(get_text(bytes, 12), "COM1");
  EXPECT_EQ(get_i32(bytes, 272), 9600);
  EXPECT_EQ(get_text(bytes, 276), "MAVPCI1.log");
  EXPECT_EQ(get_text(bytes, 536), "");
  EXPECT_EQ(get_text(bytes, 796), "MAV Controller - Orvane Systems");
  // use_custom_title, auto_connect, then sound .. show_exit_reminder.
  EXPECT_EQ((Bytes{bytes.begin() + 1056, bytes.begin() + 1068}),
            (Bytes{0, 0, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(bytes[1068] | bytes[1069] << 8, 500);
  EXPECT_EQ(bytes[3270], 0);
  EXPECT_EQ(get_i32(bytes, 3272), 0);
  EXPECT_EQ(get_i32(bytes, 31640), 0);
  EXPECT_EQ(bytes[31644], 1);
  for (int entry = 0; entry < 20; ++entry) {
    EXPECT_EQ(bytes[31648 + entry * 36 + 34], 10) << "PIN entry " << entry;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "MAV_Controller.cfg.tmp"));
}

TEST_F(PreferencesFileTest, CurrentFileIsReadBackFieldForField) {
  Preferences written;
  written.auto_save_slot = 1;
  written.screen_size = 2;
  written.serial_port_name = "/dev/ttyUSB0";
  written.serial_baud = 115200;
  written.use_custom_title = true;
  written.custom_title = "Dispatch";
  written.sound_on = false;
  written.voice_prompts = false;
  written.animation_delay = 650;
  written.dial_list = {{"5551234", "Depot"}, {"911", ""}};
  written.network_mode = true;
  written.selected_site = 1;
  written.sites = {{{10, 0, 0, 7}, 2300, "North"}, {{127, 0, 0, 1}, 23, ""}};
  written.recent = {{false, "", 0, 1}, {true, "COM3", 9600, 0}};
  written.hover_descriptions = false;
  written.pin_table_image[4 * 36] = 'A';
  written.pin_table_image[4 * 36 + 32] = 0xD2;
  ASSERT_TRUE(save_preferences_file(file(), written));

  Preferences read;
  EXPECT_EQ(load(read), PreferencesOrigin::Current);
  EXPECT_EQ(std::tie(read.auto_save_slot, read.screen_size, read.serial_port_name, read.serial_baud,
                     read.use_custom_title, read.custom_title, read.sound_on, read.voice_prompts,
                     read.animation_delay, read.dial_list, read.network_mode, read.selected_site,
                     read.sites, read.hover_descriptions, read.pin_table_image),
            std::tie(written.auto_save_slot, written.screen_size, written.serial_port_name,
                     written.serial_baud, written.use_custom_title, written.custom_title,
                     written.sound_on, written.voice_prompts, written.animation_delay,
                     written.dial_list, written.network_mode, written.selected_site, written.sites,
                     written.hover_descriptions, written.pin_table_image));
  ASSERT_EQ(read.recent.size(), 2u);
  EXPECT_TRUE(read.recent[1].same_connection(written.recent[1]));

  const Bytes bytes = test::read_bytes(file());
  EXPECT_EQ((Bytes{bytes.begin() + 27280, bytes.begin() + 27288}),
            (Bytes{10, 0, 0, 7, 127, 0, 0, 1}));
  EXPECT_EQ(get_i32(bytes, 29280), 2300);
  EXPECT_EQ(get_text(bytes, 3280), "North");
  EXPECT_EQ(bytes[31280 + 36], 1);  // the second recent entry is serial
  EXPECT_EQ(get_text(bytes, 31280 + 36 + 1), "COM3");
  EXPECT_EQ(get_i32(bytes, 31280 + 36 + 28), 9600);
  EXPECT_EQ(get_i32(bytes, 31280 + 32), 1);
  EXPECT_EQ(get_text(bytes, 31648 + 4 * 36), "A");
  EXPECT_EQ(bytes[31648 + 4 * 36 + 32], 0xD2);
}

TEST_F(PreferencesFileTest, Version23KeepsItsSettingsAndGainsTheNewFields) {
  Bytes old(31276 + 720, 0);
  old[0] = 23;
  old[1] = 1;  // ignored: the slot of an old file is the default
  old[2] = 1;
  test::put_i32(old, 4, 0x00102030);
  test::put_i32(old, 8, 0x00405060);
  test::put_text(old, 12, "COM3");
  test::put_text(old, 272, "Night.log");
  test::put_text(old, 532, "secret");
  test::put_text(old, 792, "Tower");
  old[1052] = 1;  // use_custom_title
  old[1053] = 1;  // auto_connect
  old[1054] = 0;  // sound_on
  old[1058] = 0;  // cor_reporting
  old[1059] = 1;  // ptt_reporting
  old[1063] = 0;  // show_exit_reminder
  old[1064] = 200;
  test::put_text(old, 1066, "5551234");
  test::put_text(old, 1066 + 22, "911");
  test::put_text(old, 2166, "Depot");
  old[3266] = 2;
  old[3267] = 1;
  test::put_i32(old, 3268, 2);
  test::put_i32(old, 3272, 1);
  test::put_text(old, 3276, "North");
  old[27276] = 10, old[27277] = 0, old[27278] = 0, old[27279] = 7;
  old[27280] = 127, old[27283] = 1;
  test::put_i32(old, 29276, 2300);
  test::put_i32(old, 29280, 23);
  test::put_text(old, 31276, "Alice");
  old[31276 + 32] = 0xD2, old[31276 + 33] = 0x04, old[31276 + 34] = 3;
  test::write_bytes(file(), old);

  Preferences prefs;
  EXPECT_EQ(load(prefs), PreferencesOrigin::Converted);
  EXPECT_EQ(std::tie(prefs.auto_save_slot, prefs.screen_size, prefs.serial_port_name,
                     prefs.serial_baud, prefs.log_file_name, prefs.password, prefs.custom_title),
            std::make_tuple(0, 1, "COM3", 9600, "Night.log", "secret", "Tower"));
  EXPECT_EQ(std::tie(prefs.background_color, prefs.grid_color),
            std::make_tuple(0x00102030u, 0x00405060u));
  // use_custom_title, auto_connect, sound_on, cor_reporting, ptt_reporting, show_exit_reminder
  EXPECT_EQ(std::tie(prefs.use_custom_title, prefs.auto_connect, prefs.sound_on,
                     prefs.cor_reporting, prefs.ptt_reporting, prefs.show_exit_reminder),
            std::make_tuple(true, true, false, false, true, false));
  EXPECT_EQ(prefs.animation_delay, 200);
  EXPECT_EQ(prefs.dial_list, (std::vector<DialEntry>{{"5551234", "Depot"}, {"911", ""}}));
  EXPECT_TRUE(prefs.network_mode);
  EXPECT_EQ(prefs.selected_site, 1);
  EXPECT_EQ(prefs.sites,
            (std::vector<NetworkSite>{{{10, 0, 0, 7}, 2300, "North"}, {{127, 0, 0, 1}, 23, ""}}));
  EXPECT_TRUE(prefs.recent.empty());
  EXPECT_TRUE(prefs.hover_descriptions);
  const Bytes pin_entry{prefs.pin_table_image.begin(), prefs.pin_table_image.begin() + 36};
  EXPECT_EQ(get_text(pin_entry, 0), "Alice");
  EXPECT_EQ((Bytes{pin_entry.begin() + 32, pin_entry.end()}), (Bytes{0xD2, 0x04, 3, 0}));

  const Bytes rewritten = test::read_bytes(file());
  ASSERT_EQ(rewritten.size(), 32368u);
  EXPECT_EQ(rewritten[0], 27);
  EXPECT_EQ(get_i32(rewritten, 272), 9600);
  EXPECT_EQ(get_text(rewritten, 276), "Night.log");
  EXPECT_EQ(get_text(rewritten, 1070), "5551234");
  EXPECT_EQ(get_i32(rewritten, 3272), 2);
  EXPECT_EQ(get_i32(rewritten, 29280), 2300);
  EXPECT_EQ(get_text(rewritten, 31648), "Alice");
}

TEST_F(PreferencesFileTest, Version21HasNeitherCustomTitleSwitchNorAutoConnect) {
  Bytes old(31276 + 720, 0);
  old[0] = 21;
  test::put_text(old, 792, "Tower");
  old[1052] = 1;                       // sound_on
  old[1056] = 0;                       // cor_reporting
  old[1061] = 1;                       // show_exit_reminder
  old[1062] = 0xC2, old[1063] = 0x01;  // animation 450
  old[3264] = 1;
  test::put_text(old, 1064, "123");
  old[3265] = 0;
  test::put_i32(old, 3268, 1);
  old[27276] = 192, old[27277] = 168, old[27278] = 1, old[27279] = 9;
  test::put_i32(old, 29276, 4000);
  test::write_bytes(file(), old);

  Preferences prefs;
  EXPECT_EQ(load(prefs), PreferencesOrigin::Converted);
  EXPECT_FALSE(prefs.use_custom_title);
  EXPECT_FALSE(prefs.auto_connect);
  EXPECT_TRUE(prefs.sound_on);
  EXPECT_FALSE(prefs.cor_reporting);
  EXPECT_EQ(prefs.animation_delay, 450);
  ASSERT_EQ(prefs.dial_list.size(), 1u);
  EXPECT_EQ(prefs.dial_list[0].number, "123");
  EXPECT_EQ(prefs.sites, (std::vector<NetworkSite>{{{192, 168, 1, 9}, 4000, ""}}));
}

TEST_F(PreferencesFileTest, Versions18And17KnewOneRemoteAddress) {
  Bytes old(3272, 0);
  old[0] = 18;
  test::put_text(old, 12, "COM2");
  old[3265] = 1;
  old[3266] = 192, old[3267] = 168, old[3268] = 1, old[3269] = 20;
  test::write_bytes(file(), old);

  Preferences prefs;
  EXPECT_EQ(load(prefs), PreferencesOrigin::Converted);
  EXPECT_EQ(prefs.serial_port_name, "COM2");
  EXPECT_TRUE(prefs.network_mode);
  EXPECT_EQ(prefs.sites, (std::vector<NetworkSite>{{{192, 168, 1, 20}, 23, ""}}));
  EXPECT_EQ(prefs.pin_table_image, default_pin_table_image());

  old[0] = 17;
  test::write_bytes(file(), old);
  Preferences oldest;
  EXPECT_EQ(load(oldest), PreferencesOrigin::Converted);
  EXPECT_FALSE(oldest.network_mode);
  EXPECT_TRUE(oldest.sites.empty());

  old[0] = 18;
  old[3265] = 0;
  test::write_bytes(file(), old);
  Preferences serial;
  load(serial);
  EXPECT_TRUE(serial.sites.empty());
}

TEST_F(PreferencesFileTest, UnknownVersionsAreReplacedByTheDefaults) {
  for (std::uint8_t version : {0, 16, 19, 20, 22, 24, 25, 26, 28, 255}) {
    Bytes other(32368, 0xAB);
    other[0] = version;
    test::write_bytes(file(), other);
    Preferences prefs;
    EXPECT_EQ(load(prefs), PreferencesOrigin::Replaced) << int{version};
    EXPECT_EQ(prefs.serial_port_name, "COM1");
    EXPECT_TRUE(prefs.sites.empty());
    const Bytes rewritten = test::read_bytes(file());
    ASSERT_EQ(rewritten.size(), 32368u);
    EXPECT_EQ(rewritten[0], 27);
    EXPECT_EQ(rewritten[31648 + 34], 10);
  }
  test::write_bytes(file(), {});
  Preferences empty_file;
  EXPECT_EQ(load(empty_file), PreferencesOrigin::Replaced);
}

TEST_F(PreferencesFileTest, ShortFileIsReadAsFarAsItGoes) {
  Bytes cut(1100, 0);
  cut[0] = 27;
  cut[2] = 2;
  test::put_text(cut, 12, "COM4");
  cut[1058] = 0;  // sound off
  test::write_bytes(file(), cut);

  Preferences prefs;
  EXPECT_EQ(load(prefs), PreferencesOrigin::Current);
  EXPECT_EQ(prefs.screen_size, 2);
  EXPECT_EQ(prefs.serial_port_name, "COM4");
  EXPECT_FALSE(prefs.sound_on);
  EXPECT_TRUE(prefs.hover_descriptions);
  EXPECT_TRUE(prefs.sites.empty());
  EXPECT_EQ(prefs.pin_table_image[19 * 36 + 34], 10);
}

TEST_F(PreferencesFileTest, CorruptCountsAndUnterminatedTextsStayInTheirFields) {
  Bytes bad(32368, 0xFF);
  bad[0] = 27;
  bad[3270] = 0x7F;                      // 127 dial entries
  test::put_i32(bad, 3272, 0x7FFFFFFF);  // sites
  test::put_i32(bad, 31640, -3);         // recent entries
  test::write_bytes(file(), bad);

  Preferences prefs;
  EXPECT_EQ(load(prefs), PreferencesOrigin::Current);
  EXPECT_EQ(prefs.dial_list.size(), 50u);
  EXPECT_EQ(prefs.sites.size(), 500u);
  EXPECT_TRUE(prefs.recent.empty());
  EXPECT_EQ(prefs.serial_port_name.size(), 259u);
  EXPECT_EQ(prefs.sites[499].description.size(), 47u);
  EXPECT_EQ(prefs.dial_list[49].number.size(), 21u);

  ASSERT_TRUE(save_preferences_file(file(), prefs));
  EXPECT_EQ(test::read_bytes(file()).size(), 32368u);
}

TEST_F(PreferencesFileTest, FailedWriteLeavesThePreviousFileWhole) {
  Preferences prefs;
  prefs.serial_port_name = "COM2";
  ASSERT_TRUE(save_preferences_file(file(), prefs));
  const Bytes before = test::read_bytes(file());

  // The temporary file cannot be created where a directory of its name stands.
  std::filesystem::create_directory(dir_.path() / "MAV_Controller.cfg.tmp");
  prefs.serial_port_name = "COM3";
  EXPECT_FALSE(save_preferences_file(file(), prefs));
  EXPECT_EQ(test::read_bytes(file()), before);
}

// The file holds the operator's password.
TEST_F(PreferencesFileTest, FileIsReadableByItsOwnerOnly) {
  using std::filesystem::perms;
  const std::filesystem::path temporary = dir_.path() / "MAV_Controller.cfg.tmp";
  const auto open_to_all = [](const std::filesystem::path& path) {
    test::write_bytes(path, Bytes(10, 0));
    std::filesystem::permissions(path, perms::all);
  };
  const auto first_start = [&] {
    Preferences prefs;
    load(prefs);
  };
  const auto save = [&] { save_preferences_file(file(), Preferences{}); };
  const struct {
    const char* situation;
    std::function<void()> before;
    std::function<void()> write;
  } cases[] = {
      {"first start", [] {}, first_start},
      {"file open to all", [&] { open_to_all(file()); }, save},
      {"temporary left behind", [&] { open_to_all(temporary); }, save},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(file());
    c.before();
    c.write();
    EXPECT_EQ(std::filesystem::status(file()).permissions(), perms::owner_read | perms::owner_write)
        << c.situation;
  }
}

}  // namespace
}  // namespace mav
