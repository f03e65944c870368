// Settings replies into the port records, gateway-wide values, activity masks, PINs, PIN use,
// dialling results and hook states.
#include "protocol/DispatcherFixture.h"

namespace mav::test {
namespace {

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

TEST_F(DispatcherTest, HookAndSecurityLevelRepliesEndQuietly) {
  Set({3, 3});
  Feed("%ON_HOOK 03 OFF E0");
  Feed("%SECURITY_LEVEL 03 4 E0");
  EXPECT_TRUE(state.input_ready);
  EXPECT_TRUE(frontend.messages().empty());
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

}  // namespace
}  // namespace mav::test
