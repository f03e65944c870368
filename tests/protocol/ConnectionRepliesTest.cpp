// Connection replies: CONNECT and CONNECT_S (group merges, every connect step, refusals, the dial
// marker, the RELAY report), DISC, DISC_S, DISCH (every step) and MON.
#include "protocol/DispatcherFixture.h"

namespace mav::test {
namespace {

using Move = RecordingFrontend::Move;
constexpr int kConnect = PendingTable::kConnectWaits;

TEST_F(DispatcherTest, AsynchronousConnect) {
  Set({3, 1});
  Set({7, 3});
  Feed("%CONNECT 03 07 E0");
  Expect({3, 1, 0});
  Expect({7, 3, 0});
  EXPECT_EQ(Port(7).net, 1);
  EXPECT_EQ(frontend.sounds(), Lines{"LongConnect.wav"});
  EXPECT_EQ(frontend.moves(), (std::vector<Move>{{3, N, 1}, {7, N, 1}}));
  EXPECT_EQ(frontend.last_message(), "Asynchronous CONNECT received");
  EXPECT_TRUE(state.input_ready);  // quiet ending

  state.sound_on = false;
  Set({9, 1});
  Feed("%CONNECT 03 09 E0");
  EXPECT_EQ(Port(9).bus, 0);
  EXPECT_EQ(frontend.sounds().size(), 1u);

  // Nothing changes: the step aborts after logging; a refusal logs nothing.
  const std::size_t texts = frontend.messages().size();
  Feed("%CONNECT 03 07 E0");
  Feed("%CONNECT 03 04 E2");
  EXPECT_EQ(frontend.messages().size(), texts);
  EXPECT_EQ(frontend.moves().size(), 3u);
  EXPECT_EQ(LogMessages(),
            (Lines{"03 was connected to 07", "03 was connected to 09", "03 was connected to 07"}));
}

// Ports are {port, type, bus, link, disch group, connect step, disch step, partner, pending bus}.
// clang-format off
TEST(ConnectReplies, AsynchronousConnectMergesGroups) {
  RunSteps({
      {"joins the bus already in use", {{1, 1, 0, 2}, {2, 1, 0, 2}, {5, 2}}, "%CONNECT 01 05 E0",
       {{1, 1, 0, 2}, {5, 2, 0, 2}}, {}, {"01 was connected to 05"}},
      {"two buses: the listed ports move, the rest stay",
       {{1, 1, 0, 1}, {2, 1, 0, 1}, {5, 2, 1}, {6, 2, 1}}, "%CONNECT 01 05 E0",
       {{1, 1, 0}, {2, 1, 0, 1}, {5, 2, 0}, {6, 2}}, {}, {"01 was connected to 05"}},
      {"into a DISCH group", {{1, 1, 0, N, 3}, {2, 1, 0, N, 3}, {5, 2}}, "%CONNECT 01 05 E0",
       {{5, 2, N, N, 3}}, {}, {"01 was connected to 05"}},
  });
}

TEST(ConnectReplies, EachConnectStep) {
  RunSteps({
      {"0: the lowest free bus, no report for an asynchronous settle",
       {{3, 1}, {7, 3}, {9, 1, 0}, {10, 1, 0}}, "%CONNECT_S 03 07 E0",
       {{3, 1, 1}, {7, 3, 1}, {9, 1, 0}}, {}, {"03 was connected to 07"}, {{3, 1}, {7, 1}, {9, 2}}},
      {"0: a listed port's bus leaves the port without one", {{3, 1}, {7, 1, 2}, {8, 1, 2}},
       "%CONNECT_S 03 07 E0", {{3, 1}, {7, 1, 2}, {8, 1, 2}}, {}, {"03 was connected to 07"}},
      {"1: only reports", {{1, 1, 0, N, N, 1}, {2, 1, 0}}, "%CONNECT_S 01 05 E0",
       {{1, 1, 0, N, N, 1}, {5, 0}}, {"RELAY"}, {"01 was connected to 05"}},
      {"2 from the pending table: a new bus", {{3, 1, 0}, {4, 1, 0}, {7, 2}}, "%CONNECT_S 03 07 E0",
       {{3, 1, 1}, {7, 2, 1}, {4, 1}}, {"RELAY"}, {"03 was connected to 07"}, {}, {3, kConnect, 2}},
      {"3: both buses linked", {{1, 1, 0, N, N, 3, 0, 5}, {2, 1, 0}, {5, 2, 1}, {6, 2, 1}},
       "%CONNECT_S 01 05 E0", {{1, 1, 0, 0}, {2, 1, 0, 0}, {5, 2, 1, 0}, {6, 2, 1, 0}}, {"RELAY"},
       {"01 was connected to 05"}},
      {"4: a new DISCH group", {{1, 1, 0, N, 0}, {2, 1, 0, N, 0}, {5, 2, 1, N, N, 4}, {6, 2, 1}},
       "%CONNECT_S 05 06 E0", {{5, 2, 1, N, 1}, {6, 2, 1, N, 1}, {1, 1, 0, N, 0}}, {"RELAY"},
       {"05 was connected to 06"}},
      {"5: the pending bus and the listed link",
       {{4, 1, N, N, N, 5, 0, 8, 3}, {8, 1, 3, 1}, {9, 1, 3, 1}}, "%CONNECT_S 04 08 E0",
       {{4, 1, 3, 1, N, 0, 0, PORT_NONE, 3}, {8, 1, 3, 1}}, {"RELAY"}, {"04 was connected to 08"}},
      {"6: the link spreads, listed ports keep their partner",
       {{1, 1, 0, 2, N, 6}, {2, 1, 0, 2}, {5, 2, 1, N, N, 3, 0, 1}, {6, 2, 1}}, "%CONNECT_S 01 05 E0",
       {{1, 1, 0, 2}, {5, 2, 1, 2, N, 0, 0, 1}, {6, 2, 1, 2}}, {"RELAY"}, {"01 was connected to 05"}},
      {"7: the listed DISCH group", {{1, 1, 0, N, N, 7}, {2, 1, 0}, {5, 2, 1, N, 3}, {6, 2, 1, N, 3}},
       "%CONNECT_S 01 05 E0", {{1, 1, 0, N, 3}, {2, 1, 0}, {5, 2, 1, N, 3}}, {"RELAY"},
       {"01 was connected to 05"}},
      {"8: the port's group goes to the listed ports",
       {{1, 1, 0, N, 2, 8, 0, 5}, {2, 1, 0, N, 2}, {5, 2, 1, N, N, 4, 1, 9}, {6, 2, 1}},
       "%CONNECT_S 01 05 E0", {{1, 1, 0, N, 2}, {5, 2, 1, N, 2, 0, 0, 9}, {6, 2, 1}}, {"RELAY"},
       {"01 was connected to 05"}},
      {"9 from the pending table: cleared, reported, nothing joined", {{3, 3}, {7, 3}},
       "%CONNECT_S 03 07 E0", {{3, 3}, {7, 3}}, {"RELAY"}, {"03 was connected to 07"}, {},
       {3, kConnect, 9}},
  });
}
// clang-format on

TEST_F(DispatcherTest, ConnectRefusalsShowTheirBoxesAndChangeNothing) {
  Set({3, 1});
  Set({7, 1});
  for (const char* line :
       {"%CONNECT_S 03 07 E8", "%CONNECT 03 07 E16", "%CONNECT_S 03 07 E3", "%CONNECT 03 07 E3"}) {
    Feed(line);
  }
  const auto boxes = frontend.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Can't make connection: No audio busses available");
  EXPECT_EQ(boxes[1].text, "Can't make connection: Conferencing not enabled");
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, "MAV Controller");
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  }
  EXPECT_EQ(Port(3).bus, N);
  EXPECT_TRUE(LogMessages().empty());
  EXPECT_TRUE(sender.lines().empty());
  EXPECT_TRUE(state.input_ready);
}

TEST_F(DispatcherTest, DialMarkerOffersTheDialDialogForIdleLines) {
  Set({3, 3});
  Set({7, 3});
  Set({8, 1});
  Change(7, [](PortRecord& r) { r.settings.on_hook = 0; });
  Feed("%CONNECT_S 03 07 08 E0");
  EXPECT_TRUE(hooks.dial_ports().empty());  // no marker, no dialog

  ASSERT_TRUE(pending.Add(1, 122, 0, 0));
  Feed("%CONNECT_S 03 07 08 E0");
  EXPECT_EQ(hooks.dial_ports(), std::vector<int>{3});
  std::uint8_t d1 = 0, d2 = 0;
  EXPECT_FALSE(pending.Take(1, 122, d1, d2));
}

TEST_F(DispatcherTest, RelayLineEncodesEveryPortAndTheReplyIsDecoded) {
  for (int bus = 0; bus < 7; ++bus) {
    Set({2 * bus, 1, bus});
    Set({2 * bus + 1, 1, bus});
  }
  Set({2, 1, 1, 0, 1});
  Set({3, 1, 1, 0});
  dispatcher.send_relay_state();
  EXPECT_EQ(sender.lines(), Lines{"RELAY 40406a688080a0a0c0c0e0e00000"
                                  "000000000000000000000000000000000000\r"});
  EXPECT_EQ(sender.expects_reply(), std::vector<bool>{false});

  Set({0, 1, 4, 3, 2});
  Set({9, 1, 4, 3, 2});
  Feed("%RELAY 406a");
  EXPECT_EQ(Port(0).net, 1);
  Expect({0, 1, 1});
  EXPECT_EQ(Port(1).net, 2);
  Expect({1, 1, 2, 0, 1});
  Expect({9, 1});  // no bytes for it: no groups
  EXPECT_TRUE(state.input_ready);
}

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
