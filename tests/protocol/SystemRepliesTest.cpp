// Module line-up: SYSTEM (first, again, changed), MOD_TYPE, BOOT (removal, insertion, restart).
#include <cstring>

#include "protocol/DispatcherFixture.h"

namespace mav::test {
namespace {

auto Named(const char* name, int tx_level = 3) {
  return [=](PortRecord& r) {
    std::strncpy(r.port_name, name, sizeof r.port_name - 1);
    r.settings.tx_level = static_cast<std::uint8_t>(tx_level);
  };
}

TEST_F(DispatcherTest, FirstSystemReplyBuildsTheModuleLineUpAndSweepsTheSettings) {
  state.network_mode = true;
  Feed("%SYSTEM 1203 0001 2505 2601 0309 9999 E0");  // bad entries touch no port outside
  for (const auto& [port, type, name] :
       {std::tuple{12, 3u, "LINE-7"}, {0, 1u, "TOV-5"}, {25, 5u, "HK-6"}, {3, 9u, ""}}) {
    EXPECT_EQ(Port(port).mod_type, type);
    EXPECT_STREQ(Port(port).port_name, name);
  }
  EXPECT_EQ(model.CountModules(), 4);
  EXPECT_EQ(LogMessages(), (Lines{"*** Received system information from MAV-7700"}));
  EXPECT_EQ(hooks.site_name_loads, 1);
  EXPECT_EQ(sender.lines().size(), 41u);  // the settings sweep
  EXPECT_EQ(frontend.last_message(), "Processing commands from the MAV");
  EXPECT_EQ(frontend.title_updates(), 1);  // a network channel names the gateway in the title
}

TEST_F(DispatcherTest, SystemReplyMatchingTheModelOnlyQueriesAgain) {
  Set({3, 1});
  Set({7, 2});
  Set({9, 4});  // known here but missing from the reply: no difference
  Change(3, Named("Tower", 9));
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
  Change(7, Named("Console", 9));
  Feed("%SYSTEM 0401 0702 E0");
  EXPECT_EQ(Port(3).mod_type, 0u);
  EXPECT_STREQ(Port(4).port_name, "TOV-5");
  EXPECT_STREQ(Port(7).port_name, "Console");
  EXPECT_EQ(Port(7).settings.tx_level, 3);  // settings back to their reset values
  EXPECT_EQ(Port(7).bus, N);
  EXPECT_EQ(LogMessages(), (Lines{"*** Received system information from MAV-7700"}));
}

TEST_F(DispatcherTest, ModTypeFillsInTheModuleAndAsksItsSettings) {
  Set({5, 0, 2});
  Change(5, Named("Old name"));
  Feed("%MOD_TYPE 05 1 E0");
  EXPECT_STREQ(Port(5).port_name, "TOV-5");  // always overwritten
  Expect({5, 1});
  const Lines lines = sender.lines();
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines.front(), "DUPLEX 05 ?\r");
  EXPECT_EQ(lines.back(), "RADIO_TYPE 05 ?\r");
  EXPECT_TRUE(state.input_ready);  // quiet ending

  sender.clear();
  Feed("%MOD_TYPE 06 2 E0");  // a handset has nothing to ask
  EXPECT_STREQ(Port(6).port_name, "MEK-4");
  Feed("%MOD_TYPE 06 9 E0");  // an unknown type clears the port
  EXPECT_EQ(Port(6).mod_type, 0u);
  Feed("%MOD_TYPE 08 1 E5");
  EXPECT_EQ(Port(8).mod_type, 0u);
  EXPECT_TRUE(sender.lines().empty());
}

TEST_F(DispatcherTest, BootWithStatus14RemovesTheModuleAnd15AsksWhichArrived) {
  Set({4, 1, 0});
  Set({9, 3, 0});
  Change(4, [](PortRecord& r) {
    r.icon_preset = 0;
    r.icon_id = 553;
    r.settings.on_hook = 0;
  });
  Feed("%BOOT 04 E14");
  const PortRecord r = Port(4);  // the lone partner 09 left the bus as well
  EXPECT_EQ((std::vector<int>{static_cast<int>(r.mod_type), r.icon_preset, r.icon_id, r.bus,
                              r.settings.on_hook, Port(9).bus}),
            (std::vector<int>{0, 1, -1, N, 1, N}));
  EXPECT_EQ(hooks.released_icons(), (std::vector<std::pair<int, int>>{{4, 553}}));
  EXPECT_FALSE(state.input_ready);

  Feed("%BOOT 11 E15");
  EXPECT_EQ(sender.lines(), Lines{"MOD_TYPE 11\r"});
}

TEST_F(DispatcherTest, GatewayRestartReplaysTheLastSaveOrResynchronises) {
  hooks.open = false;
  Feed("%BOOT 00 E0");  // no modules known: nothing to replay
  EXPECT_TRUE(state.resync_requested);
  EXPECT_EQ(hooks.restores, 0);
  hooks.open = true;
  dispatcher.dispatch_step();
  EXPECT_EQ(sender.lines().size(), 14u);
  EXPECT_EQ(sender.lines()[4], "SYSTEM\r");

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
}  // namespace mav::test
