// The command lines of the start-up synchronisation and the two settings sweeps, byte for byte.
#include <gtest/gtest.h>

#include "protocol/DeviceCommands.h"
#include "protocol/ModelNames.h"
#include "protocol/RecordingSender.h"

namespace mav {
namespace {

using Lines = std::vector<std::string>;

class DeviceCommandsTest : public ::testing::Test {
 protected:
  SessionState state;
  test::RecordingSender sender;
  DeviceCommands commands{sender, state};
};

TEST_F(DeviceCommandsTest, SynchroniseSendsTheFourteenLinesWithReportingOn) {
  commands.synchronise();
  EXPECT_EQ(sender.lines(),
            (Lines{" \r", "\r", "\r", "USER_PGM OFF\r", "SYSTEM\r", "ON_HOOK ALL ?\r",
                   "CONNECT_S ALL ?\r", "MON ALL ?\r", "SECURITY_MODE ?\r", "PIN ?\r",
                   "RING_LED ON\r", "CONF ALL ON\r", "COR_LED ON\r", "PTT_LED ON\r"}));
  for (bool expects : sender.expects_reply()) EXPECT_TRUE(expects);
}

TEST_F(DeviceCommandsTest, SynchroniseFollowsEachReportingPreference) {
  state.cor_reporting = false;
  commands.synchronise();
  Lines lines = sender.lines();
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[12], "COR_LED OFF\r");
  EXPECT_EQ(lines[13], "PTT_LED ON\r");

  sender.clear();
  state.cor_reporting = true;
  state.ptt_reporting = false;
  commands.synchronise();
  lines = sender.lines();
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[12], "COR_LED ON\r");
  EXPECT_EQ(lines[13], "PTT_LED OFF\r");
}

TEST_F(DeviceCommandsTest, SettingsSweepAsksEveryKeywordOfAllPorts) {
  commands.query_all_settings();
  EXPECT_EQ(sender.lines(), (Lines{"2W_4W ALL ?\r",
                                   "AUTO_ANS ALL ?\r",
                                   "CALLING_TIME ALL ?\r",
                                   "CONF ALL ?\r",
                                   "COR_INHIBIT ALL ?\r",
                                   "COR_POLARITY ALL ?\r",
                                   "COR_SAMP_DELAY ALL ?\r",
                                   "COR_SAMP_INTERVAL ALL ?\r",
                                   "COR_SAMP_WIDTH ALL ?\r",
                                   "COR_SAMPLING ALL ?\r",
                                   "DELAY_TIME ALL ?\r",
                                   "DIAL_MODE ALL ?\r",
                                   "DIAL_TONE_WAIT ALL ?\r",
                                   "DTMF_MUTE_TIME ALL ?\r",
                                   "DB_TONE ALL ?\r",
                                   "DIAL_TONE_ENABLE ALL ?\r",
                                   "DUPLEX ALL ?\r",
                                   "EQ ALL ?\r",
                                   "KEYING_TONES ALL ?\r",
                                   "TONE_KEY_AMP ALL ?\r",
                                   "OP ALL ?\r",
                                   "PEAKER ALL ?\r",
                                   "PROMPT_DELAY ALL ?\r",
                                   "PROMPT_LANG ALL ?\r",
                                   "LINE_TIMEOUT ALL ?\r",
                                   "LINE_TYPE ALL ?\r",
                                   "PTT_PRIORITY ALL ?\r",
                                   "RING_CADENCE ALL ?\r",
                                   "RINGBACK_ENABLE ALL ?\r",
                                   "RX_LEVEL ALL ?\r",
                                   "RX_SQUELCH ALL ?\r",
                                   "SECURITY_LEVEL ALL ?\r",
                                   "SQUELCH_TYPE ALL ?\r",
                                   "TONE_KEY_AMP ALL ?\r",
                                   "RADIO_TYPE ALL ?\r",
                                   "TX_LEVEL ALL ?\r",
                                   "USER_CONTROL ALL ?\r",
                                   "VMR_HANG ALL ?\r",
                                   "VMR_THRESH ALL ?\r",
                                   "TRUNK_TYPE ALL ?\r",
                                   "MEK_SQUELCH_TYPE ?\r"}));
}

TEST_F(DeviceCommandsTest, QueryAllBuildsTheLineFromAKeywordIndex) {
  commands.query_all(58);
  commands.query_all(36);
  commands.query_all(0);   // the empty keyword sends nothing
  commands.query_all(68);  // beyond the table
  EXPECT_EQ(sender.lines(), (Lines{"TX_LEVEL ALL ?\r", "ON_HOOK ALL ?\r"}));
}

TEST_F(DeviceCommandsTest, PortSweepOfTheRadioInterfaceModule) {
  commands.query_port_settings(5, 1);
  EXPECT_EQ(sender.lines(),
            (Lines{"DUPLEX 05 ?\r", "COR_POLARITY 05 ?\r", "COR_SAMPLING 05 ?\r",
                   "USER_CONTROL 05 ?\r", "CONF 05 ?\r", "PTT_PRIORITY 05 ?\r",
                   "SECURITY_LEVEL 05 ?\r", "RX_LEVEL 05 ?\r", "TX_LEVEL 05 ?\r",
                   "DTMF_MUTE_TIME 05 ?\r", "COR_SAMP_DELAY 05 ?\r", "COR_SAMP_INTERVAL 05 ?\r",
                   "COR_SAMP_WIDTH 05 ?\r", "COR_INHIBIT 05 ?\r", "RADIO_TYPE 05 ?\r"}));
}

TEST_F(DeviceCommandsTest, PortSweepOfTheTelephoneLineModule) {
  commands.query_port_settings(0, 3);
  EXPECT_EQ(
      sender.lines(),
      (Lines{"DTMF_MUTE_TIME 00 ?\r", "DELAY_TIME 00 ?\r", "VMR_THRESH 00 ?\r", "VMR_HANG 00 ?\r",
             "LINE_TIMEOUT 00 ?\r", "LINE_TYPE 00 ?\r", "DIAL_MODE 00 ?\r", "DIAL_TONE_WAIT 00 ?\r",
             "USER_CONTROL 00 ?\r", "CONF 00 ?\r", "AUTO_ANS 00 ?\r", "CALLING_TIME 00 ?\r",
             "SECURITY_LEVEL 00 ?\r", "RX_LEVEL 00 ?\r", "TX_LEVEL 00 ?\r", "2W_4W 00 ?\r"}));
}

TEST_F(DeviceCommandsTest, PortSweepOfTheSignalProcessingModule) {
  commands.query_port_settings(25, 4);
  EXPECT_EQ(sender.lines(),
            (Lines{"DTMF_MUTE_TIME 25 ?\r", "COR_SAMP_DELAY 25 ?\r", "COR_SAMP_INTERVAL 25 ?\r",
                   "COR_SAMP_WIDTH 25 ?\r", "COR_INHIBIT 25 ?\r",    "KEYING_TONES 25 ?\r",
                   "TONE_KEY_AMP 25 ?\r",   "PEAKER 25 ?\r",         "EQ 25 ?\r",
                   "DELAY_TIME 25 ?\r",     "PTT_PRIORITY 25 ?\r",   "DUPLEX 25 ?\r",
                   "COR_POLARITY 25 ?\r",   "COR_SAMPLING 25 ?\r",   "USER_CONTROL 25 ?\r",
                   "CONF 25 ?\r",           "RX_SQUELCH 25 ?\r",     "SECURITY_LEVEL 25 ?\r",
                   "RX_LEVEL 25 ?\r",       "TX_LEVEL 25 ?\r",       "SQUELCH_TYPE 25 ?\r",
                   "VMR_THRESH 25 ?\r",     "VMR_HANG 25 ?\r"}));
}

TEST_F(DeviceCommandsTest, PortSweepOfTheLocalPhoneModule) {
  commands.query_port_settings(12, 5);
  EXPECT_EQ(sender.lines(),
            (Lines{"SECURITY_LEVEL 12 ?\r", "DTMF_MUTE_TIME 12 ?\r", "DELAY_TIME 12 ?\r",
                   "RX_LEVEL 12 ?\r", "VMR_THRESH 12 ?\r", "VMR_HANG 12 ?\r", "DB_TONE 12 ?\r",
                   "USER_CONTROL 12 ?\r", "CONF 12 ?\r", "CALLING_TIME 12 ?\r",
                   "DIAL_TONE_ENABLE 12 ?\r", "RINGBACK_ENABLE 12 ?\r", "RING_CADENCE 12 ?\r"}));
}

TEST_F(DeviceCommandsTest, HandsetAndUnknownModulesAndBadPortsAskNothing) {
  commands.query_port_settings(3, 2);
  commands.query_port_settings(3, 0);
  commands.query_port_settings(3, 6);
  commands.query_port_settings(26, 1);
  commands.query_port_settings(-1, 1);
  EXPECT_TRUE(sender.lines().empty());
}

TEST(ModelNames, FiveModuleTypesHaveNamesAndNothingElseDoes) {
  EXPECT_EQ(model_name(1), "TOV-5");
  EXPECT_EQ(model_name(2), "MEK-4");
  EXPECT_EQ(model_name(3), "LINE-7");
  EXPECT_EQ(model_name(4), "VOQ-3");
  EXPECT_EQ(model_name(5), "HK-6");
  EXPECT_EQ(model_name(0), "");
  EXPECT_EQ(model_name(6), "");
  EXPECT_EQ(model_name(-1), "");
}

}  // namespace
}  // namespace mav
