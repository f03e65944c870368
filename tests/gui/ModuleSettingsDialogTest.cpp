// The module settings dialogs on the offscreen platform: a real model, writer and icon store,
// with the lines the dialog sends recorded.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "gui/ProgramRig.h"
#include "matrix/ui/IconStore.h"
#include "modules/ui/ModuleSettingsOpener.h"
#include "protocol/RecordingSender.h"
#include "support/RecordingFrontend.h"

namespace mav::test {
namespace {

using Lines = std::vector<std::string>;
constexpr int kPort = 5;

class ModuleDialogTest : public ::testing::Test {
 protected:
  // Puts a module of `type` into the port, with `change` applied to its reset record.
  void insert(std::uint32_t type, const std::function<void(PortRecord&)>& change = {}) {
    PortRecord record{};
    model.GetPort(kPort, record);
    record.mod_type = type;
    if (change) change(record);
    model.SetPort(kPort, record);
  }
  std::unique_ptr<ModuleSettingsDialog> open_dialog(const std::string& template_name = "") {
    PortRecord record{};
    model.GetPort(kPort, record);
    return std::make_unique<ModuleSettingsDialog>(parts(), kPort, record, template_name, nullptr);
  }
  ModuleDialogParts parts() {
    return {model,
            sender,
            writer,
            session,
            icons,
            screen,
            prompts,
            QDir::tempPath().toStdString(),
            QDir::tempPath().toStdString(),
            {}};
  }
  PortRecord stored() {
    PortRecord record{};
    model.GetPort(kPort, record);
    return record;
  }
  template <typename Widget>
  static Widget* child(QDialog& dialog, int id) {
    return dialog.findChild<Widget*>(QStringLiteral("id%1").arg(id));
  }
  static QComboBox* list(QDialog& dialog, int id) { return child<QComboBox>(dialog, id); }
  static void click(QDialog& dialog, int id) { child<QPushButton>(dialog, id)->click(); }

  DeviceModel model;
  RecordingSender sender;
  SessionState session;
  SettingsWriter writer{sender, session};
  IconStore icons;
  RecordingFrontend screen;
  RecordingPrompts prompts;
};

struct OpeningCase {
  std::uint32_t type;
  std::function<void(PortRecord&)> change;
  const char* title;
  int list_id;
  int entries;
  const char* shown;  // "" for no selection
};

TEST_F(ModuleDialogTest, OpensWithTitleFilledListsAndTheStoredEntry) {
  const OpeningCase cases[] = {
      {1, [](PortRecord& r) { r.settings.duplex = 1; }, "Port 05 -- TOV-5 Module Settings", 1408, 2,
       "Full [0]"},
      {2, [](PortRecord& r) { r.settings.prompt_delay = 3; }, "Port 05 -- MEK Module Settings",
       1412, 10, "500 ms [3]"},
      {3, [](PortRecord& r) { r.settings.vmr_thresh = 9; }, "Port 05 -- LINE-7 Module Settings",
       1424, 3, "VOX Off [0]"},
      {3, [](PortRecord& r) { r.settings.calling_time = 7; }, "Port 05 -- LINE-7 Module Settings",
       1441, 4, "30 sec [1] (default)"},
      {4, [](PortRecord& r) { r.settings.eq = 4; }, "Port 05 -- VOQ-3 Module Settings", 1423, 7,
       "Flat [4] (default)"},
      {4, [](PortRecord& r) { r.settings.squelch_type = 16; }, "Port 05 -- VOQ-3 Module Settings",
       1402, 3, ""},
      {5, [](PortRecord& r) { r.settings.calling_time = 7; }, "Port 05 -- HK-6 Module Settings",
       1441, 4, ""},
  };
  for (const OpeningCase& c : cases) {
    insert(c.type, c.change);
    const auto dialog = open_dialog();
    EXPECT_EQ(dialog->windowTitle().toStdString(), c.title);
    ASSERT_NE(list(*dialog, c.list_id), nullptr) << c.title;
    EXPECT_EQ(list(*dialog, c.list_id)->count(), c.entries) << c.list_id;
    EXPECT_EQ(list(*dialog, c.list_id)->currentText().toStdString(), c.shown) << c.list_id;
  }
}

// A list's choice switches others on or off at once.
struct EnablingCase {
  std::uint32_t type;
  std::function<void(PortRecord&)> change;
  int watched;
  bool enabled_at_opening;
  int chosen_list;
  int chosen_entry;
  bool enabled_after;
};

TEST_F(ModuleDialogTest, EnabledStatesFollowTheRecordAndTheSelections) {
  const EnablingCase cases[] = {
      {1, [](PortRecord& r) { r.settings.duplex = 0; }, 1411, true, 1408, 1, false},
      {4, [](PortRecord& r) { r.settings.duplex = 1; }, 1411, false, 1408, 0, true},
      {4, [](PortRecord& r) { r.settings.squelch_type = 14; }, 1405, true, 1402, 2, false},
      {4, [](PortRecord& r) { r.settings.squelch_type = 14; }, 1406, false, 1402, 1, true},
      {4, [](PortRecord& r) { r.settings.keying_tones = 0; }, 1436, false, 1434, 1, true},
      {4, [](PortRecord& r) { r.settings.keying_tones = 1; }, 1436, true, 1434, 2, false},
      {1, [](PortRecord& r) { r.settings.cor_sampling = 0; }, 1432, false, 1429, 1, true},
      {4, [](PortRecord& r) { r.settings.user_control = 1; }, 1440, true, 1445, 0, false},
      {3, [](PortRecord& r) { r.settings.user_control = 1; }, 1444, true, 1445, 0, false},
      {5, [](PortRecord& r) { r.settings.user_control = 0; }, 1443, false, 1445, 1, true},
  };
  for (const EnablingCase& c : cases) {
    insert(c.type, c.change);
    const auto dialog = open_dialog();
    EXPECT_EQ(list(*dialog, c.watched)->isEnabled(), c.enabled_at_opening) << c.watched;
    list(*dialog, c.chosen_list)->setCurrentIndex(c.chosen_entry);
    EXPECT_EQ(list(*dialog, c.watched)->isEnabled(), c.enabled_after) << c.watched;
  }
}

TEST_F(ModuleDialogTest, ApplyTwiceSendsTheChangeOnce) {
  insert(4, [](PortRecord& r) { r.settings.tx_level = 6; });
  const auto dialog = open_dialog();
  list(*dialog, 1404)->setCurrentIndex(2);
  click(*dialog, 1370);
  click(*dialog, 1370);
  EXPECT_EQ(sender.lines(), Lines{"TX_LEVEL 05 2\r"});
  EXPECT_EQ(stored().settings.tx_level, 2);
  EXPECT_EQ(dialog->result(), QDialog::Rejected);  // Apply does not end the dialog
}

// A telephone line on a bus and on hook is released first when it is (or stays) a 2-wire line.
struct LineCase {
  const char* name;
  std::int16_t bus;
  int two_wire_entry;  // chosen in 1420 before OK
  int button;          // 1 OK, 2 Cancel
  Lines lines;
};

TEST_F(ModuleDialogTest, TelephoneLineReleasedOnCloseWhenTwoWireOnHook) {
  const LineCase cases[] = {
      {"ok 2-wire", 0, 0, 1, {"DISC_S 05\r"}},
      {"ok 4-wire", 0, 1, 1, {"2W_4W 05 1\r"}},
      {"ok no bus", GROUP_NONE, 0, 1, {}},
      {"cancel 2-wire", 0, 1, 2, {"DISC_S 05\r"}},  // Cancel looks at the model, not the list
  };
  for (const LineCase& c : cases) {
    sender.clear();
    insert(3, [&](PortRecord& r) {
      r.bus = c.bus;
      r.disch_step = 0;
      r.settings.on_hook = 1;
      r.settings.two_w_four_w = 0;
      r.settings.vmr_thresh = 2;  // shown as "Low", which stores 2
    });
    const auto dialog = open_dialog();
    EXPECT_EQ(child<QPushButton>(*dialog, 1348)->isEnabled(), c.bus != GROUP_NONE) << c.name;
    EXPECT_EQ(child<QPushButton>(*dialog, 1352)->isEnabled(), c.bus != GROUP_NONE) << c.name;
    list(*dialog, 1420)->setCurrentIndex(c.two_wire_entry);
    click(*dialog, c.button);
    EXPECT_EQ(sender.lines(), c.lines) << c.name;
    EXPECT_EQ(stored().disch_step, c.lines == Lines{"DISC_S 05\r"} ? 9u : 0u) << c.name;
  }
}

TEST_F(ModuleDialogTest, HangUpSendsOnHook) {
  insert(3, [](PortRecord& r) { r.bus = 2; });
  const auto dialog = open_dialog();
  click(*dialog, 1348);
  EXPECT_EQ(sender.lines(), Lines{"ON_HOOK 05\r"});
}

TEST_F(ModuleDialogTest, ColourButtonCyclesThroughTheEightNames) {
  insert(1, [](PortRecord& r) { r.icon_color = 0; });
  const auto dialog = open_dialog();
  QPushButton* colour = child<QPushButton>(*dialog, 1002);
  std::vector<std::string> captions;
  for (int i = 0; i < 9; ++i) {
    colour->click();
    captions.push_back(colour->text().toStdString());
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"Red", "Orange", "Yellow", "Green", "Cyan", "Blue",
                                                "Magenta", "Gray", "Red"}));
  EXPECT_EQ(dialog->working_copy().icon_color, 1);
  click(*dialog, 1);
  EXPECT_EQ(stored().icon_color, 1);
}

TEST_F(ModuleDialogTest, UnloadableCustomIconFallsBackToThePreset) {
  insert(5);
  const auto dialog = open_dialog();
  child<QLineEdit>(*dialog, 1001)->setText("Front desk");
  child<QRadioButton>(*dialog, 1392)->click();
  child<QLineEdit>(*dialog, 1386)->setText("/nonexistent/icon.bmp");
  click(*dialog, 1);
  EXPECT_EQ(prompts.told_texts(), std::vector<std::string>{"The custom icon could not be loaded"});
  EXPECT_EQ(stored().icon_preset, 1);
  EXPECT_EQ(stored().icon_id, -1);
  EXPECT_STREQ(stored().port_name, "Front desk");
  EXPECT_STREQ(stored().icon_path, "/nonexistent/icon.bmp");
}

TEST_F(ModuleDialogTest, VoqShowsTheLastTemplateWithoutItsExtension) {
  insert(4);
  const std::pair<std::string, std::string> names[] = {
      {"Radio A.mod", "Radio A"}, {"", "(none)"}, {"abc", "abc"}};
  for (const auto& [stored_name, shown] : names) {
    const auto dialog = open_dialog(stored_name);
    EXPECT_EQ(child<QLineEdit>(*dialog, 1439)->text().toStdString(), shown);
  }
}

TEST_F(ModuleDialogTest, HandsetSquelchChoiceGoesOutWithPortZero) {
  session.mek_squelch_type = -1;
  insert(2);
  EXPECT_FALSE(list(*open_dialog(), 1414)->isEnabled());

  session.mek_squelch_type = vw::MIC;
  PortRecord record{};
  model.GetPort(kPort, record);
  model.SetPort(0, record);
  ModuleSettingsDialog dialog(parts(), 0, record, "", nullptr);
  EXPECT_TRUE(list(dialog, 1414)->isEnabled());
  EXPECT_EQ(list(dialog, 1414)->currentText().toStdString(), "Mic [0] (default)");
  list(dialog, 1414)->setCurrentIndex(1);
  click(dialog, 1);
  EXPECT_EQ(sender.lines(), Lines{"MEK_SQUELCH_TYPE VOX\r"});
}

// The opener runs the dialog of the port's type; only a marked dialog takes the gateway's
// answers for its own port.
TEST_F(ModuleDialogTest, OnlyTheMarkedDialogOfThatPortRefreshes) {
  insert(1, [](PortRecord& r) { r.settings.rx_level = 3; });
  std::string shown;
  ModuleSettingsOpener opener(
      ModuleOpenerParts{parts(), session, [](int) { return std::string(); }});
  prompts.dialog_script = [&](QDialog& dialog) {
    model.SetSetting(kPort, kw::RX_LEVEL, 7);
    opener.refresh(kPort + 1);
    opener.refresh(kPort);
    shown = list(dialog, 1401)->currentText().toStdString();
    return static_cast<int>(QDialog::Rejected);
  };

  opener.open_module_settings(kPort, false, nullptr);
  EXPECT_EQ(shown, "0 dBm [3] (default)");
  EXPECT_EQ(session.dialog_port.load(), -1);
  opener.open_module_settings(kPort, true, nullptr);
  EXPECT_EQ(shown, "-16 dBm [7]");
  EXPECT_EQ(session.dialog_port.load(), -1);
}

// The largest dialog, as shown: every list lies inside its page of settings, which scrolls only
// downwards. The picture is kept in the build tree (screenshots/module_settings_voq3.png) for a
// person to look at.
TEST_F(ModuleDialogTest, VoqDialogShowsEveryListInsideIt) {
  insert(4, [](PortRecord& r) { std::strcpy(r.port_name, "Repeater North"); });
  const auto dialog = open_dialog("Radio A.mod");
  dialog->show();
  const auto lists = dialog->findChildren<QComboBox*>();
  EXPECT_EQ(lists.size(), 25);
  const auto* scroll = dialog->findChild<QScrollArea*>();
  EXPECT_LE(scroll->widget()->width(), scroll->viewport()->width());
  for (const QComboBox* each : lists) {
    const QRect area(each->mapTo(scroll->widget(), QPoint(0, 0)), each->size());
    EXPECT_TRUE(scroll->widget()->rect().contains(area)) << each->objectName().toStdString();
  }
  ASSERT_TRUE(QDir().mkpath(QStringLiteral("screenshots")));
  EXPECT_TRUE(dialog->grab().save(QStringLiteral("screenshots/module_settings_voq3.png"), "PNG"));
}

}  // namespace
}  // namespace mav::test
