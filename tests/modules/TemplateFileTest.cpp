#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "modules/ModuleTemplates.h"
#include "modules/TemplateFile.h"
#include "protocol/RecordingSender.h"
#include "support/FileBytes.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using test::Bytes;

TEST(TemplateFile, SavedBytesAreTheFormatNumberAndTheRecordImage) {
  PortRecord record{};
  record.mod_type = MOD_TOV5;
  record.settings.radio_type = 9;
  std::strcpy(record.port_name, "North");
  const Bytes bytes = EncodeTemplate(record);
  ASSERT_EQ(bytes.size(), 628u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0xE9, 0x03, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(bytes[4 + 70], 9);
  EXPECT_EQ(test::get_text(bytes, 4 + 88), "North");
}

// An old file holds the record alone, with some settings one place off. Each row puts a value at
// an old offset and reads it back from the field it belongs to now.
struct LegacyCase {
  std::size_t old_offset;
  std::uint8_t value;
  std::uint8_t ModuleSettings::*field;
  std::uint8_t expected;
};

class LegacyTemplate : public testing::TestWithParam<LegacyCase> {};

TEST_P(LegacyTemplate, SettingMovesToItsCurrentPlace) {
  Bytes old(624, 0);
  old[0] = MOD_TOV5;
  old[GetParam().old_offset] = GetParam().value;
  const PortRecord record = DecodeTemplate(old);
  EXPECT_EQ(record.mod_type, MOD_TOV5);
  EXPECT_EQ(record.settings.*GetParam().field, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Offsets, LegacyTemplate,
                         testing::Values(LegacyCase{81, 9, &ModuleSettings::radio_type, 9},
                                         LegacyCase{81, 9, &ModuleSettings::trunk_type, 9},
                                         LegacyCase{70, 1, &ModuleSettings::ringback_enable, 1},
                                         LegacyCase{71, 7, &ModuleSettings::rx_level, 7},
                                         LegacyCase{72, 1, &ModuleSettings::rx_squelch, 1},
                                         LegacyCase{82, 5, &ModuleSettings::tx_level, 5},
                                         LegacyCase{83, 1, &ModuleSettings::user_control, 1},
                                         LegacyCase{84, 2, &ModuleSettings::ring_cadence, 2},
                                         LegacyCase{85, 3, &ModuleSettings::vmr_thresh, 3},
                                         LegacyCase{86, 4, &ModuleSettings::vmr_hang, 4},
                                         LegacyCase{80, 1, &ModuleSettings::dial_mode, 1},
                                         LegacyCase{67, 6, &ModuleSettings::line_type, 1},
                                         LegacyCase{61, 8, &ModuleSettings::tone_key_amp, 8},
                                         LegacyCase{74, 3, &ModuleSettings::security_level, 0},
                                         LegacyCase{75, 3, &ModuleSettings::reserved1, 0}));

TEST(TemplateFile, ShortAndForeignFilesReadAsFarAsTheyGo) {
  // Calling time and squelch type keep their places in an old file.
  Bytes old(80, 0);
  old[0] = MOD_VOQ3;
  test::put_i32(old, 44, 300);
  test::put_i32(old, 76, 2);
  PortRecord record = DecodeTemplate(old);
  EXPECT_EQ(record.settings.calling_time, 300u);
  EXPECT_EQ(record.settings.squelch_type, 2u);
  EXPECT_EQ(record.settings.vmr_hang, 0);

  record = DecodeTemplate(Bytes{0xE9, 0x03, 0, 0, 5});
  EXPECT_EQ(record.mod_type, MOD_HK6);
  EXPECT_EQ(DecodeTemplate(Bytes{}).mod_type, MOD_NONE);
}

// The operator's side of the file dialogs and boxes, answered from a script.
class ScriptedPrompts final : public ModuleFilePrompts {
 public:
  std::optional<std::filesystem::path> choose_file(const FileRequest& request) override {
    requests.push_back(request);
    return chosen;
  }
  void tell(const MessageBoxRequest& box) override { told.push_back(box.text); }
  bool ask_ok_cancel(const MessageBoxRequest& box) override {
    asked.push_back(box);
    return answer_ok;
  }

  std::optional<std::filesystem::path> chosen;
  bool answer_ok = true;
  std::vector<FileRequest> requests;
  std::vector<std::string> told;
  std::vector<MessageBoxRequest> asked;
};

class NameRecorder final : public TemplateNames {
 public:
  void set_template_name(int port, const std::string& title) override { names[port] = title; }
  std::map<int, std::string> names;
};

struct TemplateRig {
  test::ScratchDirectory dir;
  test::RecordingSender sender;
  SessionState session;
  SettingsWriter writer{sender, session};
  ScriptedPrompts prompts;
  NameRecorder names;
  ModuleTemplates templates{TemplateParts{writer, prompts, names, dir.path()}};
};

PortRecord voq_record(std::uint8_t security_level, std::uint8_t op) {
  PortRecord record{};
  record.mod_type = MOD_VOQ3;
  record.settings.security_level = security_level;
  record.settings.op = op;
  record.settings.tx_level = 12;
  return record;
}

TEST(ModuleTemplates, VoqTemplateIntoAnotherVoqSendsEveryLineWithTheTargetsSecurityLevel) {
  TemplateRig rig;
  rig.prompts.chosen = rig.dir / "Templates" / "Tower.mod";
  PortRecord source = voq_record(3, 17);
  std::strcpy(source.port_name, "Tower");
  ASSERT_EQ(rig.templates.SaveTemplate(4, source), "Tower.mod");
  EXPECT_EQ(rig.names.names[4], "Tower.mod");
  EXPECT_EQ(test::read_bytes(rig.dir / "Templates" / "Tower.mod"), EncodeTemplate(source));
  EXPECT_EQ(rig.prompts.requests.at(0).title, "Save Template");
  EXPECT_EQ(rig.prompts.requests.at(0).folder, rig.dir / "Templates");

  PortRecord target = voq_record(7, 0);
  std::strcpy(target.port_name, "Valley");
  EXPECT_FALSE(rig.templates.TakeLoadedTemplateName(9));
  ASSERT_TRUE(rig.templates.LoadTemplate(9, target));
  EXPECT_EQ(rig.prompts.asked.at(0).caption, "Please Note");
  EXPECT_NE(rig.prompts.asked.at(0).text.find("\r\rProper usage of templates from Orvane"),
            std::string::npos);
  const auto lines = rig.sender.lines();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[17], "SECURITY_LEVEL 09 7\r");
  EXPECT_EQ(lines[19], "TX_LEVEL 09 12\r");
  EXPECT_EQ(lines[23], "OP 09 17\r");
  EXPECT_EQ(lines[24], "PROMPT_DELAY 09 0\r");
  EXPECT_STREQ(target.port_name, "Valley");
  EXPECT_EQ(target.settings.op, 17);
  EXPECT_EQ(target.settings.security_level, 7);

  EXPECT_EQ(rig.templates.TakeLoadedTemplateName(9), "Tower.mod");
  EXPECT_EQ(rig.names.names[9], "Tower.mod");
  rig.templates.forget_loaded_template();
  EXPECT_FALSE(rig.templates.TakeLoadedTemplateName(9));
}

// Every way a load ends before anything is sent.
struct RefusedLoad {
  const char* name;
  bool answer_ok;
  bool choose;
  bool file_exists;
  std::uint32_t file_type;
  std::vector<std::string> told;
};

class RefusedTemplateLoad : public testing::TestWithParam<RefusedLoad> {};

TEST_P(RefusedTemplateLoad, SendsNothingAndKeepsTheWorkingCopy) {
  TemplateRig rig;
  rig.prompts.answer_ok = GetParam().answer_ok;
  const auto file = rig.dir / "Radio.mod";
  if (GetParam().choose) rig.prompts.chosen = file;
  if (GetParam().file_exists) {
    PortRecord radio{};
    radio.mod_type = GetParam().file_type;
    radio.settings.tx_level = 40;
    test::write_bytes(file, EncodeTemplate(radio));
  }
  PortRecord phone{};
  phone.mod_type = MOD_HK6;
  EXPECT_FALSE(rig.templates.LoadTemplate(3, phone));
  EXPECT_EQ(rig.prompts.told, GetParam().told);
  EXPECT_TRUE(rig.sender.lines().empty());
  EXPECT_EQ(phone.settings.tx_level, 0);
  EXPECT_NE(rig.prompts.asked.at(0).text.find("\r\rClick OK to continue loading template."),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, RefusedTemplateLoad,
    testing::Values(
        RefusedLoad{"Cancelled", false, true, true, MOD_HK6, {}},
        RefusedLoad{"NoFile", true, false, true, MOD_HK6, {}},
        RefusedLoad{
            "Unreadable", true, true, false, MOD_HK6, {"The template file could not be opened"}},
        RefusedLoad{"WrongModule",
                    true,
                    true,
                    true,
                    MOD_TOV5,
                    {"The template file is the wrong module type"}}),
    [](const testing::TestParamInfo<RefusedLoad>& row) { return row.param.name; });

TEST(ModuleTemplates, UnwritableFileIsReportedAndNamesNothing) {
  TemplateRig rig;
  rig.prompts.chosen = rig.dir / "missing-folder" / "x.mod";
  EXPECT_FALSE(rig.templates.SaveTemplate(2, voq_record(1, 1)));
  EXPECT_EQ(rig.prompts.told, std::vector<std::string>{"Template file could not be opened"});
  EXPECT_TRUE(rig.names.names.empty());
}

TEST(ModuleTemplates, CustomIconComesFromTheIconsFolder) {
  TemplateRig rig;
  rig.prompts.chosen = rig.dir / "Icons" / "tower.bmp";
  EXPECT_EQ(rig.templates.SelectCustomIcon(), rig.dir / "Icons" / "tower.bmp");
  const FileRequest& request = rig.prompts.requests.at(0);
  EXPECT_EQ(request.title, "Select Custom Icon");
  EXPECT_EQ(request.filters.at(0), "Bitmap files (*.bmp)");
  EXPECT_TRUE(std::filesystem::is_directory(rig.dir / "Icons"));
}

}  // namespace
}  // namespace mav
