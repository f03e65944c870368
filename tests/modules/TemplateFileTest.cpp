#include "modules/TemplateFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "modules/ModuleTemplates.h"
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
    EXPECT_EQ(record.mod_type, MOD_TOV5);
    EXPECT_EQ(record.settings.*row.field, row.expected) << "old offset " << row.old_offset;
  }
  // Short files read as far as they go; calling time and squelch type keep their places.
  Bytes old(80, 0);
  old[0] = MOD_VOQ3;
  test::put_i32(old, 44, 300);
  test::put_i32(old, 76, 2);
  const PortRecord record = DecodeTemplate(old);
  EXPECT_EQ(std::pair(record.settings.calling_time, record.settings.squelch_type),
            std::pair(300u, 2u));
  EXPECT_EQ(DecodeTemplate(Bytes{0xE9, 0x03, 0, 0, 5}).mod_type, MOD_HK6);
  EXPECT_EQ(DecodeTemplate(Bytes{}).mod_type, MOD_NONE);
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
  EXPECT_EQ(rig.told, "Template file could not be opened");
  rig.chosen = rig.dir / "Templates" / "Tower.mod";
  const PortRecord source = voq_record(3, 17, "Tower");
  ASSERT_EQ(rig.templates.SaveTemplate(4, source), "Tower.mod");
  EXPECT_EQ(rig.names, (std::map<int, std::string>{{4, "Tower.mod"}}));
  EXPECT_EQ(test::read_bytes(rig.dir / "Templates" / "Tower.mod"), EncodeTemplate(source));
  EXPECT_EQ(rig.folder, rig.dir / "Templates");

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
  EXPECT_EQ(rig.templates.TakeLoadedTemplateName(9), "Tower.mod");
  EXPECT_EQ(rig.names[9], "Tower.mod");
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
  EXPECT_EQ(refused(false, true, true, MOD_HK6), "");  // cancelled
  EXPECT_EQ(refused(true, false, true, MOD_HK6), "");  // no file chosen
  EXPECT_EQ(refused(true, true, false, MOD_HK6), "The template file could not be opened");
  EXPECT_EQ(refused(true, true, true, MOD_TOV5), "The template file is the wrong module type");
}

}  // namespace
}  // namespace mav
