// Module line-up: SYSTEM (first, again, changed), MOD_TYPE, BOOT (removal, insertion, restart).
#include <cstring>

#include "protocol/DispatcherFixture.h"

namespace mav {
namespace {

using test::DispatcherTest;
using Lines = std::vector<std::string>;

void Name(PortRecord& record, const char* name) {
  std::strncpy(record.port_name, name, sizeof record.port_name - 1);
}

TEST_F(DispatcherTest, FirstSystemReplyBuildsTheModuleLineUp) {
  state.network_mode = true;
  Feed("%SYSTEM 1203 0001 2505 E0");
  EXPECT_EQ(Port(12).mod_type, 3u);
  EXPECT_STREQ(Port(12).port_name, "LINE-7");
  EXPECT_EQ(Port(0).mod_type, 1u);
  EXPECT_STREQ(Port(0).port_name, "TOV-5");
  EXPECT_EQ(Port(25).mod_type, 5u);
  EXPECT_STREQ(Port(25).port_name, "HK-6");
  EXPECT_EQ(model.CountModules(), 3);
  EXPECT_EQ(LogMessages(), (Lines{"*** Received system information from MAV-7700"}));
  EXPECT_EQ(hooks.site_name_loads, 1);
  const Lines lines = sender.lines();
  ASSERT_EQ(lines.size(), 41u);
  EXPECT_EQ(lines.front(), "2W_4W ALL ?\r");
  EXPECT_EQ(lines.back(), "MEK_SQUELCH_TYPE ?\r");
  EXPECT_EQ(frontend.last_message(), "Processing commands from the MAV");
  EXPECT_EQ(frontend.title_updates(), 1);  // a network channel names the gateway in the title
}

TEST_F(DispatcherTest, SystemReplyMatchingTheModelOnlyQueriesAgain) {
  Set({3, 1});
  Set({7, 2});
  Set({9, 4});  // known here but missing from the reply: no difference
  PortRecord renamed = Port(3);
  Name(renamed, "Tower");
  renamed.settings.tx_level = 9;
  Store(3, renamed);

  Feed("%SYSTEM 0301 0702 E0");
  EXPECT_EQ(LogMessages(), (Lines{"*** Received system information from MAV-7700 (again)"}));
  EXPECT_EQ(Port(3).settings.tx_level, 9);
  EXPECT_EQ(Port(9).mod_type, 4u);
  EXPECT_EQ(sender.lines().size(), 41u);
  EXPECT_EQ(hooks.site_name_loads, 0);
}

TEST_F(DispatcherTest, SystemReplyWithAMovedModuleRebuildsKeepingNames) {
  Set({3, 1, 0});
  Set({7, 2, 0});
  PortRecord named = Port(7);
  Name(named, "Console");
  named.settings.tx_level = 9;
  Store(7, named);

  Feed("%SYSTEM 0401 0702 E0");
  EXPECT_EQ(Port(3).mod_type, 0u);
  EXPECT_EQ(Port(4).mod_type, 1u);
  EXPECT_STREQ(Port(4).port_name, "TOV-5");
  EXPECT_STREQ(Port(7).port_name, "Console");  // Reset(true) kept the operator's name
  EXPECT_EQ(Port(7).settings.tx_level, 3);     // settings back to their reset values
  EXPECT_EQ(Port(7).bus, GROUP_NONE);
  EXPECT_EQ(LogMessages(), (Lines{"*** Received system information from MAV-7700"}));
}

TEST_F(DispatcherTest, SystemReplyWithBadEntriesTouchesNoPortOutsideTheTable) {
  Feed("%SYSTEM 2601 0309 9999 E0");
  EXPECT_EQ(Port(3).mod_type, 9u);
  EXPECT_STREQ(Port(3).port_name, "");  // no model name for an unknown type
  EXPECT_EQ(model.CountModules(), 1);
}

TEST_F(DispatcherTest, ModTypeFillsInTheModuleAndAsksItsSettings) {
  PortRecord named = Port(5);
  Name(named, "Old name");
  named.bus = 2;
  Store(5, named);

  Feed("%MOD_TYPE 05 1 E0");
  const PortRecord record = Port(5);
  EXPECT_EQ(record.mod_type, 1u);
  EXPECT_STREQ(record.port_name, "TOV-5");  // always overwritten
  EXPECT_EQ(record.bus, GROUP_NONE);
  const Lines lines = sender.lines();
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines.front(), "DUPLEX 05 ?\r");
  EXPECT_EQ(lines.back(), "RADIO_TYPE 05 ?\r");
  EXPECT_TRUE(state.input_ready);  // quiet ending
}

TEST_F(DispatcherTest, ModTypeForAHandsetAsksNothingAndUnknownTypesClearThePort) {
  Feed("%MOD_TYPE 06 2 E0");
  EXPECT_EQ(Port(6).mod_type, 2u);
  EXPECT_STREQ(Port(6).port_name, "MEK-4");
  EXPECT_TRUE(sender.lines().empty());

  Feed("%MOD_TYPE 06 9 E0");
  EXPECT_EQ(Port(6).mod_type, 0u);
  EXPECT_TRUE(sender.lines().empty());

  Feed("%MOD_TYPE 08 1 E5");
  EXPECT_EQ(Port(8).mod_type, 0u);
}

TEST_F(DispatcherTest, BootWithStatus14RemovesTheModule) {
  Set({4, 1, 0});
  Set({9, 3, 0});
  PortRecord record = Port(4);
  record.icon_preset = 0;
  record.icon_id = 553;
  record.settings.on_hook = 0;
  Store(4, record);

  Feed("%BOOT 04 E14");
  record = Port(4);
  EXPECT_EQ(record.mod_type, 0u);
  EXPECT_EQ(record.icon_preset, 1);
  EXPECT_EQ(record.icon_id, -1);
  EXPECT_EQ(record.bus, GROUP_NONE);
  EXPECT_EQ(record.settings.on_hook, 1);
  EXPECT_EQ(Port(9).bus, GROUP_NONE);  // the lone partner left the bus as well
  EXPECT_EQ(hooks.released_icons(), (std::vector<std::pair<int, int>>{{4, 553}}));
  EXPECT_FALSE(state.input_ready);
}

TEST_F(DispatcherTest, BootWithStatus15AsksWhichModuleArrivedAndARestartResynchronises) {
  Feed("%BOOT 11 E15");
  EXPECT_EQ(sender.lines(), Lines{"MOD_TYPE 11\r"});

  sender.clear();
  hooks.open = false;
  Feed("%BOOT 00 E0");  // no modules known: nothing to replay
  EXPECT_TRUE(state.resync_requested);
  EXPECT_EQ(hooks.restores, 0);
  hooks.open = true;
  dispatcher.dispatch_step();
  EXPECT_EQ(sender.lines().size(), 14u);
  EXPECT_EQ(sender.lines()[4], "SYSTEM\r");
}

TEST_F(DispatcherTest, GatewayRestartWithModulesReplaysTheLastSave) {
  Set({1, 1});
  Feed("%BOOT 00 E0");
  EXPECT_EQ(hooks.restores, 1);
  EXPECT_FALSE(state.resync_requested);
  EXPECT_FALSE(state.input_ready);

  state.input_ready = true;
  hooks.restore_succeeds = false;
  Feed("%BOOT 00 E0");
  EXPECT_EQ(hooks.restores, 2);
  EXPECT_TRUE(state.input_ready);  // the step ended without the busy indication
}

}  // namespace
}  // namespace mav
