// DISC, DISC_S, DISCH (every step) and MON; the release and bus-dissolving rules they use.
#include "protocol/DispatcherFixture.h"

namespace mav::test {
namespace {

constexpr int kDisch = PendingTable::kDischWaits;

void OffHook(PortRecord& record) {
  record.settings.on_hook = 0;
}

TEST(DisconnectReplies, DiscAllAndDischAllReleaseEveryPortOnlyDiscMarksTheHooks) {
  for (const char* line : {"%DISC ALL E0", "%DISCH ALL E0", "%DISCH ALL E1"}) {
    SCOPED_TRACE(line);
    const bool disc = line[5] == ' ', refused = line[12] == '1';
    DispatcherBench bench;
    bench.Set({1, 1, 0});
    bench.Set({2, 3, 0});
    bench.Change(2, OffHook);
    bench.model.RenumberNets();
    bench.Feed(line);
    EXPECT_EQ(bench.Port(1).bus, refused ? 0 : N);
    EXPECT_EQ(bench.Port(2).net, refused ? 1 : N);
    EXPECT_EQ(bench.Port(2).settings.on_hook, disc ? 1 : 0);
    EXPECT_EQ(bench.LogMessages(), refused ? Lines{} : Lines{"All ports disconnected"});
    EXPECT_EQ(bench.frontend.sounds(), disc ? Lines{"Disconnect.wav"} : Lines{});
    if (disc) {
      EXPECT_EQ(bench.frontend.messages(),
                (Lines{"Asynchronous DISC received", "Processing commands from the MAV"}));
    }
  }
}

TEST_F(DispatcherTest, DiscSReleasesThePortOnlyAfterADischStep) {
  Set({1, 1, 0});
  Set({2, 1, 0});
  Change(2, OffHook);
  state.selection = Selection::Port;
  Feed("%DISC_S 02 E0");  // no step waits: only the hook is marked
  EXPECT_EQ(Port(2).bus, 0);
  EXPECT_EQ(Port(2).settings.on_hook, 1);
  EXPECT_FALSE(state.selection_pending());
  EXPECT_EQ(LogMessages(), Lines{"02 was disconnected"});

  Set({2, 1, 0, N, N, 0, 2});
  Change(2, OffHook);
  state.network_mode = true;
  const std::size_t slides = frontend.moves().size();
  Feed("%DISC_S 02 E0");
  Expect({2, 1});
  Expect({1, 1});
  EXPECT_EQ(Port(2).settings.on_hook, 1);
  EXPECT_EQ(frontend.moves().size(), slides);  // a repaint instead of slides
  EXPECT_EQ(Sent(), Lines{"RELAY"});
}

// Ports are {port, type, bus, link, disch group, connect step, disch step, partner, pending bus}.
// clang-format off
TEST(DisconnectReplies, DiscReleasesOnePortAndDissolvesWhatIsLeftAlone) {
  RunSteps({
      {"the rest of the bus stays", {{1, 1, 0}, {2, 1, 0}, {3, 1, 0}}, "%DISC 02 E0",
       {{1, 1, 0}, {2, 1}, {3, 1, 0}}, {}, {"02 was disconnected"}},
      {"refused: nothing changes", {{1, 1, 0}, {2, 1, 0}}, "%DISC 01 E4", {{1, 1, 0}, {2, 1, 0}}},
      {"the lone port of a linked bus is disconnected, the link joins one bus only",
       {{1, 1, 0, 0}, {2, 1, 0, 0}, {5, 1, 1, 0}, {6, 1, 1, 0}}, "%DISC 02 E0",
       {{1, 1}, {2, 1}, {5, 1, 1}, {6, 1, 1}}, {"DISC 01\r"}, {"02 was disconnected"}},
      {"a DISCH group left with one member dissolves",
       {{1, 1, 0, N, 0}, {2, 1, 0, N, 0}, {3, 1, 0}}, "%DISC 01 E0",
       {{1, 1}, {2, 1, 0}, {3, 1, 0}}, {}, {"01 was disconnected"}},
  });
}

TEST(DisconnectReplies, EachDischStep) {
  RunSteps({
      {"0 with a pending entry: connect back to the partner",
       {{1, 1, 0, N, 0}, {2, 1, 0}, {3, 1, 0, N, 0}}, "%DISCH 01 E0",
       {{1, 1, 0, N, N, 1, 0, 2}, {2, 1, 0}, {3, 1, 0, N, 0}}, {"CONNECT_S 01 02\r"}, {}, {},
       {1, kDisch}},
      {"0 without an entry: only the group is left",
       {{1, 1, 0, N, 0}, {2, 1, 0}, {3, 1, 0, N, 0}}, "%DISCH 01 E0",
       {{1, 1, 0, N, N, 0, 0, 2}, {2, 1, 0}, {3, 1, 0, N, 0}}},
      {"0 of a lone port: the bus is left", {{4, 1, 5}}, "%DISCH 04 E0", {{4, 1}}},
      {"1 in DISCH group 0: bus and link are left",
       {{1, 1, 0, 3, 0, 0, 1}, {2, 1, 0, 3, 2}, {3, 1, 0, 3, 2}}, "%DISCH 01 E0",
       {{1, 1, N, N, 0}, {2, 1, 0, 3, 2}, {3, 1, 0, 3, 2}}},
      {"1 in another DISCH group: the group is left",
       {{1, 1, 0, 3, 2, 0, 1}, {2, 1, 0, 3, 2}}, "%DISCH 01 E0", {{1, 1, 0, 3}}},
      {"2 waits for the DISC_S", {{1, 1, 0, N, N, 0, 2}, {2, 1, 0}}, "%DISCH 01 E0",
       {{1, 1, 0, N, N, 0, 2}, {2, 1, 0}}},
      {"3: to the bus the partner field carried",
       {{1, 1, 0, N, N, 0, 3, 4}, {2, 1, 0}, {5, 1, 4}, {6, 1, 4}}, "%DISCH 01 E0",
       {{1, 1, 4, N, N, 0, 0, 4}, {2, 1}, {5, 1, 4}}, {"RELAY"}, {}, {{1, 1}, {5, 1}}},
      {"3 through a dissolve keeps the pending table's bus",
       {{1, 1, 0, N, N, 0, 3}, {2, 1, 0}, {5, 1, 4}, {6, 1, 4}}, "%DISCH 01 E0",
       {{1, 1, 4, N, N, 0, 0, 4}, {2, 1}, {5, 1, 4}}, {"RELAY"}, {}, {}, {1, kDisch, 3, 4}},
      {"4: a linked pair dissolves and the port connects on",
       {{1, 1, 0, 0, N, 0, 4, 7}, {2, 1, 0, 0}, {5, 1, 1, 0}, {6, 1, 1, 0}, {7, 1}}, "%DISCH 01 E0",
       {{1, 1, N, N, N, 5, 0, 7}, {2, 1}, {5, 1, 1}, {6, 1, 1}}, {"DISC 02\r", "CONNECT_S 01 07\r"}},
      {"4 through a dissolve keeps the pending table's partner",
       {{1, 1, 0, 0, N, 0, 4}, {2, 1, 0, 0}, {5, 1, 1, 0}, {6, 1, 1, 0}, {7, 1}}, "%DISCH 01 E0",
       {{1, 1, N, N, N, 5, 0, 7}, {2, 1}, {5, 1, 1}, {6, 1, 1}}, {"DISC 02\r", "CONNECT_S 01 07\r"},
       {}, {}, {1, kDisch, 4, 7}},
      {"5 towards a DISCH group: step 7 next",
       {{1, 1, 0, N, N, 0, 5, 7}, {2, 1, 0}, {7, 1, 1, N, 2}, {8, 1, 1, N, 2}}, "%DISCH 01 E0",
       {{1, 1, 0, N, N, 7, 0, 7}}, {"CONNECT_S 01 07\r"}},
      {"5 towards a free port: step 4 next", {{1, 1, 0, N, N, 0, 5, 9}, {2, 1, 0}, {9, 1}},
       "%DISCH 01 E0", {{1, 1, 0, N, N, 4, 0, 9}}, {"CONNECT_S 01 09\r"}},
      {"6: the group is left, step 1 next",
       {{1, 1, 0, 1, 0, 0, 6, 9}, {2, 1, 0, 1, 0}, {3, 1, 0, 1, 0}, {9, 1}}, "%DISCH 01 E0",
       {{1, 1, 0, 1, N, 1, 0, 9}}, {"CONNECT_S 01 09\r"}},
      {"7: the group is left, step 7 next",
       {{1, 1, 0, 1, 0, 0, 7, 9}, {2, 1, 0, 1, 0}, {3, 1, 0, 1, 0}, {9, 1}}, "%DISCH 01 E0",
       {{1, 1, 0, 1, N, 7, 0, 9}}, {"CONNECT_S 01 09\r"}},
      {"8: group and link are left, step 1 next",
       {{1, 1, 0, 1, 0, 0, 8, 9}, {2, 1, 0, 1, 0}, {3, 1, 0, 1, 0}, {9, 1}}, "%DISCH 01 E0",
       {{1, 1, 0, N, N, 1, 0, 9}}, {"CONNECT_S 01 09\r"}},
      {"6 with the partner from the pending table",
       {{1, 1, 0, 1, 0, 0, 6}, {2, 1, 0, 1, 0}, {3, 1, 0, 1, 0}}, "%DISCH 01 E0",
       {{1, 1, 0, N, N, 1, 0, 9}}, {"CONNECT_S 01 09\r"}, {}, {}, {1, kDisch, 8, 9}},
      {"6 without any partner connects nowhere",
       {{1, 1, 0, 1, 0, 0, 6}, {2, 1, 0, 1, 0}, {3, 1, 0, 1, 0}}, "%DISCH 01 E0", {{1, 1, 0, 1}}},
  });
}
// clang-format on

TEST_F(DispatcherTest, MonitorRelationsAreLoggedOncePerChange) {
  Set({4, 2});
  Set({7, 1});
  Set({9, 1});
  for (const char* line :
       {"%MON 04 07 ON E0", "%MON 04 07 ON E0", "%MON 04 09 ON E0", "%MON 04 07 OFF E0"}) {
    Feed(line);
  }
  EXPECT_FALSE(model.IsMonitoring(4, 7));
  EXPECT_TRUE(model.IsMonitoring(4, 9));
  EXPECT_EQ(model.MonitorCount(4), 1);
  EXPECT_EQ(LogMessages(), (Lines{"04 began monitoring 07", "04 began monitoring 09",
                                  "04 stopped monitoring 07"}));
  EXPECT_TRUE(state.input_ready);
}

}  // namespace
}  // namespace mav::test
