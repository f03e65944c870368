#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "modules/SettingsWriter.h"
#include "protocol/RecordingSender.h"

namespace mav {
namespace {

using Lines = std::vector<std::string>;

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
  test::RecordingSender sender;
  SessionState session;
  SettingsWriter writer{sender, session};
};

struct FullSendCase {
  std::uint32_t mod_type;
  Lines lines;
};

class FullSend : public testing::TestWithParam<FullSendCase> {};

TEST_P(FullSend, EveryLineInTheModulesOrder) {
  WriterRig rig;
  rig.writer.WriteModuleSettings(7, distinct_record(GetParam().mod_type), nullptr);
  EXPECT_EQ(rig.sender.lines(), GetParam().lines);
  EXPECT_EQ(rig.sender.expects_reply(), std::vector<bool>(GetParam().lines.size(), true));
}

INSTANTIATE_TEST_SUITE_P(
    Modules, FullSend,
    testing::Values(
        FullSendCase{
            1,
            {"RADIO_TYPE 07 30\r", "DUPLEX 07 FULL\r", "COR_POLARITY 07 NEG\r",
             "COR_SAMPLING 07 ON\r", "USER_CONTROL 07 ON\r", "PTT_PRIORITY 07 ON\r",
             "SECURITY_LEVEL 07 34\r", "RX_LEVEL 07 32\r", "TX_LEVEL 07 43\r",
             "DTMF_MUTE_TIME 07 18\r", "COR_SAMP_DELAY 07 12\r", "COR_SAMP_INTERVAL 07 13\r",
             "COR_SAMP_WIDTH 07 14\r", "COR_INHIBIT 07 9\r", "PROMPT_DELAY 07 25\r"}},
        FullSendCase{2, {"PROMPT_DELAY 07 25\r"}},
        FullSendCase{
            3,
            {"DTMF_MUTE_TIME 07 18\r", "DELAY_TIME 07 1\r", "VMR_THRESH 07 46\r",
             "VMR_HANG 07 47\r", "LINE_TIMEOUT 07 28\r", "LINE_TYPE 07 NORM\r",
             "DIAL_MODE 07 DTMF\r", "DIAL_TONE_WAIT 07 ON\r", "USER_CONTROL 07 ON\r",
             "AUTO_ANS 07 ON\r", "CALLING_TIME 07 1\r", "SECURITY_LEVEL 07 34\r",
             "RX_LEVEL 07 32\r", "TX_LEVEL 07 43\r", "2W_4W 07 0\r", "PROMPT_DELAY 07 25\r"}},
        FullSendCase{
            4, {"DTMF_MUTE_TIME 07 18\r", "COR_SAMP_DELAY 07 12\r", "COR_SAMP_INTERVAL 07 13\r",
                "COR_SAMP_WIDTH 07 14\r", "COR_INHIBIT 07 9\r",     "KEYING_TONES 07 20\r",
                "TONE_KEY_AMP 07 21\r",   "PEAKER 07 24\r",         "EQ 07 2\r",
                "DELAY_TIME 07 1\r",      "TRUNK_TYPE 07 42\r",     "PTT_PRIORITY 07 ON\r",
                "DUPLEX 07 FULL\r",       "COR_POLARITY 07 NEG\r",  "COR_SAMPLING 07 ON\r",
                "USER_CONTROL 07 ON\r",   "RX_SQUELCH 07 ON\r",     "SECURITY_LEVEL 07 34\r",
                "RX_LEVEL 07 32\r",       "TX_LEVEL 07 43\r",       "SQUELCH_TYPE 07 VMR\r",
                "VMR_THRESH 07 46\r",     "VMR_HANG 07 47\r",       "OP 07 23\r",
                "PROMPT_DELAY 07 25\r"}},
        FullSendCase{
            5,
            {"SECURITY_LEVEL 07 34\r", "DTMF_MUTE_TIME 07 18\r", "DELAY_TIME 07 1\r",
             "RX_LEVEL 07 32\r", "VMR_THRESH 07 46\r", "VMR_HANG 07 47\r", "DB_TONE 07 US\r",
             "USER_CONTROL 07 ON\r", "CALLING_TIME 07 1\r", "DIAL_TONE_ENABLE 07 ON\r",
             "RINGBACK_ENABLE 07 ON\r", "RING_CADENCE 07 US\r", "PROMPT_DELAY 07 25\r"}},
        FullSendCase{0, {}}));

// One field changed against the believed record: at most that field's line, then nothing more.
struct ChangeCase {
  const char* name;
  std::uint32_t mod_type;
  std::function<void(ModuleSettings&)> change;
  Lines lines;
};

class OneChange : public testing::TestWithParam<ChangeCase> {};

TEST_P(OneChange, SendsOnlyThatLineOnce) {
  const ChangeCase& c = GetParam();
  WriterRig rig;
  PortRecord old_record = distinct_record(c.mod_type);
  std::strcpy(old_record.port_name, "Radio");
  const PortRecord before = old_record;
  PortRecord wanted = distinct_record(c.mod_type);
  c.change(wanted.settings);

  rig.writer.WriteModuleSettings(7, wanted, &old_record);
  EXPECT_EQ(rig.sender.lines(), c.lines);
  // The settings block is brought up to date; nothing else of the record moves.
  EXPECT_EQ(std::memcmp(&old_record.settings, &wanted.settings, sizeof wanted.settings), 0);
  PortRecord rest = before;
  rest.settings = wanted.settings;
  EXPECT_EQ(std::memcmp(&old_record, &rest, sizeof rest), 0);

  rig.sender.clear();
  rig.writer.WriteModuleSettings(7, wanted, &old_record);
  EXPECT_TRUE(rig.sender.lines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Modules, OneChange,
    testing::Values(
        ChangeCase{"VoqTxLevel", 4, [](ModuleSettings& s) { s.tx_level = 5; }, {"TX_LEVEL 07 5\r"}},
        ChangeCase{
            "TovHalfDuplex", 1, [](ModuleSettings& s) { s.duplex = 0; }, {"DUPLEX 07 HALF\r"}},
        ChangeCase{"VoqPositivePolarity",
                   4,
                   [](ModuleSettings& s) { s.cor_polarity = 0; },
                   {"COR_POLARITY 07 POS\r"}},
        ChangeCase{"LineContinuousRing",
                   3,
                   [](ModuleSettings& s) { s.calling_time = 3; },
                   {"CALLING_TIME 07 CONT\r"}},
        ChangeCase{"LineNoRing",
                   3,
                   [](ModuleSettings& s) { s.calling_time = 0; },
                   {"CALLING_TIME 07 0\r"}},
        ChangeCase{"LineUnknownRingTime", 3, [](ModuleSettings& s) { s.calling_time = 7; }, {}},
        ChangeCase{"LineSatcomPulse",
                   3,
                   [](ModuleSettings& s) {
                     s.line_type = 0;
                     s.dial_mode = 0;
                   },
                   {"LINE_TYPE 07 SATCOM\r", "DIAL_MODE 07 PULSE\r"}},
        ChangeCase{"VoqNoiseSquelch",
                   4,
                   [](ModuleSettings& s) { s.squelch_type = 16; },
                   {"SQUELCH_TYPE 07 NOISE\r"}},
        ChangeCase{"VoqUnknownSquelchIsVox",
                   4,
                   [](ModuleSettings& s) { s.squelch_type = 99; },
                   {"SQUELCH_TYPE 07 VOX\r"}},
        ChangeCase{"HkEuropeanCadence",
                   5,
                   [](ModuleSettings& s) { s.ring_cadence = 0; },
                   {"RING_CADENCE 07 EURO\r"}},
        ChangeCase{"HkDialToneWordIsAlwaysUs",
                   5,
                   [](ModuleSettings& s) { s.db_tone = 0; },
                   {"DB_TONE 07 US\r"}},
        ChangeCase{"TovFieldItDoesNotHave", 1, [](ModuleSettings& s) { s.eq = 7; }, {}}),
    [](const testing::TestParamInfo<ChangeCase>& row) { return std::string(row.param.name); });

TEST(SettingsWriter, NoModuleLeavesTheBelievedRecordAlone) {
  WriterRig rig;
  PortRecord old_record = distinct_record(0);
  const PortRecord before = old_record;
  rig.writer.WriteModuleSettings(7, PortRecord{}, &old_record);
  EXPECT_TRUE(rig.sender.lines().empty());
  EXPECT_EQ(std::memcmp(&old_record, &before, sizeof before), 0);
}

TEST(SettingsWriter, HkRingTimeOutsideTheWordsIsNotSent) {
  WriterRig rig;
  PortRecord record = distinct_record(5);
  record.settings.calling_time = 5;
  rig.writer.WriteModuleSettings(7, record, nullptr);
  EXPECT_EQ(rig.sender.lines().size(), 12u);
}

// The handset squelch line: port 00 only, only a real choice that differs from the report.
struct SquelchCase {
  int port;
  int requested;
  int reported;
  Lines lines;
};

TEST(SettingsWriter, HandsetSquelchLine) {
  const SquelchCase cases[] = {
      {0, 24, -1, {"MEK_SQUELCH_TYPE MIC\r"}},
      {0, 18, 24, {"MEK_SQUELCH_TYPE VOX\r"}},
      {0, 18, 18, {}},
      {0, -1, 24, {}},
      {5, 24, 18, {}},
  };
  for (const SquelchCase& c : cases) {
    WriterRig rig;
    rig.session.mek_squelch_type = c.reported;
    rig.writer.request_mek_squelch(c.requested);
    PortRecord old_record = distinct_record(2);
    rig.writer.WriteModuleSettings(c.port, old_record, &old_record);
    EXPECT_EQ(rig.sender.lines(), c.lines) << "port " << c.port << " requested " << c.requested;
  }
}

}  // namespace
}  // namespace mav
