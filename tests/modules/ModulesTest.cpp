// The modules' settings and numbers: the settings dialog's table of stored values and entries,
// the lines a full send or a change sends in the gateway's words, the template files on disk and
// their loading, and the phone book and dial session of a LINE-7 port.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "modules/DialSession.h"
#include "modules/ModuleSettingsTable.h"
#include "modules/ModuleTemplates.h"
#include "modules/PhoneBook.h"
#include "modules/SettingsWriter.h"
#include "modules/TemplateFile.h"
#include "protocol/RecordingSender.h"
#include "support/FakeClock.h"
#include "support/FileBytes.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using test::Bytes;

// Rows are {module type, control id, ...}.
const SettingRow* row_of(const int (&row)[5]) {
  const ModuleTable* table = module_table(static_cast<std::uint32_t>(row[0]));
  return table ? find_row(*table, row[1]) : nullptr;
}

TEST(ModuleSettingsTable, AStoredValueShowsItsEntry) {
  // {type, id, stored value, entry shown (-1: none)}. TOV-5: Rx Level, Tx Level, Duplex (Full [0]
  // second), Radio Type (anything but 0 is Motorola), Security Level, COR Polarity. MEK-4:
  // handset Squelch Type, Voice Prompt Delay. LINE-7: Telephone Line Level, VOX Threshold (0 and
  // 9 off, 3 high, else low), Outgoing Ring Time (unknown shows 60 sec), Type, 2 Wire / 4 Wire.
  // VOQ-3: COR Squelch Type (NOISE not offered), High Frequency Equalizer, Noise Reduction Value,
  // VOX/VMR Hang Time, Mute When Squelched. HK-6: VOX Threshold, Outgoing Ring Time, Ring Cadence.
  const int rows[][5] = {
      // clang-format off
      {1, 1401, 3, 3}, {1, 1404, 6, 6}, {1, 1408, 1, 1}, {1, 1403, 4, 1}, {1, 1444, 10, -1},
      {1, 1405, 0, 1}, {2, 1414, 18, 1}, {2, 1412, 0, 0}, {3, 1413, 9, -1}, {3, 1424, 9, 0},
      {3, 1424, 0, 0}, {3, 1424, 1, 1}, {3, 1424, 3, 2}, {3, 1441, 7, 1}, {3, 1418, 0, 1},
      {3, 1420, 0, 0}, {4, 1402, 16, -1}, {4, 1423, 4, 3}, {4, 1430, 9, 9}, {4, 1406, 3, 3},
      {4, 1421, 1, 0}, {5, 1416, 7, 0}, {5, 1441, 7, -1}, {5, 1422, 1, 0},
      // clang-format on
  };
  for (const auto& row : rows) {
    ASSERT_NE(row_of(row), nullptr) << row[0] << "/" << row[1];
    EXPECT_EQ(shown_position(*row_of(row), row[2]).value_or(-1), row[3]) << row[0] << "/" << row[1];
  }
}

TEST(ModuleSettingsTable, AChosenEntryStoresItsValueAndNoChoiceKeepsTheOld) {
  // {type, id, position (-1: none), value before, value stored}: Half, Motorola, LINE-7 Low, 60 sec
  // (word "1"), equalizer (position + 1), COR Squelch Type (NOISE kept, COR, past the end), Mic.
  const int rows[][5] = {
      // clang-format off
      {1, 1408, 0, 1, 0}, {1, 1403, 1, 3, 9}, {3, 1424, 1, 1, 2}, {3, 1441, 2, 1, 2},
      {4, 1423, 0, 4, 1}, {4, 1402, -1, 16, 16}, {4, 1402, 0, 18, 14}, {4, 1402, 3, 18, 18},
      {2, 1414, 0, 18, 24},
      // clang-format on
  };
  for (const auto& row : rows) {
    ASSERT_NE(row_of(row), nullptr) << row[0] << "/" << row[1];
    const std::optional<int> position = row[2] < 0 ? std::nullopt : std::optional<int>(row[2]);
    EXPECT_EQ(read_back(*row_of(row), position, row[3]), row[4]) << row[0] << "/" << row[1];
  }
  EXPECT_TRUE(module_table(0) == nullptr && module_table(6) == nullptr);
}

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
  std::string sent;
  for (const auto& [port, requested, reported] :
       {std::tuple{0, 24, -1}, {0, 18, 24}, {0, 18, 18}, {0, -1, 24}, {5, 24, 18}}) {
    WriterRig rig;
    rig.session.mek_squelch_type = reported;
    rig.writer.request_mek_squelch(requested);
    PortRecord believed = distinct_record(2);
    rig.writer.WriteModuleSettings(port, believed, &believed);
    sent += rig.sent() + "|";
  }
  EXPECT_EQ(sent, "MEK_SQUELCH_TYPE MIC\r|MEK_SQUELCH_TYPE VOX\r||||");
}

TEST(TemplateFile, SavedBytesAreTheFormatNumberAndTheRecordImage) {
  PortRecord record{};
  record.mod_type = MOD_TOV5;
  record.settings.radio_type = 9;
  std::strcpy(record.port_name, "North");
  const Bytes bytes = EncodeTemplate(record);
  ASSERT_EQ(bytes.size(), 628u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0xE9, 0x03, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(std::to_string(bytes[4 + 70]) + test::get_text(bytes, 4 + 88), "9North");
}

TEST(TemplateFile, AnOldFileHoldsTheRecordAloneWithSomeSettingsOnePlaceOff) {
  using S = ModuleSettings;
  const struct {
    std::size_t old_offset;
    std::uint8_t value;
    std::uint8_t S::*field;
    std::uint8_t expected;
  } rows[] = {
      // clang-format off
      {81, 9, &S::radio_type, 9},      {81, 9, &S::trunk_type, 9},    {70, 1, &S::ringback_enable, 1},
      {71, 7, &S::rx_level, 7},        {72, 1, &S::rx_squelch, 1},    {82, 5, &S::tx_level, 5},
      {83, 1, &S::user_control, 1},    {84, 2, &S::ring_cadence, 2},  {85, 3, &S::vmr_thresh, 3},
      {86, 4, &S::vmr_hang, 4},        {80, 1, &S::dial_mode, 1},     {67, 6, &S::line_type, 1},
      {61, 8, &S::tone_key_amp, 8},    {74, 3, &S::security_level, 0}, {75, 3, &S::reserved1, 0},
      // clang-format on
  };
  for (const auto& row : rows) {
    Bytes old(624, 0);
    old[0] = MOD_TOV5;
    old[row.old_offset] = row.value;
    const PortRecord record = DecodeTemplate(old);
    EXPECT_EQ(std::pair(record.mod_type, record.settings.*row.field),
              std::pair(std::uint32_t{MOD_TOV5}, row.expected))
        << "old offset " << row.old_offset;
  }
  // Short files read as far as they go; calling time and squelch type keep their places.
  Bytes old(80, 0);
  old[0] = MOD_VOQ3;
  test::put_i32(old, 44, 300);
  test::put_i32(old, 76, 2);
  const PortRecord record = DecodeTemplate(old);
  EXPECT_EQ(std::tuple(record.settings.calling_time, record.settings.squelch_type,
                       DecodeTemplate(Bytes{0xE9, 0x03, 0, 0, 5}).mod_type,
                       DecodeTemplate(Bytes{}).mod_type),
            std::tuple(300u, 2u, std::uint32_t{MOD_HK6}, std::uint32_t{MOD_NONE}));
}

// Template files for the ports, with the operator's side of the file dialogs and boxes
// answered from a script.
struct TemplateRig final : ModuleFilePrompts, TemplateNames {
  std::optional<std::filesystem::path> choose_file(const FileRequest& request) override {
    folder = request.folder;
    return chosen;
  }
  void tell(const MessageBoxRequest& box) override { told += box.text; }
  bool ask_ok_cancel(const MessageBoxRequest& box) override {
    question = box.caption + ": " + box.text;
    return answer_ok;
  }
  void set_template_name(int port, const std::string& title) override { names[port] = title; }

  std::optional<std::filesystem::path> chosen;
  bool answer_ok = true;
  std::filesystem::path folder;
  std::string told;
  std::string question;
  std::map<int, std::string> names;
  test::ScratchDirectory dir;
  test::RecordingSender sender;
  SessionState session;
  SettingsWriter writer{sender, session};
  ModuleTemplates templates{TemplateParts{writer, *this, *this, dir.path()}};
};

PortRecord voq_record(std::uint8_t security_level, std::uint8_t op, const char* name) {
  PortRecord record{};
  record.mod_type = MOD_VOQ3;
  record.settings.security_level = security_level;
  record.settings.op = op;
  record.settings.tx_level = 12;
  std::strcpy(record.port_name, name);
  return record;
}

TEST(ModuleTemplates, AVoqTemplateLoadedIntoAnotherVoqSendsEveryLineWithTheTargetsSecurityLevel) {
  TemplateRig rig;
  rig.chosen = rig.dir / "missing-folder" / "x.mod";
  EXPECT_FALSE(rig.templates.SaveTemplate(2, voq_record(1, 1, "")));
  rig.chosen = rig.dir / "Templates" / "Tower.mod";
  const PortRecord source = voq_record(3, 17, "Tower");
  ASSERT_EQ(rig.templates.SaveTemplate(4, source), "Tower.mod");
  EXPECT_EQ(std::tuple(rig.told, rig.names, rig.folder),
            std::tuple("Template file could not be opened",
                       std::map<int, std::string>{{4, "Tower.mod"}}, rig.dir / "Templates"));
  EXPECT_EQ(test::read_bytes(rig.dir / "Templates" / "Tower.mod"), EncodeTemplate(source));

  PortRecord target = voq_record(7, 0, "Valley");
  EXPECT_FALSE(rig.templates.TakeLoadedTemplateName(9));
  ASSERT_TRUE(rig.templates.LoadTemplate(9, target));
  EXPECT_NE(rig.question.find("Please Note: Loading a template will overwrite the current module "
                              "settings.\rYou may want to save the current settings before "
                              "proceeding.\r\rProper usage of templates from Orvane"),
            std::string::npos);
  const auto lines = rig.sender.lines();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[17] + lines[19] + lines[23] + lines[24],
            "SECURITY_LEVEL 09 7\rTX_LEVEL 09 12\rOP 09 17\rPROMPT_DELAY 09 0\r");
  EXPECT_EQ(std::tuple(std::string(target.port_name), int{target.settings.op},
                       int{target.settings.security_level}),
            std::tuple("Valley", 17, 7));
  EXPECT_EQ(rig.templates.TakeLoadedTemplateName(9).value_or("") + rig.names[9],
            "Tower.modTower.mod");
  rig.templates.forget_loaded_template();
  EXPECT_FALSE(rig.templates.TakeLoadedTemplateName(9));
}

TEST(ModuleTemplates, EveryRefusedLoadSendsNothingAndKeepsTheWorkingCopy) {
  // What the operator is told when a load into an HK-6 ends early.
  const auto refused = [](bool answer_ok, bool choose, bool file_exists, std::uint32_t type) {
    TemplateRig rig;
    rig.answer_ok = answer_ok;
    if (choose) rig.chosen = rig.dir / "Radio.mod";
    PortRecord radio{};
    radio.mod_type = type;
    radio.settings.tx_level = 40;
    if (file_exists) test::write_bytes(rig.dir / "Radio.mod", EncodeTemplate(radio));
    PortRecord phone{};
    phone.mod_type = MOD_HK6;
    EXPECT_FALSE(rig.templates.LoadTemplate(3, phone));
    EXPECT_TRUE(rig.sender.lines().empty());
    EXPECT_EQ(phone.settings.tx_level, 0);
    EXPECT_NE(rig.question.find("proceeding.\r\rClick OK to continue loading template."),
              std::string::npos);
    return rig.told;
  };
  // Cancelled, no file chosen, no such file, another module's template.
  EXPECT_EQ(refused(false, true, true, MOD_HK6) + "|" + refused(true, false, true, MOD_HK6) + "|" +
                refused(true, true, false, MOD_HK6) + "|" + refused(true, true, true, MOD_TOV5),
            "||The template file could not be opened|The template file is the wrong module type");
}

TEST(PhoneBook, AddCutsTheNumberRefusesTheFiftyFirstAndRemoveMovesTheLastIntoTheGap) {
  PhoneBook book;
  EXPECT_TRUE(AddToPhoneBook(book, "123456789012345678901234567890", "Dispatch"));
  EXPECT_EQ(book.back(), (DialEntry{"123456789012345678901", "Dispatch"}));
  for (int i = 1; i < 50; ++i) AddToPhoneBook(book, "1", "entry " + std::to_string(i));
  EXPECT_FALSE(AddToPhoneBook(book, "5551234", "Fifty-first") ||
               RemoveFromPhoneBook(book, "entry"));
  EXPECT_TRUE(RemoveFromPhoneBook(book, "Dispatch"));
  EXPECT_TRUE(RemoveFromPhoneBook(book, "entry 48"));  // the last, just moved: nothing moves
  ASSERT_EQ(book.size(), 48u);
  EXPECT_EQ(book.front().description + "," + book[1].description + "," + book.back().description,
            "entry 49,entry 1,entry 47");

  // A description beyond ASCII is cut whole and found again.
  book.clear();
  ASSERT_TRUE(AddToPhoneBook(book, "1", "Zentrale Müllerstraße 5"));
  EXPECT_EQ(std::pair(book[0].description, FindDescription(book, "Zentrale Müllerstra")),
            std::pair(std::string("Zentrale Müllerstra"), std::optional<std::size_t>(0)));
  EXPECT_TRUE(RemoveFromPhoneBook(book, "Zentrale Müllerstra"));
}

// The lines sent, each with the port's DISCH step when it left: the worker may read the gateway's
// answer before the sending thread runs on, so the step must be stored first.
class StepAtSend final : public LineSender {
 public:
  explicit StepAtSend(const DeviceModel& model) : model_(model) {}
  bool send_line(std::string_view text, bool) override {
    PortRecord record;
    model_.GetPort(4, record);
    sent += std::string(text) + (record.disch_step ? "@" + std::to_string(record.disch_step) : "");
    return true;
  }
  std::string sent;

 private:
  const DeviceModel& model_;
};

// A LINE-7 in port 04, on hook or off, two-wire or four-wire.
struct DialRig {
  DialRig(std::uint8_t on_hook, std::uint8_t two_w_four_w) {
    PortRecord line{};
    line.mod_type = MOD_LINE7;
    line.settings.on_hook = on_hook;
    line.settings.two_w_four_w = two_w_four_w;
    model.SetPort(4, line);
  }

  test::ScratchDirectory dir;
  test::FakeClock clock;
  DeviceModel model;
  StepAtSend sender{model};
  EventLog log{dir / "Logs", clock};
  DialSession session{DialParts{model, sender, log, clock}, 4};
};

TEST(DialSession, SendsTheDialLineOnlyForAnIdleLineWithANumberAndLogsIt) {
  const auto dial = [](std::uint8_t on_hook, const char* number, int line, bool no_number) {
    DialRig rig(on_hook, 0);
    const DialOutcome outcome = rig.session.dial(number, line, no_number);
    if (outcome == DialOutcome::LineBusy) return "busy " + rig.sender.sent;
    return (outcome == DialOutcome::NumberMissing ? "no number " : "") + rig.sender.sent;
  };
  EXPECT_EQ(dial(1, "5551234", 1, false) + dial(1, "5551234", 2, false) +
                dial(1, "5551234", 2, true) + dial(1, "", 1, true) + "|" + dial(1, "", 1, false) +
                "|" + dial(0, "5551234", 1, false),
            "DIAL 04 5551234 1\rDIAL 04 5551234 2\rDIAL 04 ! 2\rDIAL 04 ! 1\r|no number |busy ");

  DialRig rig(1, 0);
  rig.session.dial("911", 2, false);
  EXPECT_NE(test::file_text(rig.dir / "Logs" / "MAVPCI1.log").find("  04 dialed 911 on line 2\n"),
            std::string::npos);
  EXPECT_EQ(rig.session.caption(), "LINE Dial on port 04");
}

TEST(DialSession, GivingUpDisconnectsAnIdleTwoWireLineAndWarnsOfABusyOneOnTimeOut) {
  const auto give_up = [](std::uint8_t on_hook, std::uint8_t two_w_four_w, bool time_ran_out) {
    DialRig rig(on_hook, two_w_four_w);
    const bool warn = rig.session.give_up(time_ran_out);
    PortRecord record;
    rig.model.GetPort(4, record);
    return (warn ? "warn " : "") + rig.sender.sent + std::to_string(record.disch_step);
  };
  EXPECT_EQ(give_up(1, 0, true) + "|" + give_up(1, 0, false) + "|" + give_up(1, 1, true) + "|" +
                give_up(0, 0, true) + "|" + give_up(0, 0, false),
            "DISC_S 04\r@99|DISC_S 04\r@99|0|warn 0|0");
}

}  // namespace
}  // namespace mav
