// The configuration commands and the automatic files: which file each one reads or writes, the
// operator's messages, the lines sent around a load, and the prelude after a gateway restart.
#include <gtest/gtest.h>

#include <fstream>

#include "config/ConfigRig.h"
#include "frontend/MenuIds.h"
#include "support/FileBytes.h"

namespace mav {
namespace {

using std::filesystem::exists;
using test::make_config_rig;

TEST(ConfigurationFiles, AutomaticSavesGoToThisRunsSlotFileOnceAModuleIsKnown) {
  auto rig = make_config_rig();
  rig->files.set_save_slot(1);
  rig->files.AutoSave();
  rig->files.SaveSnapshot();
  EXPECT_FALSE(exists(rig->folder()));

  rig->link.insert_module(6);
  rig->files.AutoSave();
  EXPECT_EQ(test::read_bytes(rig->folder() / "AutoS2.mav").size(), 16953u);
  EXPECT_FALSE(exists(rig->folder() / "AutoS1.mav"));
  rig->files.set_save_slot(0);
  rig->files.AutoSave();
  EXPECT_TRUE(exists(rig->folder() / "AutoS1.mav"));
  rig->files.SaveSnapshot();
  const test::Bytes snapshot = test::read_bytes(rig->folder() / "Auto_CD.mav");
  ASSERT_EQ(snapshot.size(), 16953u);
  EXPECT_EQ(test::get_i32(snapshot, 8 + 624 * 6), MOD_TOV5);
  EXPECT_EQ(rig->wire(), "");
}

TEST(ConfigurationFiles, CommandsTellTheOperatorWhatStoppedThem) {
  const struct {
    const char* what;
    int command;
    bool modules;
    bool answer_yes;
    const char* told;  // nullptr: nothing
  } cases[] = {
      {"save without modules", menu::kSaveConfiguration, false, true, "No data to save"},
      {"load without modules", menu::kLoadConfiguration, false, true,
       "Get configuration from MAV first"},
      {"restore without modules", menu::kRestoreLastConfig, false, true,
       "Get configuration from MAV first"},
      {"revert without modules", menu::kRevertAfterDisconnectAll, false, true,
       "Get configuration from MAV first"},
      {"restore, previous run's file missing", menu::kRestoreLastConfig, true, true,
       "Load file could not be opened"},
      {"restore declined", menu::kRestoreLastConfig, true, false, nullptr},
      {"revert before any Connect All", menu::kRevertAfterConnectAll, true, true,
       "Load file could not be opened"},
      {"revert before any Disconnect All", menu::kRevertAfterDisconnectAll, true, true,
       "Load file could not be opened"},
  };
  for (const auto& c : cases) {
    auto rig = make_config_rig();
    rig->files.set_save_slot(1);
    if (c.modules) rig->link.insert_module(0);
    // This run's own file exists: Restore Last must read the other one.
    rig->files.AutoSave();
    rig->prompts.answer_yes = c.answer_yes;
    rig->run(c.command);
    EXPECT_EQ(rig->prompts.told,
              c.told ? std::vector<std::string>{c.told} : std::vector<std::string>{})
        << c.what;
    EXPECT_EQ(rig->wire(), "") << c.what;
  }
}

TEST(ConfigurationFiles, RestoreLastAsksFirstAndReadsThePreviousRunsFile) {
  auto rig = make_config_rig();
  rig->link.insert_module(0);
  rig->files.set_save_slot(1);
  rig->files.AutoSave();
  std::filesystem::rename(rig->folder() / "AutoS2.mav", rig->folder() / "AutoS1.mav");
  rig->run(menu::kRestoreLastConfig);
  EXPECT_EQ(rig->prompts.asked,
            std::vector<std::string>{"Restore to Last Configuration:\rAre you sure?"});
  EXPECT_EQ(rig->wire(), "DISC_S ALL\r");
}

TEST(ConfigurationFiles, SaveAndLoadReportFilesTheyCannotUse) {
  auto rig = make_config_rig();
  rig->link.insert_module(0);
  rig->prompts.chosen = rig->link.scratch / "no such folder" / "x.mav";
  rig->run(menu::kSaveConfiguration);
  rig->run(menu::kLoadConfiguration);
  EXPECT_EQ(rig->prompts.told, (std::vector<std::string>{"Save file could not be opened",
                                                         "Load file could not be opened"}));
  rig->prompts.chosen.reset();
  rig->run(menu::kLoadConfiguration);
  EXPECT_EQ(rig->prompts.told.size(), 2u);
  EXPECT_EQ(rig->wire(), "");
}

// The command's own DISCH ALL has gone out before the loader reads the version word.
TEST(ConfigurationFiles, AForeignVersionIsRefusedAfterTheCommandsDischAll) {
  auto rig = make_config_rig();
  rig->link.insert_module(0);
  test::Bytes bytes = EncodeConfiguration(Configuration{});
  test::put_i32(bytes, 0, 8);
  rig->prompts.chosen = rig->link.scratch / "eight.mav";
  test::write_bytes(*rig->prompts.chosen, bytes);
  rig->session.voice_prompts = false;
  rig->run(menu::kLoadConfiguration);
  EXPECT_EQ(rig->wire(), "DISCH ALL\r");
  const std::vector<MessageBoxRequest> boxes = rig->link.frontend.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "The specified configuration file is incompatible\rwith this version of the MAV "
            "Controller");
  EXPECT_EQ(boxes[0].caption, "Can't read configuration file");
  EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
  EXPECT_FALSE(boxes[0].owned_by_main_window);
}

TEST(ConfigurationFiles, GatewayRestartSavesThenSendsThePreludeAndTheReplay) {
  const struct {
    bool voice;
    bool cor;
    bool ptt;
    const char* prelude;
  } cases[] = {
      {true, true, false,
       "USER_PGM OFF\rVPMTS OFF\rDISCH ALL\rVPMTS ON\rCOR_LED ON\rPTT_LED OFF\r"},
      {false, false, true, "USER_PGM OFF\rDISCH ALL\rCOR_LED OFF\rPTT_LED ON\r"},
  };
  for (const auto& c : cases) {
    auto rig = make_config_rig();
    rig->files.set_save_slot(1);
    for (const int port : {3, 8}) test::Place(rig->link.model, port, {.bus = 2, .net = 1});
    rig->session.voice_prompts = c.voice;
    rig->session.cor_reporting = c.cor;
    rig->session.ptt_reporting = c.ptt;
    EXPECT_TRUE(rig->files.RestoreAfterGatewayRestart());
    EXPECT_EQ(rig->wire(), std::string(c.prelude) + "DISC_S ALL\rCONNECT_S 08 03\r");
    EXPECT_TRUE(exists(rig->folder() / "AutoS2.mav"));
  }
}

TEST(ConfigurationFiles, GatewayRestartWithoutAReadableFileSendsNothing) {
  auto rig = make_config_rig();
  rig->link.insert_module(0);
  // A file where the folder should be: nothing can be saved, so nothing can be read back.
  std::ofstream(rig->folder()) << "in the way";
  EXPECT_FALSE(rig->files.RestoreAfterGatewayRestart());
  EXPECT_EQ(rig->wire(), "");
  EXPECT_TRUE(rig->link.frontend.boxes().empty());
}

}  // namespace
}  // namespace mav
