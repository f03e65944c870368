#include <gtest/gtest.h>

#include <random>
#include <string>
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
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"%CONNECT_S ALL E4"}));  // its connection went too
  EXPECT_EQ(ask("MON ALL ?"), (Lines{"%MON ALL OFF E4"}));          // and the monitor on it

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

// A restart ends what is live (connections, groups, monitors, activity, calls) and keeps what is
// set up, the switches included: the controller's replay after a restart sets none of them.
TEST_F(GatewayTest, ARestartEndsConnectionsAndKeepsSettingsPinsAndSwitches) {
  tell({"CONF ALL ON", "CONNECT_S 00 01", "DISCH 00", "DISCH 03", "CONNECT_S 03 00", "MON 04 03 ON",
        "RING_LED ON", "VPMTS OFF", "TX_LEVEL 00 2", "PIN 4321 3", "SECURITY_MODE PRIORITY",
        "DIAL 02 5551234 1", "sim cor 1"});
  converse({
      {"sim restart", {"%BOOT 00 E0"}},
      {"SYSTEM", {"%SYSTEM 0001 0102 0203 0304 0405 0501 0604 0703 0905 1002 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S ALL E4"}},
      {"sim relay ?", {"ok %RELAY " + std::string(64, '0')}},
      {"MON ALL ?", {"%MON ALL OFF E4"}},
      {"ON_HOOK 02 ?", {"%ON_HOOK 02 ON E0"}},
      {"RING_LED ?", {"%RING_LED ON E0"}},
      {"COR_LED ON", {"%COR_LED ON E0"}},
      {"VPMTS ?", {"%VPMTS OFF E0"}},
      {"TX_LEVEL 00 ?", {"%TX_LEVEL 00 2 E0"}},
      {"PIN ?", {"%PIN 4321 3 E0"}},
      {"SECURITY_MODE ?", {"%SECURITY_MODE PRIORITY E0"}},
  });
}

TEST_F(GatewayTest, PinUsersAreStoredListedAndDeleted) {
  // An empty table answers with the status alone, so no entry is taken for a PIN.
  EXPECT_EQ(ask_one("PIN ?"), "%PIN E4");
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
  EXPECT_EQ(ask_one("PIN ?"), "%PIN E4");
}

TEST_F(GatewayTest, TheTableHoldsTwentyPinUsers) {
  for (int pin = 1000; pin < 1020; ++pin) {
    EXPECT_EQ(ask_one("PIN " + std::to_string(pin) + " 1"),
              "%PIN " + std::to_string(pin) + " 1 E0");
  }
  EXPECT_EQ(ask_one("PIN 2000 1"), "%PIN 2000 1 E5");
  EXPECT_EQ(ask("PIN ?").size(), 20u);
}

// The number goes out as the operator typed it; "!" seizes the line without dialling.
TEST_F(GatewayTest, DiallingTakesATelephoneLineOffHookAndHangingUpPutsItBack) {
  converse({
      {"DIAL 02 5551234 1", {"%DIAL 02 5551234 E0"}},
      {"ON_HOOK 02 ?", {"%ON_HOOK 02 OFF E0"}},
      {"ON_HOOK 02", {"%ON_HOOK 02 ON E0"}},
      {"DIAL 02 ! 2", {"%DIAL 02 ! E0"}},
      {"ON_HOOK 02 ?", {"%ON_HOOK 02 OFF E0"}},
      {"DIAL 07 555-1234 1", {"%DIAL 07 555-1234 E0"}},
      {"DIAL 07 (0)1234567890123456789012345678901234 2",
       {"%DIAL 07 (0)1234567890123456789012345678901234 E0"}},
      {"DIAL 04 5551234 1", {"% E4"}},  // a local phone does not dial out
      {"DIAL 02", {"% E2"}},
  });
}

// A line with AUTO_ANS on answers when it starts ringing; the others only ring.
TEST_F(GatewayTest, ARingingLineWithAutomaticAnsweringGoesOffHook) {
  converse({
      {"RING_LED ON", {"%RING_LED ON E0"}},
      {"sim ring 4", {"%RING_LED 0000 0004 E0", "%ON_HOOK 02 OFF E0"}},
      {"AUTO_ANS 07 OFF", {"%AUTO_ANS 07 OFF E0"}},
      {"sim ring 94", {"%RING_LED 0000 0094 E0"}},
      {"ON_HOOK ALL ?",
       {"%ON_HOOK 02 OFF E0", "%ON_HOOK 04 ON E0", "%ON_HOOK 07 ON E0", "%ON_HOOK 09 ON E0"}},
      {"RING_LED OFF", {"%RING_LED OFF E0"}},
      {"ON_HOOK 02", {"%ON_HOOK 02 ON E0"}},
      {"sim ring 0", {}},
      {"sim ring 4", {"%ON_HOOK 02 OFF E0"}},
  });
}

// Levels: port 03 at 2, port 05 at 5, the rest 0. Users: 1111 at level 2, 2222 at level 5.
// PRIORITY admits a level or higher, EXCLUSIVE only the very level, OFF every known PIN; the
// port the PIN is entered from counts as much as the port it opens.
TEST_F(GatewayTest, PinUseIsJudgedByTheSecurityModeAndBothPorts) {
  tell({"SECURITY_LEVEL 03 2", "SECURITY_LEVEL 05 5", "PIN 1111 2", "PIN 2222 5"});
  converse({
      {"sim pin 00 05 1111", {"%PIN_ACTIVITY 00 05 1111 E0"}},
      {"sim pin 00 05 4444", {"%PIN_ACTIVITY 00 05 4444 E17"}},
      {"SECURITY_MODE PRIORITY", {"%SECURITY_MODE PRIORITY E0"}},
      {"sim pin 00 05 1111", {"%PIN_ACTIVITY 00 05 1111 E18"}},
      {"sim pin 00 05 2222", {"%PIN_ACTIVITY 00 05 2222 E0"}},
      {"sim pin 00 03 2222", {"%PIN_ACTIVITY 00 03 2222 E0"}},
      {"sim pin 05 00 1111", {"%PIN_ACTIVITY 05 00 1111 E18"}},
      {"SECURITY_MODE EXCLUSIVE", {"%SECURITY_MODE EXCLUSIVE E0"}},
      {"sim pin 00 03 2222", {"%PIN_ACTIVITY 00 03 2222 E18"}},
      {"sim pin 00 03 1111", {"%PIN_ACTIVITY 00 03 1111 E0"}},
      {"sim pin 03 05 2222", {"%PIN_ACTIVITY 03 05 2222 E18"}},
      {"sim pin 01 00 2222", {"%PIN_ACTIVITY 01 00 2222 E0"}},
      {"sim pin 00 05 4444", {"%PIN_ACTIVITY 00 05 4444 E17"}},
  });
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
