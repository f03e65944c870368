// The command lines of the start-up synchronisation and the two settings sweeps, byte for byte.
#include <gtest/gtest.h>

#include "protocol/DeviceCommands.h"
#include "protocol/RecordingSender.h"

namespace mav {
namespace {

class DeviceCommandsTest : public ::testing::Test {
 protected:
  // Everything sent since the last call, run together as it went over the wire.
  std::string Wire() {
    std::string all;
    for (const std::string& line : sender.lines()) all += line;
    sender.clear();
    return all;
  }
  SessionState state;
  test::RecordingSender sender;
  DeviceCommands commands{sender, state};
};

TEST_F(DeviceCommandsTest, SynchroniseSendsTheFourteenLinesFollowingTheReportingPreferences) {
  commands.synchronise();
  EXPECT_EQ(sender.expects_reply(), std::vector<bool>(14, true));
  const std::string head =
      " \r\r\rUSER_PGM OFF\rSYSTEM\rON_HOOK ALL ?\rCONNECT_S ALL ?\rMON ALL ?\r"
      "SECURITY_MODE ?\rPIN ?\rRING_LED ON\rCONF ALL ON\r";
  EXPECT_EQ(Wire(), head + "COR_LED ON\rPTT_LED ON\r");
  state.cor_reporting = false;
  commands.synchronise();
  EXPECT_EQ(Wire(), head + "COR_LED OFF\rPTT_LED ON\r");
  state.cor_reporting = true;
  state.ptt_reporting = false;
  commands.synchronise();
  EXPECT_EQ(Wire(), head + "COR_LED ON\rPTT_LED OFF\r");
}

TEST_F(DeviceCommandsTest, SettingsSweepAsksEveryKeywordOfAllPorts) {
  commands.query_all_settings();
  EXPECT_EQ(Wire(),
            "2W_4W ALL ?\rAUTO_ANS ALL ?\rCALLING_TIME ALL ?\rCONF ALL ?\rCOR_INHIBIT ALL ?\r"
            "COR_POLARITY ALL ?\rCOR_SAMP_DELAY ALL ?\rCOR_SAMP_INTERVAL ALL ?\r"
            "COR_SAMP_WIDTH ALL ?\rCOR_SAMPLING ALL ?\rDELAY_TIME ALL ?\rDIAL_MODE ALL ?\r"
            "DIAL_TONE_WAIT ALL ?\rDTMF_MUTE_TIME ALL ?\rDB_TONE ALL ?\rDIAL_TONE_ENABLE ALL ?\r"
            "DUPLEX ALL ?\rEQ ALL ?\rKEYING_TONES ALL ?\rTONE_KEY_AMP ALL ?\rOP ALL ?\r"
            "PEAKER ALL ?\rPROMPT_DELAY ALL ?\rPROMPT_LANG ALL ?\rLINE_TIMEOUT ALL ?\r"
            "LINE_TYPE ALL ?\rPTT_PRIORITY ALL ?\rRING_CADENCE ALL ?\rRINGBACK_ENABLE ALL ?\r"
            "RX_LEVEL ALL ?\rRX_SQUELCH ALL ?\rSECURITY_LEVEL ALL ?\rSQUELCH_TYPE ALL ?\r"
            "TONE_KEY_AMP ALL ?\rRADIO_TYPE ALL ?\rTX_LEVEL ALL ?\rUSER_CONTROL ALL ?\r"
            "VMR_HANG ALL ?\rVMR_THRESH ALL ?\rTRUNK_TYPE ALL ?\rMEK_SQUELCH_TYPE ?\r");

  commands.query_all(58);
  commands.query_all(36);
  commands.query_all(0);   // the empty keyword sends nothing
  commands.query_all(68);  // beyond the table
  EXPECT_EQ(Wire(), "TX_LEVEL ALL ?\rON_HOOK ALL ?\r");
}

TEST_F(DeviceCommandsTest, PortSweepAsksTheSettingsOfTheModuleType) {
  const struct {
    int port;
    int type;
    const char* wire;
  } rows[] = {
      {5, 1,
       "DUPLEX 05 ?\rCOR_POLARITY 05 ?\rCOR_SAMPLING 05 ?\rUSER_CONTROL 05 ?\rCONF 05 ?\r"
       "PTT_PRIORITY 05 ?\rSECURITY_LEVEL 05 ?\rRX_LEVEL 05 ?\rTX_LEVEL 05 ?\r"
       "DTMF_MUTE_TIME 05 ?\rCOR_SAMP_DELAY 05 ?\rCOR_SAMP_INTERVAL 05 ?\rCOR_SAMP_WIDTH 05 ?\r"
       "COR_INHIBIT 05 ?\rRADIO_TYPE 05 ?\r"},
      {0, 3,
       "DTMF_MUTE_TIME 00 ?\rDELAY_TIME 00 ?\rVMR_THRESH 00 ?\rVMR_HANG 00 ?\r"
       "LINE_TIMEOUT 00 ?\rLINE_TYPE 00 ?\rDIAL_MODE 00 ?\rDIAL_TONE_WAIT 00 ?\r"
       "USER_CONTROL 00 ?\rCONF 00 ?\rAUTO_ANS 00 ?\rCALLING_TIME 00 ?\rSECURITY_LEVEL 00 ?\r"
       "RX_LEVEL 00 ?\rTX_LEVEL 00 ?\r2W_4W 00 ?\r"},
      {25, 4,
       "DTMF_MUTE_TIME 25 ?\rCOR_SAMP_DELAY 25 ?\rCOR_SAMP_INTERVAL 25 ?\rCOR_SAMP_WIDTH 25 ?\r"
       "COR_INHIBIT 25 ?\rKEYING_TONES 25 ?\rTONE_KEY_AMP 25 ?\rPEAKER 25 ?\rEQ 25 ?\r"
       "DELAY_TIME 25 ?\rPTT_PRIORITY 25 ?\rDUPLEX 25 ?\rCOR_POLARITY 25 ?\r"
       "COR_SAMPLING 25 ?\rUSER_CONTROL 25 ?\rCONF 25 ?\rRX_SQUELCH 25 ?\r"
       "SECURITY_LEVEL 25 ?\rRX_LEVEL 25 ?\rTX_LEVEL 25 ?\rSQUELCH_TYPE 25 ?\r"
       "VMR_THRESH 25 ?\rVMR_HANG 25 ?\r"},
      {12, 5,
       "SECURITY_LEVEL 12 ?\rDTMF_MUTE_TIME 12 ?\rDELAY_TIME 12 ?\rRX_LEVEL 12 ?\r"
       "VMR_THRESH 12 ?\rVMR_HANG 12 ?\rDB_TONE 12 ?\rUSER_CONTROL 12 ?\rCONF 12 ?\r"
       "CALLING_TIME 12 ?\rDIAL_TONE_ENABLE 12 ?\rRINGBACK_ENABLE 12 ?\rRING_CADENCE 12 ?\r"},
      {3, 2, ""},  // the handset has nothing to ask
      {3, 0, ""},
      {3, 6, ""},
      {26, 1, ""},
      {-1, 1, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "port " << row.port << " type " << row.type);
    commands.query_port_settings(row.port, row.type);
    EXPECT_EQ(Wire(), row.wire);
  }
}

}  // namespace
}  // namespace mav
