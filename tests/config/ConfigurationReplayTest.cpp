// The replay of a saved configuration, line by line on a real channel: the order on the wire,
// the steps each join leaves in the model and the pending table, and the refusals that send
// nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "config/ConfigRig.h"
#include "frontend/MenuIds.h"

namespace mav {
namespace {

using test::ConfigRig;
using test::make_config_rig;
using test::Place;
using test::Placement;

// The saved configuration starts as the model holds it now: a TOV-5 in every port, no group,
// the same settings.
Configuration current_configuration(const ConfigRig& rig) {
  Configuration config;
  for (int port = 0; port < kPortCount; ++port) {
    config.ports[static_cast<std::size_t>(port)] = rig.port(port);
  }
  return config;
}

void put_in(Configuration& config, int port, std::int16_t net, std::int16_t bus,
            std::int16_t link) {
  PortRecord& record = config.ports[static_cast<std::size_t>(port)];
  record.net = net;
  record.bus = bus;
  record.bus_link = link;
}

void install_modules(ConfigRig& rig) {
  for (int port = 0; port < kPortCount; ++port) Place(rig.link.model, port, Placement{});
}

// Revert loads "Auto_CD.mav" without any line of its own before the loader's.
void revert_to(ConfigRig& rig, const Configuration& config) {
  std::filesystem::create_directories(rig.folder());
  ASSERT_TRUE(WriteConfiguration(rig.folder() / "Auto_CD.mav", config));
  rig.run(menu::kRevertAfterConnectAll);
}

std::pair<int, int> pending_entry(ConfigRig& rig, std::uint8_t kind, int port) {
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  if (!rig.pending.Take(kind, static_cast<std::uint8_t>(port), data1, data2)) return {-1, -1};
  return {data1, data2};
}

TEST(ConfigurationReplay, SavedAndLoadedBackSendsOneJoinPerFurtherNetPort) {
  auto rig = make_config_rig();
  install_modules(*rig);
  for (const int port : {0, 1, 2}) Place(rig->link.model, port, {.bus = 0, .net = 1});
  for (const int port : {3, 4}) Place(rig->link.model, port, {.bus = 1, .net = 2});
  rig->prompts.chosen = rig->folder() / "mine.mav";
  rig->run(menu::kSaveConfiguration);
  rig->run(menu::kLoadConfiguration);

  EXPECT_EQ(rig->wire(),
            "VPMTS OFF\rDISCH ALL\rVPMTS ON\rDISC_S ALL\rCONNECT_S 01 00\rCONNECT_S 02 00\r"
            "CONNECT_S 04 03\r");
  EXPECT_EQ(rig->prompts.choices, (std::vector{FileChoice::Save, FileChoice::Load}));
  EXPECT_EQ(rig->prompts.chooser_folder, rig->link.scratch / "Configurations");
  EXPECT_TRUE(rig->prompts.told.empty());
  EXPECT_EQ(rig->pauses, std::vector{std::chrono::milliseconds(500)});
  const std::pair<int, int> steps[] = {{1, 2}, {2, 5}, {4, 2}};
  for (const auto& [port, step] : steps) {
    EXPECT_EQ(rig->port(port).connect_step, static_cast<std::uint32_t>(step)) << port;
    EXPECT_EQ(pending_entry(*rig, PendingTable::kConnectWaits, port), std::pair(step, 0)) << port;
  }
  EXPECT_FALSE(rig->session.replay_running.load());
}

TEST(ConfigurationReplay, LinksDischGroupsPinsAndMonitorsFollowTheNets) {
  auto rig = make_config_rig();
  install_modules(*rig);
  PortRecord watcher = rig->port(20);
  AddMonitor(watcher, 21);
  AddMonitor(watcher, 5);
  rig->link.model.SetPort(20, watcher);
  Configuration saved = current_configuration(*rig);
  for (std::int16_t net = 1; net <= 4; ++net) {
    put_in(saved, 2 * net - 2, net, net, 0);
    put_in(saved, 2 * net - 1, net, net, 0);
  }
  for (const int port : {9, 12, 14}) saved.ports[static_cast<std::size_t>(port)].disch_group = 3;
  saved.ports[17].disch_group = 4;  // alone in its group: nothing sent
  std::memcpy(saved.pin_table.data(), "Night shift", 11);
  saved.security_mode = 13;
  revert_to(*rig, saved);

  EXPECT_EQ(rig->wire(),
            "DISC_S ALL\rMON 20 21 ON\rMON 20 05 ON\r"
            "CONNECT_S 01 00\rCONNECT_S 03 02\rCONNECT_S 05 04\rCONNECT_S 07 06\r"
            "CONNECT_S 02 00\rCONNECT_S 04 00\rCONNECT_S 06 00\r"
            "DISCH 09\rDISCH 12\rDISCH 14\r");
  const std::pair<int, int> link_steps[] = {{2, 3}, {4, 6}, {6, 6}};
  for (const auto& [port, step] : link_steps) {
    EXPECT_EQ(rig->port(port).connect_step, static_cast<std::uint32_t>(step)) << port;
    EXPECT_EQ(pending_entry(*rig, PendingTable::kConnectWaits, port), std::pair(step, 0)) << port;
  }
  const struct {
    int port;
    std::uint32_t step;
    int partner;
  } disch[] = {{9, 1, 129}, {12, 5, 9}, {14, 5, 9}};
  for (const auto& d : disch) {
    EXPECT_EQ(rig->port(d.port).disch_step, d.step) << d.port;
    EXPECT_EQ(rig->port(d.port).pending_partner, d.partner) << d.port;
    EXPECT_EQ(pending_entry(*rig, PendingTable::kDischWaits, d.port),
              std::pair(static_cast<int>(d.step), d.partner))
        << d.port;
  }
  EXPECT_STREQ(rig->pins.entry(0).name, "Night shift");
  EXPECT_EQ(rig->session.security_mode.load(), 13);
}

TEST(ConfigurationReplay, NamesAndIconsComeBackAndAMissingIconFallsBackToItsPreset) {
  auto rig = make_config_rig();
  install_modules(*rig);
  const std::filesystem::path icon = rig->link.scratch / "tower.bmp";
  std::ofstream(icon) << "BM";
  Configuration saved = current_configuration(*rig);
  const struct {
    int port;
    const char* name;
    std::filesystem::path icon;
    int icon_id;
    int preset;
  } ports[] = {{0, "Tower", icon, 551, 0}, {1, "Gone", rig->link.scratch / "gone.bmp", -1, 1}};
  for (const auto& p : ports) {
    PortRecord& record = saved.ports[static_cast<std::size_t>(p.port)];
    std::strcpy(record.port_name, p.name);
    std::strcpy(record.icon_path, p.icon.c_str());
    record.icon_preset = 0;
    record.icon_color = 6;
    record.perm_conn = 1;
  }
  saved.ports[0].settings.tx_level = 7;  // the one setting that differs
  revert_to(*rig, saved);
  EXPECT_EQ(rig->wire(), "DISC_S ALL\rTX_LEVEL 00 7\r");
  EXPECT_EQ(rig->port(0).settings.tx_level, 7);
  EXPECT_EQ(rig->icons.frees, 1);
  for (const auto& p : ports) {
    const PortRecord record = rig->port(p.port);
    EXPECT_STREQ(record.port_name, p.name);
    EXPECT_EQ(record.icon_id, p.icon_id) << p.name;
    EXPECT_EQ(record.icon_preset, p.preset) << p.name;
    EXPECT_EQ(record.icon_color, 6);
    EXPECT_EQ(record.perm_conn, 1);
  }
}

// Port 04 of the saved configuration holds a TOV-5 whose groups vary; the gateway now has the
// module below in that port.
TEST(ConfigurationReplay, AUsedPortMeetingAnotherModuleRefusesTheWholeLoad) {
  const struct {
    const char* what;
    std::uint32_t module_now;
    std::int16_t saved_bus;
    std::int16_t saved_disch;
    bool refused;
  } cases[] = {
      {"on a bus, VOQ-3 now", MOD_VOQ3, 0, GROUP_NONE, true},
      {"in a DISCH group, VOQ-3 now", MOD_VOQ3, GROUP_NONE, 2, true},
      {"on a bus, no module now", MOD_NONE, 0, GROUP_NONE, true},
      {"unused, VOQ-3 now", MOD_VOQ3, GROUP_NONE, GROUP_NONE, false},
  };
  for (const auto& c : cases) {
    auto rig = make_config_rig();
    install_modules(*rig);
    Place(rig->link.model, 4, {.mod_type = c.module_now});
    PortRecord current = rig->port(4);
    current.settings.tx_level = 3;
    std::strcpy(current.port_name, "Now");
    rig->link.model.SetPort(4, current);
    Configuration saved = current_configuration(*rig);
    saved.ports[4].mod_type = MOD_TOV5;
    saved.ports[4].bus = c.saved_bus;
    saved.ports[4].disch_group = c.saved_disch;
    saved.ports[4].settings.tx_level = 7;
    std::strcpy(saved.ports[4].port_name, "Saved");
    std::memcpy(saved.pin_table.data(), "Saved user", 10);
    revert_to(*rig, saved);

    const std::vector<MessageBoxRequest> boxes = rig->link.frontend.boxes();
    if (c.refused) {
      EXPECT_EQ(rig->wire(), "") << c.what;
      ASSERT_EQ(boxes.size(), 1u) << c.what;
      EXPECT_EQ(boxes[0].text,
                "Load Failed!\rSaved configuration incompatible\rwith current configuration");
      EXPECT_EQ(boxes[0].caption, "MAV Controller");
      EXPECT_FALSE(boxes[0].owned_by_main_window);
      EXPECT_STREQ(rig->pins.entry(0).name, "") << c.what;
    } else {
      EXPECT_EQ(rig->wire(), "DISC_S ALL\r") << c.what;
      EXPECT_TRUE(boxes.empty()) << c.what;
    }
    // Neither a refused load nor a skipped port takes anything from the saved port.
    EXPECT_EQ(rig->port(4).settings.tx_level, 3) << c.what;
    EXPECT_STREQ(rig->port(4).port_name, "Now") << c.what;
  }
}

}  // namespace
}  // namespace mav
