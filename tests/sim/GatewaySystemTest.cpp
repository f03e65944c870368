#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "Events.h"
#include "GatewayTestSupport.h"

namespace mav::sim::test {
namespace {

// Lines answered on their own, whatever came before: contact probes, errors, the module list
// (port times a hundred plus type) and the gateway-wide switches, which echo what they store.
TEST_F(GatewayTest, SingleLinesGetTheirAnswer) {
  const std::pair<const char*, Lines> dialogue[] = {
      {"", {"% E0"}},
      {" ", {"% E0"}},
      {"HELLO", {"% E1"}},
      {"tx_level 05 ?", {"% E1"}},
      {"ANSWER 02", {"% E1"}},
      {"SYSTEM 4", {"% E2"}},
      {"logout", {}},
      {"SYSTEM", {"%SYSTEM 0001 0102 0203 0304 0405 0501 0604 0703 0905 1002 E0"}},
      {"MOD_TYPE 03", {"%MOD_TYPE 03 4 E0"}},
      {"MOD_TYPE 08", {"%MOD_TYPE 08 0 E0"}},
      {"MOD_TYPE 30", {"% E2"}},
      {"USER_PGM OFF", {"%USER_PGM OFF E0"}},
      {"VPMTS OFF", {"%VPMTS OFF E0"}},
      {"VPMTS ?", {"%VPMTS OFF E0"}},
      {"PTT_LED ON", {"%PTT_LED ON E0"}},
      {"RING_LED OFF", {"%RING_LED OFF E0"}},
      {"VPMTS LOUD", {"% E2"}},
      {"SECURITY_MODE EXCLUSIVE", {"%SECURITY_MODE EXCLUSIVE E0"}},
      {"SECURITY_MODE LOOSE", {"%SECURITY_MODE EXCLUSIVE E3"}},
      {"MEK_SQUELCH_TYPE VOX", {"%MEK_SQUELCH_TYPE VOX E0"}},
      {"MEK_SQUELCH_TYPE NOISE", {"%MEK_SQUELCH_TYPE VOX E3"}},
  };
  for (const auto& [line, replies] : dialogue) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ask(line), replies);
  }
}

TEST_F(GatewayTest, RemovalAndInsertionChangeTheSystemAnswer) {
  tell({"CONF ALL ON", "CONNECT_S 03 00", "MON 04 03 ON"});
  EXPECT_EQ(remove_event(gateway_.model(), 3).lines, (Lines{"%BOOT 03 E14"}));
  EXPECT_EQ(ask_one("SYSTEM"), "%SYSTEM 0001 0102 0203 0405 0501 0604 0703 0905 1002 E0");
  EXPECT_EQ(ask_one("MOD_TYPE 03"), "%MOD_TYPE 03 0 E0");
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"% E4"}));  // its connection went with it
  EXPECT_EQ(ask("MON ALL ?"), (Lines{"% E4"}));        // and the monitor on it

  EXPECT_EQ(insert_event(gateway_.model(), 8, 2).lines, (Lines{"%BOOT 08 E15"}));
  EXPECT_EQ(ask_one("MOD_TYPE 08"), "%MOD_TYPE 08 2 E0");
  EXPECT_EQ(ask_one("SYSTEM"), "%SYSTEM 0001 0102 0203 0405 0501 0604 0703 0802 0905 1002 E0");

  // An inserted module comes with its factory settings.
  ask("TX_LEVEL 05 1");
  remove_event(gateway_.model(), 5);
  insert_event(gateway_.model(), 5, 1);
  EXPECT_EQ(ask_one("TX_LEVEL 05 ?"), "%TX_LEVEL 05 6 E0");

  EXPECT_FALSE(insert_event(gateway_.model(), 5, 1).error.empty());  // occupied
  EXPECT_FALSE(insert_event(gateway_.model(), 8, 6).error.empty());  // no such module
  EXPECT_FALSE(remove_event(gateway_.model(), 12).error.empty());    // nothing there
}

TEST_F(GatewayTest, ARestartDropsConnectionsAndSwitchesButKeepsLineupSettingsAndPins) {
  tell({"CONF ALL ON", "CONNECT_S 00 01", "MON 04 03 ON", "COR_LED ON", "VPMTS OFF",
        "TX_LEVEL 00 2", "PIN 4321 3", "SECURITY_MODE PRIORITY"});
  EXPECT_EQ(restart_event(gateway_.model()).lines, (Lines{"%BOOT 00 E0"}));
  EXPECT_EQ(ask_one("SYSTEM"), "%SYSTEM 0001 0102 0203 0304 0405 0501 0604 0703 0905 1002 E0");
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"% E4"}));
  EXPECT_EQ(ask("MON ALL ?"), (Lines{"% E4"}));
  EXPECT_EQ(ask_one("COR_LED ?"), "%COR_LED OFF E0");
  EXPECT_EQ(ask_one("VPMTS ?"), "%VPMTS ON E0");
  EXPECT_EQ(ask_one("TX_LEVEL 00 ?"), "%TX_LEVEL 00 2 E0");
  EXPECT_EQ(ask_one("PIN ?"), "%PIN 4321 3 E0");
  EXPECT_EQ(ask_one("SECURITY_MODE ?"), "%SECURITY_MODE PRIORITY E0");
}

TEST_F(GatewayTest, PinUsersAreStoredListedAndDeleted) {
  EXPECT_EQ(ask_one("PIN ?"), "% E4");
  EXPECT_EQ(ask_one("PIN 0042 5"), "%PIN 0042 5 E0");
  EXPECT_EQ(ask_one("PIN 9999 9"), "%PIN 9999 9 E0");
  EXPECT_EQ(ask_one("PIN 0042 7"), "%PIN 0042 7 E0");
  EXPECT_EQ(ask("PIN ?"), (Lines{"%PIN 0042 7 E0", "%PIN 9999 9 E0"}));
  EXPECT_EQ(ask_one("PIN 10000 1"), "%PIN 10000 1 E3");
  EXPECT_EQ(ask_one("PIN 1234 10"), "%PIN 1234 10 E3");
  EXPECT_EQ(ask_one("PIN 1234"), "% E2");
  // DEL_PIN echoes four digits so "0030" is not read as the value word "30".
  EXPECT_EQ(ask_one("DEL_PIN 30"), "%DEL_PIN 0030 E4");
  EXPECT_EQ(ask_one("DEL_PIN 42"), "%DEL_PIN 0042 E0");
  EXPECT_EQ(ask("PIN ?"), (Lines{"%PIN 9999 9 E0"}));
  EXPECT_EQ(ask_one("DEL_PIN ALL"), "%DEL_PIN ALL E0");
  EXPECT_EQ(ask_one("PIN ?"), "% E4");
}

TEST_F(GatewayTest, TheTableHoldsTwentyPinUsers) {
  for (int pin = 1000; pin < 1020; ++pin) {
    EXPECT_EQ(ask_one("PIN " + std::to_string(pin) + " 1"),
              "%PIN " + std::to_string(pin) + " 1 E0");
  }
  EXPECT_EQ(ask_one("PIN 2000 1"), "%PIN 2000 1 E5");
  EXPECT_EQ(ask("PIN ?").size(), 20u);
}

TEST_F(GatewayTest, DiallingTakesATelephoneLineOffHookAndHangingUpPutsItBack) {
  EXPECT_EQ(ask_one("DIAL 02 5551234 1"), "%DIAL 02 5551234 E0");
  EXPECT_EQ(ask_one("ON_HOOK 02 ?"), "%ON_HOOK 02 OFF E0");
  EXPECT_EQ(ask_one("ON_HOOK 02"), "%ON_HOOK 02 ON E0");
  EXPECT_EQ(ask_one("DIAL 07 *72#,9 2"), "%DIAL 07 *72#,9 E0");
  EXPECT_EQ(ask_one("DIAL 04 5551234 1"), "% E4");  // a local phone does not dial out
  EXPECT_EQ(ask_one("DIAL 02 555-1234 1"), "% E2");
  EXPECT_EQ(ask_one("DIAL 02"), "% E2");
}

TEST_F(GatewayTest, RandomLinesNeverCrashAndAlwaysGetGrammaticalAnswers) {
  std::mt19937 random(7);
  const std::vector<std::string> words = {
      "CONNECT_S", "MON",  "PIN",     "TX_LEVEL", "ALL",   "?",  "ON", "OFF", "00", "25",
      "26",        "9999", "DEL_PIN", "SYSTEM",   "DISCH", "E0", "%",  "",    "\t", "CALLING_TIME"};
  for (int i = 0; i < 3000; ++i) {
    std::string line;
    const int count = static_cast<int>(random() % 5);
    for (int w = 0; w < count; ++w) line += words[random() % words.size()] + " ";
    ask(line);
  }
}

}  // namespace
}  // namespace mav::sim::test
