// The comparison of a saved configuration with the gateway now, on configuration bytes crafted at
// their file offsets: nets, settings with their dialog labels and values, modules that stop the
// load or are skipped by it, and the questions that show it.
#include <gtest/gtest.h>

#include "config/ConfigurationReplay.h"
#include "frontend/MenuIds.h"
#include "model/RecordImage.h"
#include "model/SettingsFields.h"
#include "support/ControllerRig.h"
#include "support/FileBytes.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

using test::Place;
using test::Placement;

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
    for (int port = 0; port <= 5; ++port) Place(model, port, Placement{});
    for (const int port : {0, 1}) Place(model, port, {.bus = 0, .net = 1});
    for (const int port : {2, 3, 4}) Place(model, port, {.bus = 1, .net = 2});
    PortRecord record = test::RecordOf(model, 4);
    store_setting(record.settings, kw::TX_LEVEL, 5);
    model.SetPort(4, record);
    Configuration now;
    for (int port = 0; port < kPortCount; ++port) {
      model.GetPort(port, now.ports[static_cast<std::size_t>(port)]);
    }
    file = EncodeConfiguration(now);
  }

  std::vector<std::string> changes() const {
    const std::optional<Configuration> saved = DecodeConfiguration(file);
    EXPECT_TRUE(saved);
    return saved ? DescribeChanges(CompareWithModel(model, *saved)) : std::vector<std::string>{};
  }

  DeviceModel model;
  test::Bytes file;
};

using Lines = std::vector<std::string>;

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
  for (const int port : {0, 1}) put_i16(renumbered.file, record_at(port) + 4, 5);
  for (const int port : {2, 3, 4}) put_i16(renumbered.file, record_at(port) + 4, 0);
  put_i16(renumbered.file, record_at(4) + 4, 7);
  put_i16(renumbered.file, record_at(5) + 4, 7);
  EXPECT_EQ(renumbered.changes(), (Lines{"Port 04: Net 2 -> Net 3", "Port 05: no net -> Net 3"}));
}

TEST(ConfigurationChanges, AnotherModuleStopsTheLoadOnlyWhereTheFileUsesThePort) {
  const Lines fails{"The load would fail: nothing would change.",
                    "Port 05: TOV-5 in the gateway, VOQ-3 in the file: load would fail"};
  const struct {
    const char* what;
    std::int16_t bus, disch;
    Lines expected;
  } cases[] = {
      {"on a bus", 1, GROUP_NONE, fails},
      {"in a DISCH group", GROUP_NONE, 0, fails},
      {"in no group",
       GROUP_NONE,
       GROUP_NONE,
       {"Port 04 Tx Level: -4 dBm [5] -> 0 dBm [6] (default)",
        "Port 05: TOV-5 in the gateway, VOQ-3 in the file: not restored",
        "Port 06: no module in the gateway, LINE-7 in the file: not restored"}},
  };
  for (const auto& c : cases) {
    Gateway gateway;
    test::put_i32(gateway.file, record_at(5), 4);  // VOQ-3
    put_i16(gateway.file, record_at(5) + 6, c.bus);
    put_i16(gateway.file, record_at(5) + 10, c.disch);
    test::put_i32(gateway.file, record_at(6), 3);  // LINE-7 where the gateway has none
    gateway.file[record_at(4) + 83] = 6;
    EXPECT_EQ(gateway.changes(), c.expected) << c.what;
  }
}

// Restore Last and Load show the changes before they ask; a declined load sends nothing. A load
// the comparison shows to fail asks with No first and sends nothing whatever the answer.
TEST(ConfigurationChanges, RestoreLastAndLoadShowTheChangesBeforeTheyAsk) {
  for (const bool yes : {false, true}) {
    auto rig = test::make_connected_rig();
    Place(rig->model, 0, {});
    rig->files.set_save_slot(0);
    std::filesystem::create_directories(rig->files.folder());
    Configuration saved;
    for (int port = 0; port < kPortCount; ++port) {
      saved.ports[static_cast<std::size_t>(port)] = rig->port(port);
    }
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
    EXPECT_EQ(rig->prompts.asked.back(),
              "Load Configuration:\rother.mav\rThe load would fail: nothing would change.\rAre you "
              "sure?");
    if (!yes) {
      EXPECT_EQ(rig->prompts.asked[0] + rig->prompts.asked[1],
                "Restore to Last Configuration:\rAre you sure?"
                "Load Configuration:\rAutoS2.mav\rAre you sure?");
    }
    EXPECT_EQ(rig->wire(), "");                              // not even DISCH ALL
    EXPECT_EQ(rig->frontend.boxes().size(), yes ? 1u : 0u);  // "Load Failed!"
  }
}

}  // namespace
}  // namespace mav
