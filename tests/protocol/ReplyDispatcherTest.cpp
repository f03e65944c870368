// The reply dispatcher fed literal gateway lines: its framework (status rules, the three endings,
// the busy indication and its settling, the deferred synchronisation, the automatic save, the
// selection time-out, the deadlines the worker wakes for), the settings replies, and the module
// line-up (SYSTEM, MOD_TYPE, BOOT).
#include <cstring>

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
      {"%ON_HOOK 02 OFF E0", "", true},
      {"%SECURITY_LEVEL 02 4 E0", "", true},
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

// One field of a module's settings, widened for comparison.
using Field = long (*)(const ModuleSettings&);
#define FIELD(name) [](const ModuleSettings& s) { return static_cast<long>(s.name); }

TEST_F(DispatcherTest, SettingRepliesStoreTheReportedValueInThePort) {
  Set({3, 3});
  const struct {
    const char* line;
    Field field;
    long expected;
  } rows[] = {
      {"%TX_LEVEL 03 7 E0", FIELD(tx_level), 7},
      {"%RX_LEVEL 03 1 E0", FIELD(rx_level), 1},
      {"%DELAY_TIME 03 12 E0", FIELD(delay_time), 12},
      {"%VMR_THRESH 03 9 E0", FIELD(vmr_thresh), 0},  // a reported 9 is stored as 0
      {"%TRUNK_TYPE 03 2 E0", FIELD(trunk_type), 2},
      {"%2W_4W 03 1 E0", FIELD(two_w_four_w), 1},
      {"%AUTO_ANS 03 OFF E0", FIELD(auto_ans), 0},
      {"%USER_CONTROL 03 OFF E0", FIELD(user_control), 0},
      {"%CONF 03 ON E0", FIELD(conf), 1},
      {"%CALLING_TIME 03 CONT E0", FIELD(calling_time), 3},
      {"%CALLING_TIME 03 US E0", FIELD(calling_time), 25},
      {"%SQUELCH_TYPE 03 COR E0", FIELD(squelch_type), 14},
      {"%SQUELCH_TYPE 03 VOX E0", FIELD(squelch_type), 18},
      {"%SQUELCH_TYPE 03 PRIORITY E0", FIELD(squelch_type), 25},
      {"%SQUELCH_TYPE 03 DTMF E0", FIELD(squelch_type), 25},
      {"%DB_TONE 03 US E0", FIELD(db_tone), 6},
      {"%DB_TONE 03 EURO E0", FIELD(db_tone), 25},
      {"%DIAL_MODE 03 PULSE E0", FIELD(dial_mode), 0},
      {"%DIAL_MODE 03 DTMF E0", FIELD(dial_mode), 1},
      {"%LINE_TYPE 03 SATCOM E0", FIELD(line_type), 0},
      {"%LINE_TYPE 03 NORM E0", FIELD(line_type), 1},
      {"%RING_CADENCE 03 EURO E0", FIELD(ring_cadence), 0},
      {"%RING_CADENCE 03 US E0", FIELD(ring_cadence), 1},
      {"%PROMPT_LANG 03 MIC E0", FIELD(prompt_lang), 24},
      {"%COR_POLARITY 03 NEG E0", FIELD(cor_polarity), 1},
      {"%COR_POLARITY 03 ON E0", FIELD(cor_polarity), 1},  // neither POS nor NEG: ignored
      {"%COR_POLARITY 03 POS E0", FIELD(cor_polarity), 0},
      {"%ON_HOOK 03 OFF E0", FIELD(on_hook), 0},
      {"%ON_HOOK 03 ON E1", FIELD(on_hook), 0},
      {"%SECURITY_LEVEL 03 4 E0", FIELD(security_level), 4},
      {"%SECURITY_LEVEL 03 6 E2", FIELD(security_level), 4},
  };
  for (const auto& row : rows) {
    Feed(row.line);
    EXPECT_EQ(row.field(Port(3).settings), row.expected) << row.line;
  }
}

TEST_F(DispatcherTest, SettingForAPortAboveTheTableIsIgnored) {
  Feed("%TX_LEVEL 26 7 E0");
  Feed("%EQ 99 7 E0");
  for (int port = 0; port < kPortCount; ++port) {
    EXPECT_EQ(Port(port).settings.tx_level, 3);
    EXPECT_EQ(Port(port).settings.eq, 1);
  }
}

TEST_F(DispatcherTest, PromptDelayRefreshesTheDialogOfThatPortOnly) {
  Set({6, 2});
  state.dialog_port = 6;
  Feed("%PROMPT_DELAY 07 4 E0");
  EXPECT_EQ(frontend.dialog_refreshes(), 0);
  Feed("%PROMPT_DELAY 06 4 E0");
  EXPECT_EQ(Port(6).settings.prompt_delay, 4);
  EXPECT_EQ(frontend.dialog_refreshes(), 1);
}

TEST_F(DispatcherTest, GatewayWideSettings) {
  Feed("%VPMTS OFF E0");
  EXPECT_FALSE(state.voice_prompts);
  EXPECT_EQ(frontend.menu_checks(), (std::vector<std::pair<int, bool>>{{40051, false}}));
  EXPECT_EQ(hooks.preference_saves, 1);
  Feed("%VPMTS ON E3");
  EXPECT_FALSE(state.voice_prompts);
  EXPECT_EQ(hooks.preference_saves, 1);

  Feed("%SECURITY_MODE PRIORITY E0");
  EXPECT_EQ(state.security_mode, 13);
  Feed("%SECURITY_MODE STRICT E0");
  EXPECT_EQ(state.security_mode, 25);

  Feed("%MEK_SQUELCH_TYPE VOX E0");
  EXPECT_EQ(state.mek_squelch_type, 18);
  EXPECT_FALSE(state.input_ready);
  state.input_ready = true;
  Feed("%MEK_SQUELCH_TYPE VOX E1");
  EXPECT_EQ(state.mek_squelch_type, -1);
  EXPECT_TRUE(state.input_ready);
}

TEST_F(DispatcherTest, ActivityMasksStoreOnlyChangedRecords) {
  const auto columns = [&] {
    return Column(&PortRecord::cor_active) + "|" + Column(&PortRecord::ptt_active) + "|" +
           Column(&PortRecord::ring_active);
  };
  Set({0, 1});
  Set({2, 1});
  Feed("%COR_LED 0000 0005 E0");
  Feed("%PTT_LED 0200 0001 E0");  // one kind of indicator at a time
  Feed("%RING_LED 0000 0008 E0");
  Feed("%RING_LED 0000 0000 E2");
  EXPECT_EQ(columns(),
            "10100000000000000000000000|10000000000000000000000001|"
            "00010000000000000000000000");
  Feed("%COR_LED ON E0");  // the acknowledgement carries no mask
  EXPECT_EQ(columns(), std::string(kPortCount, '0') +
                           "|10000000000000000000000001|00010000000000000000000000");
}

TEST_F(DispatcherTest, PinRepliesFillTheTableKeepNamesAndDeletesFreeEntries) {
  pins.set_entry(0, "Alice", 1234, 3);
  Feed("%PIN 1234 7 E0");
  EXPECT_EQ(pins.entry(0).level, 7);
  EXPECT_STREQ(pins.entry(0).name, "Alice");

  Feed("%PIN 0042 2 E0");
  EXPECT_EQ(pins.entry(1).pin, 42);
  EXPECT_EQ(pins.entry(1).level, 2);
  EXPECT_STREQ(pins.entry(1).name, "");

  Feed("%PIN 0777 2 E4");
  EXPECT_EQ(pins.entry(2).level, kPinLevelUnused);

  Feed("%DEL_PIN 0042 E0");
  EXPECT_EQ(pins.entry(1).level, kPinLevelUnused);
  EXPECT_EQ(pins.entry(0).level, 7);
  Feed("%DEL_PIN ALL E0");
  EXPECT_EQ(pins.entry(0).level, kPinLevelUnused);
  EXPECT_STREQ(pins.entry(0).name, "Alice");
  EXPECT_EQ(pins.entry(0).pin, 1234);
}

TEST_F(DispatcherTest, PinUseIsLoggedByNameNeverByDigits) {
  pins.set_entry(0, "Alice", 1234, 3);
  Feed("%PIN_ACTIVITY 03 07 1234 E0");
  Feed("%PIN_ACTIVITY 03 07 5555 E17");
  Feed("%PIN_ACTIVITY 04 08 1234 E18");
  Feed("%PIN_ACTIVITY 04 08 1234 E5");
  EXPECT_EQ(
      LogMessages(),
      (Lines{"PIN \"Alice\" entered from port 03 to access port 07",
             "Unrecognized PIN entered from port 03 attempting to access port 07",
             "Insufficient PIN \"Alice\" entered from port 04 attempting to access port 08"}));
}

TEST_F(DispatcherTest, DialResultTakesTheLineOffHook) {
  Set({9, 3});
  Feed("%DIAL 09 5551234 E7");
  EXPECT_EQ(Port(9).settings.on_hook, 0);
  EXPECT_EQ(LogMessages(), Lines{"port 09 call successful"});
}

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
  EXPECT_EQ(hooks.restores + sender.lines().size(), 0u);  // the channel is not open yet
  hooks.open = true;
  dispatcher.dispatch_step();
  dispatcher.dispatch_step();
  EXPECT_EQ(sender.lines().size(), 14u);  // once per request
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
