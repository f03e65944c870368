// The dispatcher's framework: status rules, the three endings, the busy indication and its 400 ms
// settling, parse errors, the deferred synchronisation, the automatic save, the selection
// time-out, and the deadlines the worker wakes for.
#include "protocol/DispatcherFixture.h"

namespace mav {
namespace {

using test::DispatcherTest;

constexpr const char* kProcessing = "Processing commands from the MAV";

TEST_F(DispatcherTest, StatusRuleStoresSomeSettingsWhateverTheStatusOthersOnlyOnSuccess) {
  Set({2, 4});
  Feed("%EQ 02 5 E3");
  EXPECT_EQ(Port(2).settings.eq, 5);
  EXPECT_EQ(frontend.last_message(), kProcessing);
  EXPECT_FALSE(state.input_ready);

  Feed("%DUPLEX 02 HALF E0");
  EXPECT_EQ(Port(2).settings.duplex, 0);
  Feed("%DUPLEX 02 FULL E0");
  EXPECT_EQ(Port(2).settings.duplex, 1);
  Feed("%DUPLEX 02 HALF E3");
  EXPECT_EQ(Port(2).settings.duplex, 1);
}

TEST_F(DispatcherTest, AbortEndingLeavesStatusAndCursorAloneAndSkipsTheClosingStep) {
  Set({2, 4});
  Feed("%TX_LEVEL 02 7 E1");
  EXPECT_TRUE(frontend.messages().empty());
  EXPECT_TRUE(state.input_ready);
  EXPECT_EQ(frontend.cursor(), CursorShape::Arrow);

  state.request_resync();
  Feed("%SECURITY_MODE EXCLUSIVE E2");
  EXPECT_TRUE(sender.lines().empty());
  EXPECT_TRUE(state.resync_requested);
}

TEST_F(DispatcherTest, QuietEndingRunsTheClosingStepWithoutTheBusyIndication) {
  state.request_resync();
  Feed("%SECURITY_MODE EXCLUSIVE E0");
  EXPECT_EQ(state.security_mode, 12);
  EXPECT_TRUE(frontend.messages().empty());
  EXPECT_TRUE(state.input_ready);
  EXPECT_EQ(sender.lines().size(), 14u);  // the synchronisation ran
  EXPECT_FALSE(state.resync_requested);
}

TEST_F(DispatcherTest, ParseErrorChangesNothingAndSkipsTheClosingStep) {
  state.request_resync();
  Set({5, 1});
  Feed("%TX_LEVEL 05 3");  // no status token
  EXPECT_EQ(Port(5).settings.tx_level, 3);
  Feed("%NO_SUCH_KEYWORD 05 3 E0");
  EXPECT_TRUE(frontend.messages().empty());
  EXPECT_TRUE(sender.lines().empty());
  EXPECT_TRUE(state.resync_requested);
  EXPECT_TRUE(state.input_ready);
}

TEST_F(DispatcherTest, BusyIndicationSettlesFourHundredMillisecondsAfterTheLastLine) {
  Set({1, 1});
  Feed("%EQ 01 2 E0");
  clock.advance_ms(300);
  Feed("%EQ 01 3 E0");
  EXPECT_EQ(frontend.last_message(), kProcessing);
  EXPECT_EQ(frontend.cursor(), CursorShape::Wait);

  clock.advance_ms(400);
  dispatcher.dispatch_step();
  EXPECT_FALSE(state.input_ready);
  EXPECT_EQ(frontend.last_message(), kProcessing);

  clock.advance_ms(1);
  dispatcher.dispatch_step();
  EXPECT_TRUE(state.input_ready);
  EXPECT_EQ(frontend.last_message(), "");
  EXPECT_EQ(frontend.cursor(), CursorShape::Arrow);
}

TEST_F(DispatcherTest, ResynchronisationWaitsForAnOpenChannel) {
  hooks.open = false;
  state.request_resync();
  dispatcher.dispatch_step();
  EXPECT_TRUE(sender.lines().empty());
  hooks.open = true;
  dispatcher.dispatch_step();
  EXPECT_EQ(sender.lines().size(), 14u);
  dispatcher.dispatch_step();
  EXPECT_EQ(sender.lines().size(), 14u);  // once per request
}

TEST_F(DispatcherTest, AutomaticSaveEverySixtySecondsAcrossTheClockWrapping) {
  dispatcher.dispatch_step();
  clock.advance_ms(60000);
  dispatcher.dispatch_step();
  EXPECT_EQ(hooks.auto_saves, 0);
  clock.advance_ms(1);
  dispatcher.dispatch_step();
  EXPECT_EQ(hooks.auto_saves, 1);
  dispatcher.dispatch_step();
  EXPECT_EQ(hooks.auto_saves, 1);

  clock.set_ms(0xFFFFFF00u);
  state.last_autosave_ms = clock.now_ms();
  clock.advance_ms(60001);  // wraps past zero
  dispatcher.dispatch_step();
  EXPECT_EQ(hooks.auto_saves, 2);
}

TEST_F(DispatcherTest, PendingSelectionTimesOutAfterFifteenSeconds) {
  state.selection = Selection::Port;
  state.selected_index = 4;
  state.selection_time = clock.now_ms();
  clock.advance_ms(15000);
  dispatcher.dispatch_step();
  EXPECT_TRUE(state.selection_pending());
  clock.advance_ms(1);
  dispatcher.dispatch_step();
  EXPECT_FALSE(state.selection_pending());
}

TEST(DispatcherDeadlines, TheEarliestPendingTimerNamesTheNextWakeUp) {
  // Each row: the state after one step at the start time, then how long the worker may sleep
  // at the later moment.
  const struct {
    const char* name;
    const char* line;  // fed at the start, or nothing
    bool sliding;
    Selection selection;
    std::uint32_t autosave_age_ms;  // at the start
    std::uint32_t later_ms;
    std::uint32_t wait_ms;
  } rows[] = {
      {"quiet: a selection made meanwhile", nullptr, false, Selection::None, 0, 0, 15001},
      {"quiet, later", nullptr, false, Selection::None, 0, 7000, 15001},
      {"automatic save due soon", nullptr, false, Selection::None, 50000, 0, 10001},
      {"automatic save due now", nullptr, false, Selection::None, 50000, 10001, 0},
      {"busy indication", "%EQ 01 2 E0", false, Selection::None, 0, 100, 301},
      {"busy indication ends now", "%EQ 01 2 E0", false, Selection::None, 0, 401, 0},
      {"quiet reply leaves no busy indication", "%VER 1.0 E0", false, Selection::None, 0, 100,
       15001},
      {"pending selection", nullptr, false, Selection::Port, 0, 14000, 1001},
      {"pending selection expires now", nullptr, false, Selection::Net, 0, 15001, 0},
      {"slides run", "%EQ 01 2 E0", true, Selection::Port, 0, 0, 10},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto bench = std::make_unique<test::DispatcherBench>();
    bench->Set({1, 1});
    bench->state.last_autosave_ms = bench->clock.now_ms() - row.autosave_age_ms;
    bench->state.selection = row.selection;
    bench->state.selection_time = bench->clock.now_ms();
    bench->frontend.sliding = row.sliding;
    if (row.line) {
      bench->Feed(row.line);
    } else {
      bench->dispatcher.dispatch_step();
    }
    bench->clock.advance_ms(row.later_ms);
    NextWake next(bench->clock.now_ms());
    bench->dispatcher.add_deadlines(next);
    EXPECT_EQ(next.wait_ms(), row.wait_ms);
  }
}

TEST_F(DispatcherTest, BusyReportShowsItsTextQuietly) {
  Feed("%BUSY");
  EXPECT_EQ(frontend.last_message(), "QVB-1 was busy, try command again");
  EXPECT_TRUE(state.input_ready);
  EXPECT_TRUE(sender.lines().empty());
}

TEST_F(DispatcherTest, KeywordsWithoutActionTakeTheirEndings) {
  const struct {
    const char* line;
    bool input_ready;  // false: the busy indication is on
  } rows[] = {{"%USER_PGM OFF E0", false},
              {"%USER_PGM OFF E4", true},
              {"%ANSWER 03 E9", false},
              {"% E0", false},
              {"%VER 2.1 E0", true}};
  for (const auto& row : rows) {
    state.input_ready = true;
    Feed(row.line);
    EXPECT_EQ(state.input_ready, row.input_ready) << row.line;
  }
}

}  // namespace
}  // namespace mav
