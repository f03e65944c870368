// The configuration files and their commands on a real channel: the replay's order on the wire,
// the steps each join leaves in the model and the pending table, the refusals that send nothing,
// the comparison with the gateway now (on bytes crafted at their file offsets) shown before a load,
// and the history of automatic saves.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "config/ConfigurationReplay.h"
#include "frontend/MenuIds.h"
#include "model/RecordImage.h"
#include "model/SettingsFields.h"
#include "support/ControllerRig.h"
#include "support/FileBytes.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

using test::ConfigRig;
using test::make_connected_rig;
using test::Place;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

// A TOV-5 in every port, no group; the saved configuration starts as that.
Configuration install_modules(ConfigRig& rig) {
  Configuration config;
  for (int port = 0; port < kPortCount; ++port) {
    Place(rig.model, port, {});
    config.ports[static_cast<std::size_t>(port)] = rig.port(port);
  }
  return config;
}

// Revert loads "Auto_CD.mav" without any line of its own before the loader's.
void revert_to(ConfigRig& rig, const Configuration& config) {
  fs::create_directories(rig.files.folder());
  ASSERT_TRUE(WriteConfiguration(rig.files.folder() / "Auto_CD.mav", config));
  rig.registry.run(menu::kRevertAfterConnectAll);
}

// The waiting step a port's join left in its record and in the pending table.
void expect_waits(ConfigRig& rig, std::uint8_t kind, int port, int step, int data2 = 0) {
  const PortRecord record = rig.port(port);
  std::uint8_t data1 = 0, taken2 = 0;
  EXPECT_TRUE(rig.pending.Take(kind, static_cast<std::uint8_t>(port), data1, taken2));
  EXPECT_EQ(
      std::tuple(kind == PendingTable::kConnectWaits ? record.connect_step : record.disch_step,
                 int{data1}, int{taken2}),
      std::tuple(static_cast<std::uint32_t>(step), step, data2))
      << "port " << port;
}

TEST(ConfigurationReplay, SavedAndLoadedBackSendsOneJoinPerFurtherNetPort) {
  auto rig = make_connected_rig();
  install_modules(*rig);
  for (const int port : {0, 1, 2}) Place(rig->model, port, {.bus = 0, .net = 1});
  for (const int port : {3, 4}) Place(rig->model, port, {.bus = 1, .net = 2});
  rig->prompts.chosen = rig->files.folder() / "mine.mav";
  rig->registry.run(menu::kSaveConfiguration);
  rig->registry.run(menu::kLoadConfiguration);

  EXPECT_EQ(rig->wire(),
            "VPMTS OFF\rDISCH ALL\rVPMTS ON\rDISC_S ALL\rCONNECT_S 01 00\rCONNECT_S 02 00\r"
            "CONNECT_S 04 03\r");
  EXPECT_EQ(
      std::tuple(rig->prompts.choices, rig->prompts.chooser_folder, rig->prompts.told.size(),
                 rig->pauses, rig->state.replay_running.load()),
      std::tuple(std::vector{FileChoice::Save, FileChoice::Load}, rig->scratch / "Configurations",
                 0u, std::vector{std::chrono::milliseconds(500)}, false));
  for (const auto& [port, step] : {std::pair{1, 2}, {2, 5}, {4, 2}}) {
    expect_waits(*rig, PendingTable::kConnectWaits, port, step);
  }
}

TEST(ConfigurationReplay, LinksDischGroupsPinsMonitorsNamesAndIconsFollow) {
  auto rig = make_connected_rig();
  Configuration saved = install_modules(*rig);
  rig->model.Update(20, [](PortRecord& r) { AddMonitor(r, 21), AddMonitor(r, 5); });
  saved.ports[20] = rig->port(20);
  for (std::int16_t net = 1; net <= 4; ++net) {
    for (const int port : {2 * net - 2, 2 * net - 1}) {
      PortRecord& record = saved.ports[static_cast<std::size_t>(port)];
      record.net = record.bus = net;
      record.bus_link = 0;
    }
  }
  for (const int port : {9, 12, 14}) saved.ports[static_cast<std::size_t>(port)].disch_group = 3;
  saved.ports[17].disch_group = 4;  // alone in its group: nothing sent
  std::memcpy(saved.pin_table.data(), "Night shift", 11);
  saved.security_mode = 13;
  const fs::path icon = rig->scratch / "tower.bmp";
  std::ofstream(icon) << "BM";
  for (const auto& [port, name, file] :
       {std::tuple{10, "Tower", icon}, {11, "Gone", rig->scratch / "gone.bmp"}}) {
    PortRecord& record = saved.ports[static_cast<std::size_t>(port)];
    std::strcpy(record.port_name, name);
    std::strcpy(record.icon_path, file.c_str());
    record.icon_preset = 0;
    record.icon_color = 6;
  }
  saved.ports[10].settings.tx_level = 7;  // the one setting that differs
  revert_to(*rig, saved);

  EXPECT_EQ(rig->wire(),
            "DISC_S ALL\rMON 20 21 ON\rMON 20 05 ON\r"
            "CONNECT_S 01 00\rCONNECT_S 03 02\rCONNECT_S 05 04\rCONNECT_S 07 06\r"
            "CONNECT_S 02 00\rCONNECT_S 04 00\rCONNECT_S 06 00\r"
            "DISCH 09\rDISCH 12\rDISCH 14\rTX_LEVEL 10 7\r");
  for (const auto& [port, step] : {std::pair{2, 3}, {4, 6}, {6, 6}}) {
    expect_waits(*rig, PendingTable::kConnectWaits, port, step);
  }
  for (const auto& [port, step, partner] : {std::tuple{9, 1, 129}, {12, 5, 9}, {14, 5, 9}}) {
    expect_waits(*rig, PendingTable::kDischWaits, port, step, partner);
    EXPECT_EQ(rig->port(port).pending_partner, partner);
  }
  EXPECT_EQ(std::string(rig->pins.entry(0).name) + "|" + rig->port(11).port_name,
            "Night shift|Gone");
  // A missing icon falls back to its preset.
  EXPECT_EQ((std::vector<int>{rig->state.security_mode.load(), rig->port(10).settings.tx_level,
                              rig->icons.frees, rig->port(10).icon_id, rig->port(11).icon_color,
                              rig->port(11).icon_id, rig->port(11).icon_preset}),
            (std::vector<int>{13, 7, 1, 551, 6, -1, 1}));
}

// Port 04 of the saved configuration holds a TOV-5 whose groups vary; the gateway now has the
// module below in that port.
TEST(ConfigurationReplay, AUsedPortMeetingAnotherModuleRefusesTheWholeLoad) {
  for (const auto& [module_now, saved_bus, saved_disch, refused] :
       {std::tuple<std::uint32_t, std::int16_t, std::int16_t, bool>{MOD_VOQ3, 0, GROUP_NONE, true},
        {MOD_VOQ3, GROUP_NONE, 2, true},
        {MOD_NONE, 0, GROUP_NONE, true},
        {MOD_VOQ3, GROUP_NONE, GROUP_NONE, false}}) {
    auto rig = make_connected_rig();
    Configuration saved = install_modules(*rig);
    Place(rig->model, 4, {.mod_type = module_now});
    saved.ports[4].bus = saved_bus;
    saved.ports[4].disch_group = saved_disch;
    saved.ports[4].settings.tx_level = 7;
    std::memcpy(saved.pin_table.data(), "Saved user", 10);
    revert_to(*rig, saved);

    std::string shown;
    for (const MessageBoxRequest& box : rig->frontend.boxes()) {
      shown += box.caption + ": " + box.text + (box.owned_by_main_window ? " (owned)" : "");
    }
    EXPECT_EQ(rig->wire() + shown + rig->pins.entry(0).name +
                  std::to_string(rig->port(4).settings.tx_level),  // nothing from the saved port
              refused ? "MAV Controller: Load Failed!\rSaved configuration incompatible\rwith "
                        "current configuration3"
                      : "DISC_S ALL\rSaved user3")
        << module_now << " " << saved_bus << saved_disch;
  }
}

TEST(ConfigurationFiles, CommandsTellTheOperatorWhatStoppedThem) {
  const char* const kGetFirst = "Get configuration from MAV first";
  const char* const kCannotOpen = "Load file could not be opened";  // no previous run
                                                                    // clang-format off
  for (const auto& [command, modules, answer_yes, told] : {
           std::tuple<int, bool, bool, const char*>{menu::kSaveConfiguration, false, true, "No data to save"},
           {menu::kLoadConfiguration, false, true, kGetFirst},
           {menu::kRestoreLastConfig, false, true, kGetFirst},
           {menu::kRevertAfterDisconnectAll, false, true, kGetFirst},
           {menu::kRestoreLastConfig, true, true, kCannotOpen},
           {menu::kRestoreLastConfig, true, false, ""},
           {menu::kRevertAfterConnectAll, true, true, kCannotOpen},
           {menu::kRevertAfterDisconnectAll, true, true, kCannotOpen}}) {
    // clang-format on
    auto rig = make_connected_rig();
    if (modules) Place(rig->model, 0, {});
    rig->files.AutoSave();  // this run's own file exists: Restore Last must read the other one
    rig->prompts.answer_yes = answer_yes;
    rig->registry.run(command);
    EXPECT_EQ(rig->prompts.told, *told ? Lines{told} : Lines{}) << command;
    EXPECT_EQ(rig->wire(), "");
  }
}

TEST(ConfigurationFiles, AutomaticSavesRestoreLastAndFilesThatCannotBeUsed) {
  auto rig = make_connected_rig();
  rig->files.AutoSave();
  rig->files.SaveSnapshot();
  EXPECT_FALSE(fs::exists(rig->files.folder()));  // no module known

  Place(rig->model, 6, {});
  rig->files.AutoSave();
  const test::Bytes saved = test::read_bytes(rig->files.folder() / "AutoS2.mav");
  ASSERT_EQ(saved.size(), 16953u);
  EXPECT_EQ(test::get_i32(saved, 8 + 624 * 6), MOD_TOV5);
  rig->files.SaveSnapshot();
  EXPECT_EQ(test::read_bytes(rig->files.folder() / "Auto_CD.mav"), saved);
  rig->files.set_save_slot(0);
  rig->files.AutoSave();
  rig->files.set_save_slot(1);
  rig->registry.run(menu::kRestoreLastConfig);
  EXPECT_EQ(rig->prompts.asked, Lines{"Restore to Last Configuration:\rAre you sure?"});
  EXPECT_EQ(rig->wire(), "DISC_S ALL\r");

  rig->prompts.chosen = rig->scratch / "no such folder" / "x.mav";
  rig->registry.run(menu::kSaveConfiguration);
  rig->registry.run(menu::kLoadConfiguration);
  rig->prompts.chosen.reset();
  rig->registry.run(menu::kLoadConfiguration);  // cancelled: nothing more
  EXPECT_EQ(rig->prompts.told,
            (Lines{"Save file could not be opened", "Load file could not be opened"}));
  EXPECT_EQ(rig->wire(), "");

  // A foreign version is refused after the command's own DISCH ALL has gone out.
  test::Bytes bytes = EncodeConfiguration(Configuration{});
  test::put_i32(bytes, 0, 8);
  rig->prompts.chosen = rig->scratch / "eight.mav";
  test::write_bytes(*rig->prompts.chosen, bytes);
  rig->state.voice_prompts = false;
  rig->registry.run(menu::kLoadConfiguration);
  EXPECT_EQ(rig->wire(), "DISCH ALL\r");
  const std::vector<MessageBoxRequest> boxes = rig->frontend.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption + ": " + boxes[0].text,
            "Can't read configuration file: The specified configuration file is incompatible\rwith "
            "this version of the MAV Controller");
  EXPECT_TRUE(boxes[0].icon == MessageIcon::Exclamation && !boxes[0].owned_by_main_window);
}

TEST(ConfigurationFiles, GatewayRestartSavesThenSendsThePreludeAndTheReplay) {
  for (const auto& [voice, cor, ptt, prelude] :
       {std::tuple{true, true, false,
                   "USER_PGM OFF\rVPMTS OFF\rDISCH ALL\rVPMTS ON\rCOR_LED ON\rPTT_LED OFF\r"},
        {false, false, true, "USER_PGM OFF\rDISCH ALL\rCOR_LED OFF\rPTT_LED ON\r"}}) {
    auto rig = make_connected_rig();
    for (const int port : {3, 8}) Place(rig->model, port, {.bus = 2, .net = 1});
    rig->fake_clock.advance_ms(90000);  // the periodic save's minute starts again
    rig->state.voice_prompts = voice;
    rig->state.cor_reporting = cor;
    rig->state.ptt_reporting = ptt;
    EXPECT_TRUE(rig->files.RestoreAfterGatewayRestart());
    EXPECT_EQ(rig->state.last_autosave_ms, rig->fake_clock.now_ms());
    EXPECT_EQ(rig->wire(), std::string(prelude) + "DISC_S ALL\rCONNECT_S 08 03\r");
    EXPECT_TRUE(fs::exists(rig->files.folder() / "AutoS2.mav"));
  }
  auto rig = make_connected_rig();
  Place(rig->model, 0, {});
  std::ofstream(rig->files.folder()) << "in the way";  // nothing can be saved, nor read back
  EXPECT_FALSE(rig->files.RestoreAfterGatewayRestart());
  EXPECT_EQ(rig->wire(), "");
  EXPECT_TRUE(rig->frontend.boxes().empty());
}

// The files carry the PIN table: every one is its owner's alone in folders only the owner may
// enter. A save writes through a symbolic link and never over a read-only file.
TEST(ConfigurationFiles, EveryFileIsTheOwnersAloneAndASaveFollowsALinkButNotOverReadOnly) {
  using fs::perms;
  auto rig = make_connected_rig();
  Place(rig->model, 0, {});
  const fs::path folder = rig->files.folder();
  fs::create_directories(folder);
  fs::permissions(folder, perms::all);  // as an earlier version left it
  rig->files.AutoSave();                // AutoS2.mav and the first history file
  rig->files.SaveSnapshot();
  rig->prompts.chosen = folder / "Desk.mav";
  rig->registry.run(menu::kSaveConfiguration);
  int files = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    files += entry.is_directory() ? 0 : 1;
    EXPECT_EQ(entry.status().permissions(),
              entry.is_directory() ? perms::owner_all : (perms::owner_read | perms::owner_write))
        << entry.path();
  }
  EXPECT_EQ(std::pair(files, fs::status(folder).permissions()), std::pair(4, perms::owner_all));

  std::ofstream(folder / "Target.mav") << "old";
  fs::create_symlink("Target.mav", folder / "Link.mav");
  rig->prompts.chosen = folder / "Link.mav";
  rig->registry.run(menu::kSaveConfiguration);
  EXPECT_TRUE(fs::is_symlink(folder / "Link.mav"));
  EXPECT_EQ(fs::file_size(folder / "Target.mav"), 16953u);
  std::ofstream(folder / "Fixed.mav") << "old";
  fs::permissions(folder / "Fixed.mav", perms::owner_read | perms::group_read | perms::others_read);
  rig->prompts.chosen = folder / "Fixed.mav";
  rig->registry.run(menu::kSaveConfiguration);
  EXPECT_EQ(rig->prompts.told, Lines{"Save file could not be opened"});
  EXPECT_EQ(test::read_bytes(folder / "Fixed.mav").size(), 3u);
}

constexpr std::size_t record_at(int port) {
  return 8 + 624 * static_cast<std::size_t>(port);
}

void put_i16(test::Bytes& bytes, std::size_t offset, std::int16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Now: TOV-5 modules on ports 0 to 5; ports 0 and 1 are net 1 on bus 0, ports 2 to 4 net 2 on
// bus 1; port 4 transmits at "-4 dBm [5]". The file starts as a copy of that.
struct Gateway {
  Gateway() {
    for (int port = 0; port <= 5; ++port) Place(model, port, {});
    for (const int port : {0, 1}) Place(model, port, {.bus = 0, .net = 1});
    for (const int port : {2, 3, 4}) Place(model, port, {.bus = 1, .net = 2});
    model.Update(4, [](PortRecord& r) { store_setting(r.settings, kw::TX_LEVEL, 5); });
    Configuration now;
    for (int port = 0; port < kPortCount; ++port) {
      model.GetPort(port, now.ports[static_cast<std::size_t>(port)]);
    }
    file = EncodeConfiguration(now);
  }
  Lines changes() const {
    const std::optional<Configuration> saved = DecodeConfiguration(file);
    EXPECT_TRUE(saved);
    return saved ? DescribeChanges(CompareWithModel(model, *saved)) : Lines{};
  }
  DeviceModel model;
  test::Bytes file;
};

TEST(ConfigurationChanges, ThePortsThatMoveAndTheSettingsThatDiffer) {
  Gateway gateway;
  EXPECT_EQ(gateway.changes(), Lines{"No changes."});

  // Port 2 joins net 1; a port alone in a net is in none.
  put_i16(gateway.file, record_at(2) + 4, 1);
  put_i16(gateway.file, record_at(2) + 6, 0);
  put_i16(gateway.file, record_at(5) + 4, 3);
  gateway.file[record_at(4) + 83] = 6;  // TX_LEVEL
  EXPECT_EQ(gateway.changes(), (Lines{"Port 02: Net 2 -> Net 1",
                                      "Port 04 Tx Level: -4 dBm [5] -> 0 dBm [6] (default)"}));

  // The same nets under other numbers change nothing; a net of ports in none takes a free number.
  Gateway renumbered;
  for (const auto& [port, net] : {std::pair{0, 5}, {1, 5}, {2, 0}, {3, 0}, {4, 7}, {5, 7}}) {
    put_i16(renumbered.file, record_at(port) + 4, net);
  }
  EXPECT_EQ(renumbered.changes(), (Lines{"Port 04: Net 2 -> Net 3", "Port 05: no net -> Net 3"}));
}

TEST(ConfigurationChanges, AnotherModuleStopsTheLoadOnlyWhereTheFileUsesThePort) {
  const Lines fails{"The load would fail: nothing would change.",
                    "Port 05: TOV-5 in the gateway, VOQ-3 in the file: load would fail"};
  // On a bus, in a DISCH group, in no group.
  for (const auto& [bus, disch, expected] :
       {std::tuple<std::int16_t, std::int16_t, Lines>{1, GROUP_NONE, fails},
        {GROUP_NONE, 0, fails},
        {GROUP_NONE,
         GROUP_NONE,
         {"Port 04 Tx Level: -4 dBm [5] -> 0 dBm [6] (default)",
          "Port 05: TOV-5 in the gateway, VOQ-3 in the file: not restored",
          "Port 06: no module in the gateway, LINE-7 in the file: not restored"}}}) {
    Gateway gateway;
    test::put_i32(gateway.file, record_at(5), 4);  // VOQ-3
    put_i16(gateway.file, record_at(5) + 6, bus);
    put_i16(gateway.file, record_at(5) + 10, disch);
    test::put_i32(gateway.file, record_at(6), 3);  // LINE-7 where the gateway has none
    gateway.file[record_at(4) + 83] = 6;
    EXPECT_EQ(gateway.changes(), expected) << bus << disch;
  }
}

// Restore Last and Load show the changes before they ask; a declined load sends nothing. A load
// the comparison shows to fail asks with No first and sends nothing whatever the answer.
TEST(ConfigurationChanges, RestoreLastAndLoadShowTheChangesBeforeTheyAsk) {
  for (const bool yes : {false, true}) {
    auto rig = make_connected_rig();
    rig->files.set_save_slot(0);
    Configuration saved = install_modules(*rig);
    fs::create_directories(rig->files.folder());
    saved.ports[0].mod_type = MOD_HK6;
    ASSERT_TRUE(WriteConfiguration(rig->files.folder() / "AutoS2.mav", saved));
    saved.ports[0].bus = 1;  // another module, on a bus of the file
    ASSERT_TRUE(WriteConfiguration(rig->files.folder() / "other.mav", saved));
    rig->prompts.answer_yes = yes;
    const Lines expected{"Port 00: TOV-5 in the gateway, HK-6 in the file: not restored"};
    if (!yes) {
      rig->registry.run(menu::kRestoreLastConfig);
      EXPECT_EQ(rig->prompts.shown_changes, expected);
      rig->prompts.shown_changes.clear();
      rig->prompts.chosen = rig->files.folder() / "AutoS2.mav";
      rig->registry.run(menu::kLoadConfiguration);
      EXPECT_EQ(rig->prompts.shown_changes, expected);
      EXPECT_FALSE(rig->prompts.no_was_default);
    }
    rig->prompts.chosen = rig->files.folder() / "other.mav";
    rig->registry.run(menu::kLoadConfiguration);
    EXPECT_TRUE(rig->prompts.no_was_default);
    std::string asked;
    for (const std::string& question : rig->prompts.asked) asked += question + "|";
    EXPECT_EQ(asked, std::string(yes ? ""
                                     : "Restore to Last Configuration:\rAre you sure?|"
                                       "Load Configuration:\rAutoS2.mav\rAre you sure?|") +
                         "Load Configuration:\rother.mav\rThe load would fail: nothing would "
                         "change.\rAre you sure?|");
    EXPECT_EQ(rig->wire(), "");                              // not even DISCH ALL
    EXPECT_EQ(rig->frontend.boxes().size(), yes ? 1u : 0u);  // "Load Failed!"
  }
}

using namespace std::chrono;

std::vector<std::string> names(const ConfigurationHistory& history) {
  std::vector<std::string> found;
  for (const HistoryFile& file : history.Files()) found.push_back(file.file.filename().string());
  return found;
}

TEST(ConfigurationHistory, OnlyASaveThatDiffersFromTheNewestIsKept) {
  auto rig = make_connected_rig();
  rig->files.set_save_slot(0);
  rig->files.AutoSave();  // no module known: nothing anywhere
  EXPECT_TRUE(rig->files.history().Files().empty());

  Place(rig->model, 6, {});
  rig->files.AutoSave();
  rig->files.AutoSave();
  const std::vector<HistoryFile> kept = rig->files.history().Files();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].file.parent_path(), rig->files.folder() / "History");
  EXPECT_EQ(test::read_bytes(kept[0].file), test::read_bytes(rig->files.folder() / "AutoS1.mav"));

  rig->model.Update(6, [](PortRecord& r) { r.icon_color = 3; });
  rig->files.AutoSave();
  rig->files.AutoSave();
  rig->files.SaveSnapshot();  // the snapshot before Connect All is no automatic save
  EXPECT_EQ(rig->files.history().Files().size(), 2u);
}

TEST(ConfigurationHistory, TheTwoHundredAndFirstSaveRemovesTheOldest) {
  test::ScratchDirectory dir;
  ConfigurationHistory history(dir.path() / "History");
  const HistoryTime start = sys_days{2026y / 12 / 6} + 35min + 36s + 123ms;
  test::Bytes bytes(kConfigFileSize, 0);
  for (int i = 0; i < 201; ++i) {
    test::put_i32(bytes, 0, i);
    ASSERT_TRUE(history.Record(bytes, start + minutes{i}));
    EXPECT_TRUE(i != 199 || names(history).front() == "20261206-003536.123.mav");
  }
  const std::vector<std::string> kept = names(history);
  EXPECT_EQ(std::tuple(kept.size(), kept.front(), kept.back()),
            std::tuple(200u, "20261206-003636.123.mav", "20261206-035536.123.mav"));
  EXPECT_EQ(test::get_i32(test::read_bytes(history.Files().front().file), 0), 1);
}

TEST(ConfigurationHistory, NamesSortByTimeAndOtherFilesAreLeftAlone) {
  test::ScratchDirectory dir;
  ConfigurationHistory history(dir.path() / "History");
  fs::create_directories(history.folder());
  test::write_bytes(history.folder() / "evening.mav", test::Bytes(kConfigFileSize, 0));
  const sys_days new_year{2027y / 1 / 1};
  // The same millisecond again, then the clock set back.
  const HistoryTime times[] = {new_year - 1ms, new_year,       new_year + 10h - 1ms,
                               new_year + 10h, new_year + 10h, new_year + 9h + 5min};
  test::Bytes bytes(kConfigFileSize, 0);
  for (const HistoryTime when : times) {
    ++bytes[0];
    ASSERT_TRUE(history.Record(bytes, when));
  }
  EXPECT_EQ(names(history), (Lines{"20261231-235959.999.mav", "20270101-000000.000.mav",
                                   "20270101-095959.999.mav", "20270101-100000.000.mav",
                                   "20270101-100000.001.mav", "20270101-100000.002.mav"}));
  EXPECT_EQ(history.Files()[3].when, times[3]);
  EXPECT_TRUE(fs::exists(history.folder() / "evening.mav"));
  for (const char* foreign : {"evening.mav", "20270101-100000.000.txt", "2027010a-100000.000.mav",
                              "20271301-100000.000.mav"}) {
    EXPECT_FALSE(HistoryTimeOfName(foreign)) << foreign;
  }
}

}  // namespace
}  // namespace mav
