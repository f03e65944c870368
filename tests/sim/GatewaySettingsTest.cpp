#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "GatewayTestSupport.h"

namespace mav::sim::test {
namespace {

TEST_F(GatewayTest, AnAllQueryAnswersOncePerPortWhoseModuleHasTheSetting) {
  // TX_LEVEL: radio (0, 5), line (2, 7) and signal-processing (3, 6) modules.
  EXPECT_EQ(ask("TX_LEVEL ALL ?"),
            (Lines{"%TX_LEVEL 00 6 E0", "%TX_LEVEL 02 3 E0", "%TX_LEVEL 03 6 E0",
                   "%TX_LEVEL 05 6 E0", "%TX_LEVEL 06 6 E0", "%TX_LEVEL 07 3 E0"}));
  EXPECT_EQ(ask("RADIO_TYPE ALL ?"), (Lines{"%RADIO_TYPE 00 0 E0", "%RADIO_TYPE 05 0 E0"}));
  EXPECT_EQ(ask("RING_CADENCE ALL ?"), (Lines{"%RING_CADENCE 04 US E0", "%RING_CADENCE 09 US E0"}));
  EXPECT_EQ(ask("PROMPT_DELAY ALL ?").size(), 10u);  // every module
  EXPECT_EQ(ask("ON_HOOK ALL ?"), (Lines{"%ON_HOOK 02 ON E0", "%ON_HOOK 04 ON E0",
                                         "%ON_HOOK 07 ON E0", "%ON_HOOK 09 ON E0"}));
}

TEST_F(GatewayTest, ASettingIsStoredAndEchoed) {
  EXPECT_EQ(ask_one("TX_LEVEL 05 3"), "%TX_LEVEL 05 3 E0");
  EXPECT_EQ(ask_one("TX_LEVEL 05 ?"), "%TX_LEVEL 05 3 E0");
  EXPECT_EQ(ask_one("DUPLEX 00 FULL"), "%DUPLEX 00 FULL E0");
  EXPECT_EQ(ask_one("COR_SAMPLING 03 ON"), "%COR_SAMPLING 03 ON E0");
  EXPECT_EQ(ask_one("SQUELCH_TYPE 06 CTCSS"), "%SQUELCH_TYPE 06 CTCSS E0");
  EXPECT_EQ(ask_one("CALLING_TIME 02 1"), "%CALLING_TIME 02 1 E0");
  EXPECT_EQ(ask_one("CALLING_TIME 09 CONT"), "%CALLING_TIME 09 CONT E0");
  EXPECT_EQ(ask_one("2W_4W 07 3"), "%2W_4W 07 3 E0");
  EXPECT_EQ(ask_one("PEAKER 03 9"), "%PEAKER 03 9 E0");
  EXPECT_EQ(ask_one("DB_TONE 04 US"), "%DB_TONE 04 US E0");
  EXPECT_EQ(ask_one("LINE_TYPE 02 SATCOM"), "%LINE_TYPE 02 SATCOM E0");
  EXPECT_EQ(ask_one("LINE_TYPE 02 ?"), "%LINE_TYPE 02 SATCOM E0");
  // ALL changes every port that has the setting, one line each.
  EXPECT_EQ(ask("RX_SQUELCH ALL OFF"), (Lines{"%RX_SQUELCH 03 OFF E0", "%RX_SQUELCH 06 OFF E0"}));
}

// A refused value comes back with status 3: for the settings the controller stores whatever the
// status, with the value kept; for the others, with the value asked for. A token of the wrong
// kind asks for nothing. A setting the module lacks, or a bad port, gets a bare status.
TEST_F(GatewayTest, ARefusedValueIsAnsweredAsTheControllerReadsIt) {
  converse({
      {"EQ 03 8", {"%EQ 03 4 E3"}},
      {"PEAKER 03 12", {"%PEAKER 03 0 E3"}},
      {"LINE_TYPE 02 PULSE", {"%LINE_TYPE 02 NORM E3"}},
      {"CALLING_TIME 02 EURO", {"%CALLING_TIME 02 30 E3"}},
      {"TX_LEVEL 00 12", {"%TX_LEVEL 00 12 E3"}},
      {"RX_LEVEL 02 9", {"%RX_LEVEL 02 9 E3"}},  // the line's list ends at 8
      {"DUPLEX 00 NORM", {"%DUPLEX 00 NORM E3"}},
      {"SQUELCH_TYPE 03 HALF", {"%SQUELCH_TYPE 03 HALF E3"}},
      {"RING_CADENCE 04 CONT", {"%RING_CADENCE 04 CONT E3"}},
      {"SECURITY_LEVEL 05 10", {"%SECURITY_LEVEL 05 10 E3"}},
      {"USER_CONTROL 00 MAYBE", {"%USER_CONTROL 00 ON E3"}},
      {"TX_LEVEL 00 x7", {"%TX_LEVEL 00 6 E3"}},
      {"TX_LEVEL ALL 10",
       {"%TX_LEVEL 00 10 E3", "%TX_LEVEL 02 10 E3", "%TX_LEVEL 03 10 E3", "%TX_LEVEL 05 10 E3",
        "%TX_LEVEL 06 10 E3", "%TX_LEVEL 07 10 E3"}},
      {"TX_LEVEL 00 ?", {"%TX_LEVEL 00 6 E0"}},
      {"EQ 00 4", {"% E4"}},        // a radio has no equaliser
      {"TX_LEVEL 01 ?", {"% E4"}},  // nor a handset a level
      {"TX_LEVEL 08 ?", {"% E4"}},  // an empty port nothing
      {"TX_LEVEL 26 ?", {"% E2"}},
      {"TX_LEVEL 05", {"% E2"}},
      {"TX_LEVEL 05 3 4", {"% E2"}},
      {"ON_HOOK 00 ?", {"% E4"}},
  });
}

// "KEYWORD pp ?" answered "%KEYWORD pp VALUE E0" for a module that was never changed.
TEST_F(GatewayTest, FactoryValuesAreTheModulesDefaults) {
  // clang-format off
  const std::pair<const char*, const char*> factory[] = {
      {"RX_LEVEL 00", "3"}, {"DUPLEX 00", "HALF"}, {"COR_POLARITY 00", "NEG"},
      {"PTT_PRIORITY 00", "ON"}, {"COR_SAMP_DELAY 00", "4"}, {"PROMPT_DELAY 00", "2"},
      {"PROMPT_DELAY 01", "0"}, {"VMR_THRESH 02", "2"}, {"LINE_TIMEOUT 02", "3"},
      {"CALLING_TIME 02", "30"}, {"DIAL_MODE 02", "DTMF"}, {"EQ 03", "4"},
      {"SQUELCH_TYPE 03", "VOX"}, {"RX_SQUELCH 03", "ON"}, {"VMR_HANG 03", "3"},
      {"TONE_KEY_AMP 03", "1"}, {"OP 03", "1"}, {"VMR_THRESH 04", "2"},
      {"DIAL_TONE_ENABLE 04", "ON"}, {"MEK_SQUELCH_TYPE", "MIC"}};
  // clang-format on
  for (const auto& [setting, value] : factory) {
    EXPECT_EQ(ask_one(std::string(setting) + " ?"),
              "%" + std::string(setting) + " " + value + " E0");
  }
}

// Splits a space-separated list of keywords.
Lines words(std::string_view text) {
  Lines out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    if (end > at) out.emplace_back(text.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

// The controller's per-module query sweep after a module is identified: every line is answered
// with one value line for that port.
TEST_F(GatewayTest, EveryQueryOfAModulesSweepIsAnswered) {
  const std::pair<const char*, const char*> sweeps[] = {
      {"00",
       "DUPLEX COR_POLARITY COR_SAMPLING USER_CONTROL CONF PTT_PRIORITY SECURITY_LEVEL RX_LEVEL "
       "TX_LEVEL DTMF_MUTE_TIME COR_SAMP_DELAY COR_SAMP_INTERVAL COR_SAMP_WIDTH COR_INHIBIT "
       "RADIO_TYPE"},
      {"02",
       "DTMF_MUTE_TIME DELAY_TIME VMR_THRESH VMR_HANG LINE_TIMEOUT LINE_TYPE DIAL_MODE "
       "DIAL_TONE_WAIT USER_CONTROL CONF AUTO_ANS CALLING_TIME SECURITY_LEVEL RX_LEVEL TX_LEVEL "
       "2W_4W"},
      {"03",
       "DTMF_MUTE_TIME COR_SAMP_DELAY COR_SAMP_INTERVAL COR_SAMP_WIDTH COR_INHIBIT KEYING_TONES "
       "TONE_KEY_AMP PEAKER EQ DELAY_TIME PTT_PRIORITY DUPLEX COR_POLARITY COR_SAMPLING "
       "USER_CONTROL CONF RX_SQUELCH SECURITY_LEVEL RX_LEVEL TX_LEVEL SQUELCH_TYPE VMR_THRESH "
       "VMR_HANG"},
      {"04",
       "SECURITY_LEVEL DTMF_MUTE_TIME DELAY_TIME RX_LEVEL VMR_THRESH VMR_HANG DB_TONE "
       "USER_CONTROL CONF CALLING_TIME DIAL_TONE_ENABLE RINGBACK_ENABLE RING_CADENCE"},
  };
  for (const auto& [port, keywords] : sweeps) {
    for (const std::string& keyword : words(keywords)) {
      const std::string reply = ask_one(keyword + " " + port + " ?");
      EXPECT_TRUE(reply.starts_with("%" + keyword + " " + port + " ")) << reply;
      EXPECT_TRUE(reply.ends_with(" E0")) << reply;
    }
  }
}

}  // namespace
}  // namespace mav::sim::test
