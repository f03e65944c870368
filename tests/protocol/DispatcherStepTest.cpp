// The dispatcher's framework: status rules, the three endings, the busy indication and its 400 ms
// settling, parse errors, the deferred synchronisation, the automatic save, the selection
// time-out, and the deadlines the worker wakes for.
#include "protocol/DispatcherFixture.h"

namespace mav::test {
namespace {

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

// Each line after a resynchronisation request: the text it leaves (the busy indication's keeps
// input waiting) and whether the closing step ran (it sends the fourteen synchronisation lines).
TEST(DispatcherEndings, AbortQuietBusyAndParseErrors) {
  const struct {
    const char* line;
    const char* message;
    bool closing_step;
  } rows[] = {
      {"%TX_LEVEL 02 7 E1", "", false},  // abort: status and cursor left alone
      {"%SECURITY_MODE EXCLUSIVE E2", "", false},
      {"%SECURITY_MODE EXCLUSIVE E0", "", true},  // quiet
      {"%TX_LEVEL 02 3", "", false},              // parse errors: no status, unknown keyword
      {"%NO_SUCH_KEYWORD 02 3 E0", "", false},
      {"%BUSY", "QVB-1 was busy, try command again", true},
      {"%USER_PGM OFF E0", kProcessing, true},
      {"%USER_PGM OFF E4", "", false},
      {"%ANSWER 03 E9", kProcessing, true},
      {"% E0", kProcessing, true},
      {"%VER 2.1 E0", "", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    auto bench = std::make_unique<DispatcherBench>();
    bench->Set({2, 4});
    bench->state.request_resync();
    bench->Feed(row.line);
    EXPECT_EQ(bench->frontend.last_message(), row.message);
    const bool busy = std::string_view(row.message) == kProcessing;
    EXPECT_EQ(bench->state.input_ready, !busy);
    EXPECT_EQ(bench->frontend.cursor(), busy ? CursorShape::Wait : CursorShape::Arrow);
    EXPECT_EQ(bench->sender.lines().size(), row.closing_step ? 14u : 0u);
    EXPECT_EQ(bench->state.resync_requested, !row.closing_step);
  }
}

TEST_F(DispatcherTest, BusyIndicationSettlesFourHundredMillisecondsAfterTheLastLine) {
  const auto screen = [&] {
    dispatcher.dispatch_step();
    return frontend.last_message() + (frontend.cursor() == CursorShape::Wait ? " wait" : " arrow") +
           (state.input_ready ? " ready" : "");
  };
  Set({1, 1});
  Feed("%EQ 01 2 E0");
  clock.advance_ms(300);
  Feed("%EQ 01 3 E0");
  clock.advance_ms(400);
  EXPECT_EQ(screen(), std::string(kProcessing) + " wait");
  clock.advance_ms(1);
  EXPECT_EQ(screen(), " arrow ready");
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
    auto bench = std::make_unique<DispatcherBench>();
    bench->Set({1, 1});
    bench->state.last_autosave_ms = bench->clock.now_ms() - row.autosave_age_ms;
    bench->state.selection = row.selection;
    bench->state.selection_time = bench->clock.now_ms();
    bench->hooks.sliding = row.sliding;
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

}  // namespace
}  // namespace mav::test
