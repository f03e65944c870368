#include "modules/SettingsWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "protocol/RecordingSender.h"

namespace mav {
namespace {

// Every byte of the settings block holds its own offset (calling_time 2, squelch_type 15), so a
// line that takes the wrong field shows it.
PortRecord distinct_record(std::uint32_t mod_type) {
  PortRecord record{};
  record.mod_type = mod_type;
  auto* bytes = reinterpret_cast<std::uint8_t*>(&record.settings);
  for (std::size_t i = 0; i < sizeof record.settings; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  record.settings.calling_time = 2;
  record.settings.squelch_type = 15;
  return record;
}

struct WriterRig {
  // Every line sent to port 07, joined; each expects a reply.
  std::string sent() {
    std::string all;
    for (const std::string& line : sender.lines()) all += line;
    EXPECT_EQ(sender.expects_reply(), std::vector<bool>(sender.lines().size(), true));
    sender.clear();
    return all;
  }
  test::RecordingSender sender;
  SessionState session;
  SettingsWriter writer{sender, session};
};

std::string full_send(std::uint32_t mod_type) {
  WriterRig rig;
  rig.writer.WriteModuleSettings(7, distinct_record(mod_type), nullptr);
  return rig.sent();
}

TEST(SettingsWriter, AFullSendIsEveryLineInTheModulesOrder) {
  EXPECT_EQ(full_send(1),
            "RADIO_TYPE 07 30\rDUPLEX 07 FULL\rCOR_POLARITY 07 NEG\rCOR_SAMPLING 07 ON\r"
            "USER_CONTROL 07 ON\rPTT_PRIORITY 07 ON\rSECURITY_LEVEL 07 34\rRX_LEVEL 07 32\r"
            "TX_LEVEL 07 43\rDTMF_MUTE_TIME 07 18\rCOR_SAMP_DELAY 07 12\rCOR_SAMP_INTERVAL 07 13\r"
            "COR_SAMP_WIDTH 07 14\rCOR_INHIBIT 07 9\rPROMPT_DELAY 07 25\r");
  EXPECT_EQ(full_send(2), "PROMPT_DELAY 07 25\r");
  EXPECT_EQ(full_send(3),
            "DTMF_MUTE_TIME 07 18\rDELAY_TIME 07 1\rVMR_THRESH 07 46\rVMR_HANG 07 47\r"
            "LINE_TIMEOUT 07 28\rLINE_TYPE 07 NORM\rDIAL_MODE 07 DTMF\rDIAL_TONE_WAIT 07 ON\r"
            "USER_CONTROL 07 ON\rAUTO_ANS 07 ON\rCALLING_TIME 07 1\rSECURITY_LEVEL 07 34\r"
            "RX_LEVEL 07 32\rTX_LEVEL 07 43\r2W_4W 07 0\rPROMPT_DELAY 07 25\r");
  EXPECT_EQ(
      full_send(4),
      "DTMF_MUTE_TIME 07 18\rCOR_SAMP_DELAY 07 12\rCOR_SAMP_INTERVAL 07 13\r"
      "COR_SAMP_WIDTH 07 14\rCOR_INHIBIT 07 9\rKEYING_TONES 07 20\rTONE_KEY_AMP 07 21\r"
      "PEAKER 07 24\rEQ 07 2\rDELAY_TIME 07 1\rTRUNK_TYPE 07 42\rPTT_PRIORITY 07 ON\r"
      "DUPLEX 07 FULL\rCOR_POLARITY 07 NEG\rCOR_SAMPLING 07 ON\rUSER_CONTROL 07 ON\r"
      "RX_SQUELCH 07 ON\rSECURITY_LEVEL 07 34\rRX_LEVEL 07 32\rTX_LEVEL 07 43\r"
      "SQUELCH_TYPE 07 VMR\rVMR_THRESH 07 46\rVMR_HANG 07 47\rOP 07 23\rPROMPT_DELAY 07 25\r");
  EXPECT_EQ(full_send(5),
            "SECURITY_LEVEL 07 34\rDTMF_MUTE_TIME 07 18\rDELAY_TIME 07 1\rRX_LEVEL 07 32\r"
            "VMR_THRESH 07 46\rVMR_HANG 07 47\rDB_TONE 07 US\rUSER_CONTROL 07 ON\r"
            "CALLING_TIME 07 1\rDIAL_TONE_ENABLE 07 ON\rRINGBACK_ENABLE 07 ON\r"
            "RING_CADENCE 07 US\rPROMPT_DELAY 07 25\r");
  EXPECT_EQ(full_send(0), "");
  WriterRig rig;  // and no module leaves the believed record alone
  PortRecord believed = distinct_record(0);
  rig.writer.WriteModuleSettings(7, PortRecord{}, &believed);
  EXPECT_EQ(believed.settings.tx_level, distinct_record(0).settings.tx_level);
}

// The lines for settings changed against the believed record, which then holds the new settings
// and nothing else of it moves; a second write sends nothing.
template <typename Change>
std::string changed(std::uint32_t mod_type, Change change) {
  WriterRig rig;
  PortRecord believed = distinct_record(mod_type);
  std::strcpy(believed.port_name, "Radio");
  PortRecord wanted = distinct_record(mod_type);
  change(wanted.settings);
  PortRecord expected = believed;
  expected.settings = wanted.settings;
  rig.writer.WriteModuleSettings(7, wanted, &believed);
  const std::string lines = rig.sent();
  EXPECT_EQ(std::memcmp(&believed, &expected, sizeof expected), 0);
  rig.writer.WriteModuleSettings(7, wanted, &believed);
  EXPECT_EQ(rig.sent(), "");
  return lines;
}

TEST(SettingsWriter, AChangeSendsOnlyItsLineInItsWords) {
  using S = ModuleSettings;
  EXPECT_EQ(changed(4, [](S& s) { s.tx_level = 5; }), "TX_LEVEL 07 5\r");
  EXPECT_EQ(changed(1, [](S& s) { s.duplex = 0; }), "DUPLEX 07 HALF\r");
  EXPECT_EQ(changed(4, [](S& s) { s.cor_polarity = 0; }), "COR_POLARITY 07 POS\r");
  EXPECT_EQ(changed(3, [](S& s) { s.calling_time = 3; }), "CALLING_TIME 07 CONT\r");
  EXPECT_EQ(changed(3, [](S& s) { s.calling_time = 0; }), "CALLING_TIME 07 0\r");
  EXPECT_EQ(changed(3, [](S& s) { s.calling_time = 7; }), "");  // no word for it
  EXPECT_EQ(changed(5, [](S& s) { s.calling_time = 5; }), "");
  EXPECT_EQ(changed(3, [](S& s) { s.line_type = s.dial_mode = 0; }),
            "LINE_TYPE 07 SATCOM\rDIAL_MODE 07 PULSE\r");
  EXPECT_EQ(changed(4, [](S& s) { s.squelch_type = 16; }), "SQUELCH_TYPE 07 NOISE\r");
  EXPECT_EQ(changed(4, [](S& s) { s.squelch_type = 99; }), "SQUELCH_TYPE 07 VOX\r");
  EXPECT_EQ(changed(5, [](S& s) { s.ring_cadence = 0; }), "RING_CADENCE 07 EURO\r");
  EXPECT_EQ(changed(5, [](S& s) { s.db_tone = 0; }), "DB_TONE 07 US\r");  // always US
  EXPECT_EQ(changed(1, [](S& s) { s.eq = 7; }), "");  // a field the module does not have
}

TEST(SettingsWriter, TheHandsetSquelchLineGoesToPort00ForARealChoiceThatDiffersFromTheReport) {
  const auto squelch = [](int port, int requested, int reported) {
    WriterRig rig;
    rig.session.mek_squelch_type = reported;
    rig.writer.request_mek_squelch(requested);
    PortRecord believed = distinct_record(2);
    rig.writer.WriteModuleSettings(port, believed, &believed);
    return rig.sent();
  };
  EXPECT_EQ(squelch(0, 24, -1), "MEK_SQUELCH_TYPE MIC\r");
  EXPECT_EQ(squelch(0, 18, 24), "MEK_SQUELCH_TYPE VOX\r");
  EXPECT_EQ(squelch(0, 18, 18), "");
  EXPECT_EQ(squelch(0, -1, 24), "");
  EXPECT_EQ(squelch(5, 24, 18), "");
}

}  // namespace
}  // namespace mav
