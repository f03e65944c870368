// The replay of a saved configuration, line by line on a real channel: the order on the wire,
// the steps each join leaves in the model and the pending table, and the refusals that send
// nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "frontend/MenuIds.h"
#include "model/RecordImage.h"
#include "support/ControllerRig.h"
#include "support/FileBytes.h"

namespace mav {
namespace {

using test::ConfigRig;
using test::make_connected_rig;
using test::Place;

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
  std::filesystem::create_directories(rig.files.folder());
  ASSERT_TRUE(WriteConfiguration(rig.files.folder() / "Auto_CD.mav", config));
  rig.registry.run(menu::kRevertAfterConnectAll);
}

// The waiting step a port's join left in its record and in the pending table.
void expect_waits(ConfigRig& rig, std::uint8_t kind, int port, int step, int data2 = 0) {
  SCOPED_TRACE(::testing::Message() << "port " << port);
  const PortRecord record = rig.port(port);
  EXPECT_EQ(kind == PendingTable::kConnectWaits ? record.connect_step : record.disch_step,
            static_cast<std::uint32_t>(step));
  std::uint8_t data1 = 0, taken2 = 0;
  ASSERT_TRUE(rig.pending.Take(kind, static_cast<std::uint8_t>(port), data1, taken2));
  EXPECT_EQ(std::pair(int{data1}, int{taken2}), std::pair(step, data2));
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
                 rig->pauses),
      std::tuple(std::vector{FileChoice::Save, FileChoice::Load}, rig->scratch / "Configurations",
                 0u, std::vector{std::chrono::milliseconds(500)}));
  for (const auto& [port, step] : {std::pair{1, 2}, {2, 5}, {4, 2}}) {
    expect_waits(*rig, PendingTable::kConnectWaits, port, step);
  }
  EXPECT_FALSE(rig->state.replay_running.load());
}

TEST(ConfigurationReplay, LinksDischGroupsPinsMonitorsNamesAndIconsFollow) {
  auto rig = make_connected_rig();
  Configuration saved = install_modules(*rig);
  PortRecord watcher = rig->port(20);
  AddMonitor(watcher, 21);
  AddMonitor(watcher, 5);
  rig->model.SetPort(20, watcher);
  saved.ports[20] = watcher;
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
  const std::filesystem::path icon = rig->scratch / "tower.bmp";
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
  EXPECT_STREQ(rig->pins.entry(0).name, "Night shift");
  EXPECT_STREQ(rig->port(11).port_name, "Gone");
  // A missing icon falls back to its preset.
  EXPECT_EQ((std::vector<int>{rig->state.security_mode.load(), rig->port(10).settings.tx_level,
                              rig->icons.frees, rig->port(10).icon_id, rig->port(11).icon_color,
                              rig->port(11).icon_id, rig->port(11).icon_preset}),
            (std::vector<int>{13, 7, 1, 551, 6, -1, 1}));
}

// Port 04 of the saved configuration holds a TOV-5 whose groups vary; the gateway now has the
// module below in that port.
TEST(ConfigurationReplay, AUsedPortMeetingAnotherModuleRefusesTheWholeLoad) {
  const struct {
    std::uint32_t module_now;
    std::int16_t saved_bus, saved_disch;
    bool refused;
  } cases[] = {{MOD_VOQ3, 0, GROUP_NONE, true},
               {MOD_VOQ3, GROUP_NONE, 2, true},
               {MOD_NONE, 0, GROUP_NONE, true},
               {MOD_VOQ3, GROUP_NONE, GROUP_NONE, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.module_now << " " << c.saved_bus << c.saved_disch);
    auto rig = make_connected_rig();
    Configuration saved = install_modules(*rig);
    Place(rig->model, 4, {.mod_type = c.module_now});
    saved.ports[4].bus = c.saved_bus;
    saved.ports[4].disch_group = c.saved_disch;
    saved.ports[4].settings.tx_level = 7;
    std::memcpy(saved.pin_table.data(), "Saved user", 10);
    revert_to(*rig, saved);

    std::string shown;
    for (const MessageBoxRequest& box : rig->frontend.boxes()) {
      shown += box.caption + ": " + box.text + (box.owned_by_main_window ? " (owned)" : "");
    }
    EXPECT_EQ(rig->wire() + shown + rig->pins.entry(0).name,
              c.refused ? "MAV Controller: Load Failed!\rSaved configuration incompatible\rwith "
                          "current configuration"
                        : "DISC_S ALL\rSaved user");
    EXPECT_EQ(rig->port(4).settings.tx_level, 3);  // nothing taken from the saved port
  }
}

TEST(ConfigurationFiles, CommandsTellTheOperatorWhatStoppedThem) {
  const struct {
    int command;
    bool modules, answer_yes;
    const char* told;  // nullptr: nothing
  } cases[] = {
      {menu::kSaveConfiguration, false, true, "No data to save"},
      {menu::kLoadConfiguration, false, true, "Get configuration from MAV first"},
      {menu::kRestoreLastConfig, false, true, "Get configuration from MAV first"},
      {menu::kRevertAfterDisconnectAll, false, true, "Get configuration from MAV first"},
      {menu::kRestoreLastConfig, true, true, "Load file could not be opened"},  // no previous run
      {menu::kRestoreLastConfig, true, false, nullptr},
      {menu::kRevertAfterConnectAll, true, true, "Load file could not be opened"},
      {menu::kRevertAfterDisconnectAll, true, true, "Load file could not be opened"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    auto rig = make_connected_rig();
    if (c.modules) Place(rig->model, 0, {});
    rig->files.AutoSave();  // this run's own file exists: Restore Last must read the other one
    rig->prompts.answer_yes = c.answer_yes;
    rig->registry.run(c.command);
    EXPECT_EQ(rig->prompts.told,
              c.told ? std::vector<std::string>{c.told} : std::vector<std::string>{});
    EXPECT_EQ(rig->wire(), "");
  }
}

TEST(ConfigurationFiles, AutomaticSavesRestoreLastAndFilesThatCannotBeUsed) {
  auto rig = make_connected_rig();
  rig->files.AutoSave();
  rig->files.SaveSnapshot();
  EXPECT_FALSE(std::filesystem::exists(rig->files.folder()));  // no module known

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
  EXPECT_EQ(rig->prompts.asked,
            std::vector<std::string>{"Restore to Last Configuration:\rAre you sure?"});
  EXPECT_EQ(rig->wire(), "DISC_S ALL\r");

  rig->prompts.chosen = rig->scratch / "no such folder" / "x.mav";
  rig->registry.run(menu::kSaveConfiguration);
  rig->registry.run(menu::kLoadConfiguration);
  EXPECT_EQ(rig->prompts.told, (std::vector<std::string>{"Save file could not be opened",
                                                         "Load file could not be opened"}));
  rig->prompts.chosen.reset();
  rig->registry.run(menu::kLoadConfiguration);  // cancelled: nothing more
  EXPECT_EQ(std::pair(rig->prompts.told.size(), rig->wire()),
            std::pair(std::size_t{2}, std::string()));

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
  const struct {
    bool voice, cor, ptt;
    const char* prelude;
  } cases[] = {
      {true, true, false,
       "USER_PGM OFF\rVPMTS OFF\rDISCH ALL\rVPMTS ON\rCOR_LED ON\rPTT_LED OFF\r"},
      {false, false, true, "USER_PGM OFF\rDISCH ALL\rCOR_LED OFF\rPTT_LED ON\r"},
  };
  for (const auto& c : cases) {
    auto rig = make_connected_rig();
    for (const int port : {3, 8}) Place(rig->model, port, {.bus = 2, .net = 1});
    rig->fake_clock.advance_ms(90000);  // the periodic save's minute starts again
    rig->state.voice_prompts = c.voice;
    rig->state.cor_reporting = c.cor;
    rig->state.ptt_reporting = c.ptt;
    EXPECT_TRUE(rig->files.RestoreAfterGatewayRestart());
    EXPECT_EQ(rig->state.last_autosave_ms, rig->fake_clock.now_ms());
    EXPECT_EQ(rig->wire(), std::string(c.prelude) + "DISC_S ALL\rCONNECT_S 08 03\r");
    EXPECT_TRUE(std::filesystem::exists(rig->files.folder() / "AutoS2.mav"));
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
TEST(ConfigurationFiles, EveryFileAndFolderIsTheOwnersAlone) {
  using std::filesystem::perms;
  auto rig = make_connected_rig();
  test::Place(rig->model, 0, {});
  std::filesystem::create_directories(rig->files.folder());
  std::filesystem::permissions(rig->files.folder(), perms::all);  // as an earlier version left it
  rig->files.set_save_slot(1);
  rig->files.AutoSave();  // AutoS2.mav and the first history file
  rig->files.SaveSnapshot();
  rig->prompts.chosen = rig->files.folder() / "Desk.mav";
  rig->registry.run(menu::kSaveConfiguration);

  int files = 0;
  for (const std::filesystem::directory_entry& entry :
       std::filesystem::recursive_directory_iterator(rig->files.folder())) {
    const bool folder = entry.is_directory();
    files += folder ? 0 : 1;
    EXPECT_EQ(entry.status().permissions(),
              folder ? perms::owner_all : (perms::owner_read | perms::owner_write))
        << entry.path();
  }
  EXPECT_EQ(files, 4);
  EXPECT_EQ(std::filesystem::status(rig->files.folder()).permissions(), perms::owner_all);
}

TEST(ConfigurationFiles, ASaveWritesThroughALinkAndLeavesAReadOnlyFileAlone) {
  using std::filesystem::perms;
  auto rig = make_connected_rig();
  test::Place(rig->model, 0, {});
  std::filesystem::create_directories(rig->files.folder());
  const std::filesystem::path target = rig->files.folder() / "Target.mav";
  std::ofstream(target) << "old";
  std::filesystem::create_symlink("Target.mav", rig->files.folder() / "Link.mav");
  rig->prompts.chosen = rig->files.folder() / "Link.mav";
  rig->registry.run(menu::kSaveConfiguration);
  EXPECT_TRUE(std::filesystem::is_symlink(rig->files.folder() / "Link.mav"));
  EXPECT_EQ(std::filesystem::file_size(target), 16953u);

  const std::filesystem::path fixed = rig->files.folder() / "Fixed.mav";
  std::ofstream(fixed) << "old";
  std::filesystem::permissions(fixed, perms::owner_read | perms::group_read | perms::others_read);
  rig->prompts.chosen = fixed;
  rig->registry.run(menu::kSaveConfiguration);
  EXPECT_EQ(rig->prompts.told, std::vector<std::string>{"Save file could not be opened"});
  EXPECT_EQ(test::read_bytes(fixed).size(), 3u);
}

}  // namespace
}  // namespace mav
