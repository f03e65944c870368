#include "modules/ModuleSettingsTable.h"

#include <algorithm>
#include <array>

#include "model/SettingsFields.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

// Lists shared by several modules.
constexpr Choice kSecurityLevel[] = {{"Off (default)", 0},
                                     {"1 (Minimum)", 1},
                                     {"2", 2},
                                     {"3", 3},
                                     {"4", 4},
                                     {"5", 5},
                                     {"6", 6},
                                     {"7", 7},
                                     {"8", 8},
                                     {"9 (Maximum)", 9}};
constexpr Choice kSecurityLevelRadio[] = {{"Off [0] (default)", 0},
                                          {"1 (Minimum)", 1},
                                          {"2", 2},
                                          {"3", 3},
                                          {"4", 4},
                                          {"5", 5},
                                          {"6", 6},
                                          {"7", 7},
                                          {"8", 8},
                                          {"9 (Maximum)", 9}};
constexpr Choice kDtmfMuteTime[] = {
    {"Off [0] (default)", 0}, {"0.5 sec [1]", 1}, {"1.0 sec [2]", 2}, {"1.5 sec [3]", 3},
    {"2.0 sec [4]", 4},       {"2.5 sec [5]", 5}, {"3.0 sec [6]", 6}, {"3.5 sec [7]", 7},
    {"4.0 sec [8]", 8},       {"4.5 sec [9]", 9}};
constexpr Choice kDtmfEnable[] = {{"Disabled [0]", 0}, {"Enabled [1] (default)", 1}};
constexpr Choice kPromptDelayRadio[] = {
    {"No Delay [0]", 0}, {"50 ms [1]", 1},  {"100 ms [2] (default)", 2},
    {"500 ms [3]", 3},   {"750 ms [4]", 4}, {"1 sec [5]", 5},
    {"2 sec [6]", 6},    {"3 sec [7]", 7},  {"4 sec [8]", 8},
    {"5 sec [9]", 9}};
constexpr Choice kPromptDelayPhone[] = {{"No Delay [0] (default)", 0},
                                        {"50 ms [1]", 1},
                                        {"100 ms [2]", 2},
                                        {"500 ms [3]", 3},
                                        {"750 ms [4]", 4},
                                        {"1 sec [5]", 5},
                                        {"2 sec [6]", 6},
                                        {"3 sec [7]", 7},
                                        {"4 sec [8]", 8},
                                        {"5 sec [9]", 9}};
constexpr Choice kRxLevelRadio[] = {
    {"12 dBm [0]", 0},  {"8 dBm [1]", 1},  {"4 dBm [2]", 2},   {"0 dBm [3] (default)", 3},
    {"-4 dBm [4]", 4},  {"-8 dBm [5]", 5}, {"-12 dBm [6]", 6}, {"-16 dBm [7]", 7},
    {"-20 dBm [8]", 8}, {"-26 dBm [9]", 9}};
constexpr Choice kTxLevelRadio[] = {
    {"-26 dBm [0]", 0}, {"-20 dBm [1]", 1}, {"-16 dBm [2]", 2},         {"-12 dBm [3]", 3},
    {"-8 dBm [4]", 4},  {"-4 dBm [5]", 5},  {"0 dBm [6] (default)", 6}, {"4 dBm [7]", 7},
    {"8 dBm [8]", 8},   {"12 dBm [9]", 9}};
constexpr Choice kCorInhibit[] = {{"None [0]", 0},   {"100 ms [1] (default)", 1},
                                  {"200 ms [2]", 2}, {"400 ms [3]", 3},
                                  {"800 ms [4]", 4}, {"1 sec [5]", 5},
                                  {"2 sec [6]", 6},  {"3 sec [7]", 7},
                                  {"4 sec [8]", 8},  {"5 sec [9]", 9}};
constexpr Choice kCorSampling[] = {{"Disabled [0] (default)", 0}, {"Enabled [1]", 1}};
constexpr Choice kCorSampDelay[] = {{"2 sec [0]", 0},
                                    {"4 sec [1]", 1},
                                    {"6 sec [2]", 2},
                                    {"8 sec [3]", 3},
                                    {"10 sec [4] (default)", 4},
                                    {"12 sec [5]", 5},
                                    {"14 sec [6]", 6},
                                    {"16 sec [7]", 7},
                                    {"18 sec [8]", 8},
                                    {"20 sec [9]", 9}};
constexpr Choice kCorSampInterval[] = {
    {"1 sec [0]", 0},           {"2 sec [1]", 1}, {"3 sec [2]", 2}, {"4 sec [3]", 3},
    {"5 sec [4] (default)", 4}, {"6 sec [5]", 5}, {"7 sec [6]", 6}, {"8 sec [7]", 7},
    {"9 sec [8]", 8},           {"10 sec [9]", 9}};
constexpr Choice kCorSampWidth[] = {
    {"50 ms [0]", 0},  {"100 ms [1]", 1}, {"150 ms [2] (default)", 2}, {"200 ms [3]", 3},
    {"250 ms [4]", 4}, {"300 ms [5]", 5}, {"350 ms [6]", 6},           {"400 ms [7]", 7},
    {"450 ms [8]", 8}, {"500 ms [9]", 9}};
constexpr Choice kCorPolarity[] = {{"Active Low [0] (default)", 1}, {"Active High [1]", 0}};
constexpr Choice kPttPriority[] = {{"COR Priority [0]", 0}, {"PTT Priority [1] (default)", 1}};
// The stored values are the indices of the value words sent: "0", "30", "1", "CONT".
constexpr Choice kCallingTime[] = {{"No ring [0]", vw::ZERO},
                                   {"30 sec [1] (default)", vw::THIRTY},
                                   {"60 sec [2]", vw::ONE},
                                   {"Continuous [3]", vw::CONT}};

// TOV-5 radio interface.
constexpr Choice kTovDuplex[] = {{"Half [1] (default)", 0}, {"Full [0]", 1}};
constexpr Choice kRadioType[] = {{"Standard [0] (default)", 0}, {"Motorola URC-200 [9]", 9}};

constexpr SettingRow kTovRows[] = {
    {1401, "Rx Level", kw::RX_LEVEL, kRxLevelRadio},
    {1404, "Tx Level", kw::TX_LEVEL, kTxLevelRadio},
    {1408, "Duplex", kw::DUPLEX, kTovDuplex, ShowRule::NonZero},
    {1411, "COR/PTT Priority", kw::PTT_PRIORITY, kPttPriority, ShowRule::NonZero},
    {1405, "COR Polarity", kw::COR_POLARITY, kCorPolarity, ShowRule::NonZero},
    {1419, "COR Inhibit Time After PTT", kw::COR_INHIBIT, kCorInhibit},
    {1403, "Radio Type", kw::RADIO_TYPE, kRadioType, ShowRule::NonZero},
    {1412, "Voice Prompt Delay", kw::PROMPT_DELAY, kPromptDelayRadio},
    {1429, "COR Sampling", kw::COR_SAMPLING, kCorSampling, ShowRule::NonZero},
    {1426, "COR Sampling Initial Delay", kw::COR_SAMP_DELAY, kCorSampDelay},
    {1432, "COR Sampling Width", kw::COR_SAMP_WIDTH, kCorSampWidth},
    {1431, "COR Sampling Interval", kw::COR_SAMP_INTERVAL, kCorSampInterval},
    {1445, "DTMF Enable", kw::USER_CONTROL, kDtmfEnable, ShowRule::NonZero},
    {1443, "DTMF Mute Timer", kw::DTMF_MUTE_TIME, kDtmfMuteTime},
    {1444, "Security Level", kw::SECURITY_LEVEL, kSecurityLevelRadio},
};

// MEK-4 handset/speaker. The squelch list edits the gateway-wide handset squelch choice.
constexpr Choice kMekSquelch[] = {{"Mic [0] (default)", vw::MIC}, {"VOX [1]", vw::VOX}};

constexpr SettingRow kMekRows[] = {
    {1414, "Squelch Type", kw::MEK_SQUELCH_TYPE, kMekSquelch},
    {1412, "Voice Prompt Delay", kw::PROMPT_DELAY, kPromptDelayPhone},
};

// LINE-7 telephone line.
constexpr Choice kLineLevel[] = {
    {"0 dBm [0]", 0},   {"-3 dBm [1]", 1},  {"-6 dBm [2]", 2},  {"-9 dBm [3] (default)", 3},
    {"-12 dBm [4]", 4}, {"-15 dBm [5]", 5}, {"-18 dBm [6]", 6}, {"-21 dBm [7]", 7},
    {"-24 dBm [8]", 8}};
constexpr Choice kLineRxBoost[] = {
    {"0 dB [0]", 0},    {"2.5 dB [1]", 1}, {"4.5 dB [2]", 2}, {"6 dB [3] (default)", 3},
    {"7.4 dB [4]", 4},  {"8.5 dB [5]", 5}, {"9.5 dB [6]", 6}, {"10.5 dB [7]", 7},
    {"11.3 dB [8]", 8}, {"12 dB [9]", 9}};
constexpr Choice kLineRxDelay[] = {{"10 ms [0]", 0}, {"22 ms [1]", 1}, {"35 ms [2] (default)", 2},
                                   {"47 ms [3]", 3}, {"60 ms [4]", 4}, {"72 ms [5]", 5},
                                   {"85 ms [6]", 6}, {"97 ms [7]", 7}};
// "Low" is stored and sent as 2.
constexpr Choice kLineVoxThreshold[] = {
    {"VOX Off [0]", 0}, {"Low [1] (default)", 2}, {"High [3]", 3}};
constexpr Choice kLineVoxHang[] = {
    {"0.5 sec [0]", 0}, {"1.0 sec [1] (default)", 1}, {"1.5 sec [2]", 2}, {"2.0 sec [3]", 3}};
constexpr Choice kLineType[] = {{"Normal [0] (default)", 1}, {"Satcom [1]", 0}};
constexpr Choice kTwoWireFourWire[] = {{"2 Wire [0] (default)", 0},
                                       {"4 Wire w/hybrid [1]", 1},
                                       {"4 Wire no hybrid [2]", 2},
                                       {"STU-III w/hybrid [3]", 3},
                                       {"STU-III no hybrid [4]", 4}};
constexpr Choice kDialMode[] = {{"Tone [0] (default)", 1}, {"Pulse [1]", 0}};
constexpr Choice kDialToneWait[] = {{"Don't wait [0]", 0},
                                    {"Wait before dialing [1] (default)", 1}};
constexpr Choice kLineTimeout[] = {{"None [0]", 0},  {"30 sec [1]", 1},
                                   {"1 min [2]", 2}, {"2 min [3] (default)", 3},
                                   {"5 min [4]", 4}, {"10 min [5]", 5}};
constexpr Choice kAutoAnswer[] = {{"Off [0]", 0}, {"On [1] (default)", 1}};

constexpr SettingRow kLineRows[] = {
    {1413, "Telephone Line Level", kw::RX_LEVEL, kLineLevel},
    {1415, "Telephone RX Boost", kw::TX_LEVEL, kLineRxBoost},
    {1409, "RX Audio Delay", kw::DELAY_TIME, kLineRxDelay},
    {1424, "VOX Threshold", kw::VMR_THRESH, kLineVoxThreshold, ShowRule::LineVoxThreshold},
    {1427, "VOX Hang Time", kw::VMR_HANG, kLineVoxHang},
    {1445, "DTMF Enable", kw::USER_CONTROL, kDtmfEnable, ShowRule::NonZero},
    {1443, "DTMF Mute Timer", kw::DTMF_MUTE_TIME, kDtmfMuteTime},
    {1444, "Security Level", kw::SECURITY_LEVEL, kSecurityLevel},
    {1418, "Type", kw::LINE_TYPE, kLineType, ShowRule::NonZero},
    {1420, "2 Wire / 4 Wire", kw::TWO_W_FOUR_W, kTwoWireFourWire},
    {1441, "Outgoing Ring Time", kw::CALLING_TIME, kCallingTime, ShowRule::ExactOrElse, 1},
    {1435, "Dialing Mode", kw::DIAL_MODE, kDialMode, ShowRule::NonZero},
    {1433, "Wait For Dial Tone", kw::DIAL_TONE_WAIT, kDialToneWait, ShowRule::NonZero},
    {1438, "Inactivity Timer", kw::LINE_TIMEOUT, kLineTimeout},
    {1437, "Auto Answer", kw::AUTO_ANS, kAutoAnswer, ShowRule::NonZero},
    {1412, "Voice Prompt Delay", kw::PROMPT_DELAY, kPromptDelayPhone},
};

// VOQ-3 signal processing.
constexpr Choice kVoqSquelchType[] = {
    {"COR [0]", vw::COR}, {"VMR [1]", vw::VMR}, {"VOX [2] (default)", vw::VOX}};
constexpr Choice kVoqHang[] = {{"175 ms (VMR 775 ms) [0]", 0},
                               {"375 ms (VMR 775 ms) [1]", 1},
                               {"575 ms (VMR 775 ms) [2]", 2},
                               {"775 ms [3] (default)", 3},
                               {"975 ms [4]", 4},
                               {"1175 ms [5]", 5},
                               {"1375 ms [6]", 6},
                               {"1575 ms [7]", 7}};
constexpr Choice kVoqThreshold[] = {
    {"Low [0]", 0}, {"Medium 1 [1] (default)", 1}, {"Medium 2 [2]", 2}, {"High [3]", 3}};
constexpr Choice kVoqRxDelay[] = {{"20 ms [0]", 0},  {"60 ms [1]", 1},  {"100 ms [2] (default)", 2},
                                  {"140 ms [3]", 3}, {"180 ms [4]", 4}, {"220 ms [5]", 5},
                                  {"260 ms [6]", 6}, {"300 ms [7]", 7}};
constexpr Choice kVoqTxDelay[] = {{"No Delay [0] (default)", 0},
                                  {"200 ms [1]", 1},
                                  {"400 ms [2]", 2},
                                  {"600 ms [3]", 3},
                                  {"800 ms [4]", 4}};
constexpr Choice kVoqDuplex[] = {{"Half [0] (default)", 0}, {"Full [1]", 1}};
constexpr Choice kRxSquelch[] = {{"Muted [0] (default)", 1}, {"Not Muted [1]", 0}};
constexpr Choice kEqualizer[] = {{"5.0 dB cut [1]", 1},   {"3.5 dB cut [2]", 2},
                                 {"2.0 dB cut [3]", 3},   {"Flat [4] (default)", 4},
                                 {"2.0 dB boost [5]", 5}, {"3.5 dB boost [6]", 6},
                                 {"5.0 dB boost [7]", 7}};
constexpr Choice kKeyingTones[] = {
    {"None [0] (default)", 0}, {"1950 Hz Continuous [1]", 1}, {"EIA (F1) [2]", 2}};
constexpr Choice kToneKeyAmp[] = {
    {"-6 dB [0]", 0}, {"-9 dB [1] (default)", 1}, {"-12 dB [2]", 2}, {"-15 dB [3]", 3}};
constexpr Choice kDtmfPreEmphasis[] = {{"Not Pre-emphasized [0]", 0},
                                       {"Pre-emphasized [1] (default)", 1}};

constexpr SettingRow kVoqRows[] = {
    {1401, "RX Level", kw::RX_LEVEL, kRxLevelRadio},
    {1404, "TX Level", kw::TX_LEVEL, kTxLevelRadio},
    {1402, "COR Squelch Type", kw::SQUELCH_TYPE, kVoqSquelchType},
    {1405, "COR Polarity", kw::COR_POLARITY, kCorPolarity, ShowRule::NonZero},
    {1406, "VOX/VMR Hang Time", kw::VMR_HANG, kVoqHang},
    {1407, "VOX/VMR Threshold", kw::VMR_THRESH, kVoqThreshold},
    {1409, "RX Audio Delay", kw::DELAY_TIME, kVoqRxDelay},
    {1410, "TX Audio Delay", kw::TRUNK_TYPE, kVoqTxDelay},
    {1408, "Duplex", kw::DUPLEX, kVoqDuplex, ShowRule::NonZero},
    {1411, "COR/PTT Priority", kw::PTT_PRIORITY, kPttPriority, ShowRule::NonZero},
    {1412, "Voice Prompt Delay", kw::PROMPT_DELAY, kPromptDelayRadio},
    {1421, "Mute When Squelched", kw::RX_SQUELCH, kRxSquelch, ShowRule::NonZero},
    {1419, "COR Inhibit Time After PTT", kw::COR_INHIBIT, kCorInhibit},
    {1423, "High Frequency Equalizer", kw::EQ, kEqualizer},
    {1430, "Noise Reduction Value", kw::PEAKER, kSecurityLevel},
    {1429, "COR Sampling", kw::COR_SAMPLING, kCorSampling, ShowRule::NonZero},
    {1426, "COR Sampling Initial Delay", kw::COR_SAMP_DELAY, kCorSampDelay},
    {1431, "COR Sampling Interval", kw::COR_SAMP_INTERVAL, kCorSampInterval},
    {1432, "COR Sampling Width", kw::COR_SAMP_WIDTH, kCorSampWidth},
    {1434, "TX Keying Tones", kw::KEYING_TONES, kKeyingTones},
    {1436, "Keying Tone Amplitude", kw::TONE_KEY_AMP, kToneKeyAmp},
    {1445, "DTMF Enable", kw::USER_CONTROL, kDtmfEnable, ShowRule::NonZero},
    {1440, "DTMF Pre-emphasis", kw::OP, kDtmfPreEmphasis},
    {1443, "DTMF Mute Timer", kw::DTMF_MUTE_TIME, kDtmfMuteTime},
    {1444, "Security Level", kw::SECURITY_LEVEL, kSecurityLevel},
};

// HK-6 local phone.
constexpr Choice kHkRxDelay[] = {{"10 ms [0]", 0},  {"35 ms [1]", 1},  {"60 ms [2] (default)", 2},
                                 {"85 ms [3]", 3},  {"110 ms [4]", 4}, {"135 ms [5]", 5},
                                 {"160 ms [6]", 6}, {"185 ms [7]", 7}};
constexpr Choice kHkVoxThreshold[] = {
    {"VOX Off [0]", 0}, {"Low [1]", 1}, {"Medium [2] (default)", 2}, {"High [3]", 3}};
constexpr Choice kHkVoxHang[] = {
    {"10 ms [0]", 0}, {"750 ms [1] (default)", 1}, {"1.5 sec [2]", 2}, {"2.25 sec [3]", 3}};
constexpr Choice kRingCadence[] = {{"USA Style [0] (default)", 1}, {"European Style [1]", 0}};
constexpr Choice kEnabledByDefault[] = {{"Disabled [0]", 0}, {"Enabled [1] (default)", 1}};

constexpr SettingRow kHkRows[] = {
    {1409, "RX Audio Delay", kw::DELAY_TIME, kHkRxDelay},
    {1416, "VOX Threshold", kw::VMR_THRESH, kHkVoxThreshold, ShowRule::ExactOrElse, 0},
    {1417, "VOX Hangtime", kw::VMR_HANG, kHkVoxHang},
    {1445, "DTMF Enable", kw::USER_CONTROL, kDtmfEnable, ShowRule::NonZero},
    {1443, "DTMF Mute Timer", kw::DTMF_MUTE_TIME, kDtmfMuteTime},
    {1444, "Security Level", kw::SECURITY_LEVEL, kSecurityLevel},
    {1422, "Ring Cadence", kw::RING_CADENCE, kRingCadence, ShowRule::NonZero},
    {1425, "Dial Tone Enable", kw::DIAL_TONE_ENABLE, kEnabledByDefault, ShowRule::NonZero},
    {1428, "Ringback Enable", kw::RINGBACK_ENABLE, kEnabledByDefault, ShowRule::NonZero},
    {1441, "Outgoing Ring Time", kw::CALLING_TIME, kCallingTime},
    {1412, "Voice Prompt Delay", kw::PROMPT_DELAY, kPromptDelayPhone},
};

// Enabled-state rules.
constexpr int kDtmfDependents[] = {1443, 1444};
constexpr int kVoqDtmfDependents[] = {1443, 1444, 1440};
constexpr int kPttPriorityList[] = {1411};
constexpr int kCorSamplingDependents[] = {1426, 1431, 1432};
constexpr int kCorPolarityList[] = {1405};
constexpr int kVoxLists[] = {1406, 1407};
constexpr int kToneAmplitudeList[] = {1436};

bool dtmf_enabled(const ModuleSettings& s) {
  return s.user_control != 0;
}
bool half_duplex(const ModuleSettings& s) {
  return s.duplex == 0;
}
bool cor_sampling_on(const ModuleSettings& s) {
  return s.cor_sampling != 0;
}
bool cor_squelch(const ModuleSettings& s) {
  return s.squelch_type == vw::COR;
}
bool not_cor_squelch(const ModuleSettings& s) {
  return s.squelch_type != vw::COR;
}
bool continuous_keying_tone(const ModuleSettings& s) {
  return s.keying_tones == 1;
}

constexpr EnableRule kTovRules[] = {
    {kPttPriorityList, half_duplex},
    {kCorSamplingDependents, cor_sampling_on},
    {kDtmfDependents, dtmf_enabled},
};
constexpr EnableRule kPhoneRules[] = {{kDtmfDependents, dtmf_enabled}};
constexpr EnableRule kVoqRules[] = {
    {kPttPriorityList, half_duplex},    {kCorSamplingDependents, cor_sampling_on},
    {kVoqDtmfDependents, dtmf_enabled}, {kCorPolarityList, cor_squelch},
    {kVoxLists, not_cor_squelch},       {kToneAmplitudeList, continuous_keying_tone},
};

// Dialog groups, top to bottom. 1348/1352 are Hang Up and Dial...; 1349, 1353, 1354, 1356 and
// 1439 the VOQ-3 template buttons, help buttons and template name field.
constexpr int kTovLevels[] = {1401, 1404};
constexpr int kTovMisc[] = {1408, 1411, 1405, 1419, 1403, 1412};
constexpr int kTovCorSampling[] = {1429, 1426, 1432, 1431};
constexpr int kDtmf[] = {1445, 1443, 1444};
constexpr DialogGroup kTovGroups[] = {{"Audio Levels", kTovLevels},
                                      {"Miscellaneous", kTovMisc},
                                      {"COR Sampling", kTovCorSampling},
                                      {"DTMF", kDtmf}};

constexpr int kMekLists[] = {1414, 1412};
constexpr DialogGroup kMekGroups[] = {{"", kMekLists}};

constexpr int kLineLevels[] = {1413, 1415};
constexpr int kLineTelephone[] = {1418, 1420};
constexpr int kLineVox[] = {1409, 1424, 1427};
constexpr int kLineDialRing[] = {1441, 1435, 1433};
constexpr int kLineMisc[] = {1438, 1437, 1412};
constexpr int kLineButtons[] = {1348, 1352};
constexpr DialogGroup kLineGroups[] = {{"Audio Levels", kLineLevels},
                                       {"Telephone", kLineTelephone},
                                       {"VOX", kLineVox},
                                       {"Dial/Ring", kLineDialRing},
                                       {"DTMF", kDtmf},
                                       {"Miscellaneous", kLineMisc},
                                       {"Telephone Line", kLineButtons}};

constexpr int kVoqTemplate[] = {1349, 1353, 1439, 1354, 1356};
constexpr int kVoqSquelch[] = {1402, 1405, 1406, 1407};
constexpr int kVoqDelay[] = {1409, 1410};
constexpr int kVoqMisc[] = {1408, 1411, 1412, 1421, 1419};
constexpr int kVoqProcessing[] = {1423, 1430};
constexpr int kVoqCorSampling[] = {1429, 1426, 1431, 1432};
constexpr int kVoqKeying[] = {1434, 1436};
constexpr int kVoqDtmf[] = {1445, 1440, 1443, 1444};
constexpr DialogGroup kVoqGroups[] = {{"Template", kVoqTemplate},
                                      {"Audio Levels", kTovLevels},
                                      {"Squelch Type", kVoqSquelch},
                                      {"Audio Delay", kVoqDelay},
                                      {"Miscellaneous", kVoqMisc},
                                      {"Audio Processing", kVoqProcessing},
                                      {"COR Sampling", kVoqCorSampling},
                                      {"Keying Tones", kVoqKeying},
                                      {"DTMF", kVoqDtmf}};

constexpr int kHkVox[] = {1409, 1416, 1417};
constexpr int kHkDialRing[] = {1422, 1425, 1428, 1441};
constexpr int kHkMisc[] = {1412};
constexpr DialogGroup kHkGroups[] = {
    {"VOX", kHkVox}, {"DTMF", kDtmf}, {"Dial/Ring", kHkDialRing}, {"Miscellaneous", kHkMisc}};

// The writer's order per module; PROMPT_DELAY goes last so its reply tells an open dialog that
// the gateway has answered everything.
constexpr int kTovOrder[] = {kw::RADIO_TYPE,     kw::DUPLEX,         kw::COR_POLARITY,
                             kw::COR_SAMPLING,   kw::USER_CONTROL,   kw::PTT_PRIORITY,
                             kw::SECURITY_LEVEL, kw::RX_LEVEL,       kw::TX_LEVEL,
                             kw::DTMF_MUTE_TIME, kw::COR_SAMP_DELAY, kw::COR_SAMP_INTERVAL,
                             kw::COR_SAMP_WIDTH, kw::COR_INHIBIT,    kw::PROMPT_DELAY};
constexpr int kMekOrder[] = {kw::PROMPT_DELAY};
constexpr int kLineOrder[] = {
    kw::DTMF_MUTE_TIME, kw::DELAY_TIME, kw::VMR_THRESH,   kw::VMR_HANG,
    kw::LINE_TIMEOUT,   kw::LINE_TYPE,  kw::DIAL_MODE,    kw::DIAL_TONE_WAIT,
    kw::USER_CONTROL,   kw::AUTO_ANS,   kw::CALLING_TIME, kw::SECURITY_LEVEL,
    kw::RX_LEVEL,       kw::TX_LEVEL,   kw::TWO_W_FOUR_W, kw::PROMPT_DELAY};
constexpr int kVoqOrder[] = {kw::DTMF_MUTE_TIME, kw::COR_SAMP_DELAY, kw::COR_SAMP_INTERVAL,
                             kw::COR_SAMP_WIDTH, kw::COR_INHIBIT,    kw::KEYING_TONES,
                             kw::TONE_KEY_AMP,   kw::PEAKER,         kw::EQ,
                             kw::DELAY_TIME,     kw::TRUNK_TYPE,     kw::PTT_PRIORITY,
                             kw::DUPLEX,         kw::COR_POLARITY,   kw::COR_SAMPLING,
                             kw::USER_CONTROL,   kw::RX_SQUELCH,     kw::SECURITY_LEVEL,
                             kw::RX_LEVEL,       kw::TX_LEVEL,       kw::SQUELCH_TYPE,
                             kw::VMR_THRESH,     kw::VMR_HANG,       kw::OP,
                             kw::PROMPT_DELAY};
constexpr int kHkOrder[] = {kw::SECURITY_LEVEL,   kw::DTMF_MUTE_TIME,  kw::DELAY_TIME,
                            kw::RX_LEVEL,         kw::VMR_THRESH,      kw::VMR_HANG,
                            kw::DB_TONE,          kw::USER_CONTROL,    kw::CALLING_TIME,
                            kw::DIAL_TONE_ENABLE, kw::RINGBACK_ENABLE, kw::RING_CADENCE,
                            kw::PROMPT_DELAY};

constexpr int kTemplateButtons[] = {1349, 1353};
constexpr int kLineTemplateButtons[] = {1355, 1353};

constexpr std::array kModules = {
    ModuleTable{MOD_TOV5, "Dlg_TOV", "TOV-5 Module Settings", "Port %.2d -- TOV-5 Module Settings",
                445, 274, kTovRows, kTovGroups, kTemplateButtons, kTovRules, kTovOrder},
    ModuleTable{MOD_MEK4,
                "Dlg_MEK",
                "MEK Module Settings",
                "Port %.2d -- MEK Module Settings",
                445,
                104,
                kMekRows,
                kMekGroups,
                {},
                {},
                kMekOrder},
    ModuleTable{MOD_LINE7, "Dlg_LINE", "LINE-7 Module Settings",
                "Port %.2d -- LINE-7 Module Settings", 445, 324, kLineRows, kLineGroups,
                kLineTemplateButtons, kPhoneRules, kLineOrder},
    ModuleTable{MOD_VOQ3,
                "Dlg_VOQ3_800",
                "VOQ-3 Module Settings",
                "Port %.2d -- VOQ-3 Module Settings",
                446,
                331,
                kVoqRows,
                kVoqGroups,
                {},
                kVoqRules,
                kVoqOrder},
    ModuleTable{MOD_HK6, "Dlg_HK", "HK-6 Module Settings", "Port %.2d -- HK-6 Module Settings", 445,
                235, kHkRows, kHkGroups, kTemplateButtons, kPhoneRules, kHkOrder},
};

std::optional<int> position_storing(const SettingRow& row, std::uint32_t value) {
  const auto found = std::find_if(row.choices.begin(), row.choices.end(),
                                  [value](const Choice& c) { return c.stored == value; });
  if (found == row.choices.end()) return std::nullopt;
  return static_cast<int>(found - row.choices.begin());
}

}  // namespace

const ModuleTable* module_table(std::uint32_t mod_type) {
  for (const ModuleTable& table : kModules) {
    if (table.mod_type == mod_type) return &table;
  }
  return nullptr;
}

const SettingRow* find_row(const ModuleTable& table, int control_id) {
  for (const SettingRow& row : table.rows) {
    if (row.control_id == control_id) return &row;
  }
  return nullptr;
}

std::optional<int> shown_position(const SettingRow& row, std::uint32_t value) {
  switch (row.rule) {
    case ShowRule::NonZero:
      for (std::size_t i = 0; i < row.choices.size(); ++i) {
        if ((row.choices[i].stored != 0) == (value != 0)) return static_cast<int>(i);
      }
      return std::nullopt;
    case ShowRule::ExactOrElse:
      return position_storing(row, value).value_or(row.fallback);
    case ShowRule::LineVoxThreshold:
      if (value == 0 || value == 9) return 0;
      return value == 3 ? 2 : 1;
    case ShowRule::Exact:
      break;
  }
  return position_storing(row, value);
}

std::uint32_t read_back(const SettingRow& row, std::optional<int> position, std::uint32_t current) {
  if (!position || *position < 0 || static_cast<std::size_t>(*position) >= row.choices.size()) {
    return current;
  }
  return row.choices[static_cast<std::size_t>(*position)].stored;
}

std::optional<int> shown_position(const SettingRow& row, const ModuleSettings& settings) {
  const auto value = read_setting(settings, row.keyword);
  if (!value) return std::nullopt;
  return shown_position(row, *value);
}

void store_position(const SettingRow& row, std::optional<int> position, ModuleSettings& settings) {
  if (const auto value = read_setting(settings, row.keyword)) {
    store_setting(settings, row.keyword, read_back(row, position, *value));
  }
}

}  // namespace mav
