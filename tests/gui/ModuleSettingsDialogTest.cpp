// The module settings dialogs on a real model, writer and icon store, with the lines the dialog
// sends recorded: what they show of the record and what Apply, OK, Cancel and the line buttons
// send.
#include <QComboBox>
#include <QDir>
#include <QRadioButton>
#include <QTest>

#include "gui/ProgramRig.h"
#include "matrix/ui/IconStore.h"
#include "modules/ui/ModuleSettingsDialog.h"
#include "protocol/RecordingSender.h"
#include "support/RecordingFrontend.h"

namespace mav::test {
namespace {

using Lines = std::vector<std::string>;
using Change = std::function<void(PortRecord&)>;
constexpr int kPort = 5;

QComboBox* list(QDialog& dialog, int id) {
  return child<QComboBox>(dialog, id);
}

class ModuleDialogTest : public ::testing::Test {
 protected:
  // Puts a module of `type` into the port, with `change` applied to its reset record.
  void insert(std::uint32_t type, const Change& change = {}) {
    PortRecord record{};
    model.GetPort(kPort, record);
    record.mod_type = type;
    if (change) change(record);
    model.SetPort(kPort, record);
  }
  std::unique_ptr<ModuleSettingsDialog> open_dialog(const std::string& template_name = "") {
    return std::make_unique<ModuleSettingsDialog>(parts(), kPort, stored(), template_name, nullptr);
  }
  ModuleDialogParts parts() {
    const std::string folder = QDir::tempPath().toStdString();
    return {model, sender, writer, session, icons, screen, prompts, folder, folder, {}};
  }
  PortRecord stored() {
    PortRecord record{};
    model.GetPort(kPort, record);
    return record;
  }

  DeviceModel model;
  RecordingSender sender;
  SessionState session;
  SettingsWriter writer{sender, session};
  IconStore icons;
  RecordingFrontend screen;
  RecordingPrompts prompts;
};

TEST_F(ModuleDialogTest, TitleLastTemplateAndApplyTwiceSendingTheChangeOnce) {
  insert(4, [](PortRecord& r) { r.settings.tx_level = 6; });
  for (const auto& [stored_name, shown] :
       {std::pair{"Radio A.mod", "Radio A"}, {"", "(none)"}, {"abc", "abc"}}) {
    EXPECT_EQ(child(*open_dialog(stored_name), 1439)->text(), shown);
  }
  const auto dialog = open_dialog();
  EXPECT_EQ(dialog->windowTitle(), "Port 05 -- VOQ-3 Module Settings");
  list(*dialog, 1404)->setCurrentIndex(2);
  click(*dialog, 1370);
  click(*dialog, 1370);
  EXPECT_EQ(sender.lines(), Lines{"TX_LEVEL 05 2\r"});
  EXPECT_EQ(stored().settings.tx_level, 2);
}

// A telephone line on a bus and on hook is released first when it is (or stays) a 2-wire line;
// Hang Up puts it on hook.
TEST_F(ModuleDialogTest, TelephoneLineButtonsAndTheReleaseOnClose) {
  const struct {
    std::int16_t bus;
    int two_wire_entry;  // chosen in 1420 before the button
    int button;          // 1 OK, 2 Cancel, 1348 Hang Up
    Lines lines;
  } cases[] = {
      {0, 0, 1, {"DISC_S 05\r"}},     {0, 1, 1, {"2W_4W 05 1\r"}}, {GROUP_NONE, 0, 1, {}},
      {0, 1, 2, {"DISC_S 05\r"}},  // Cancel looks at the model, not the list
      {2, 0, 1348, {"ON_HOOK 05\r"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    sender.clear();
    insert(3, [&](PortRecord& r) {
      r.bus = c.bus;
      r.disch_step = 0;
      r.settings.on_hook = 1;
      r.settings.two_w_four_w = 0;
      r.settings.vmr_thresh = 2;  // shown as "Low", which stores 2
    });
    const auto dialog = open_dialog();
    EXPECT_EQ(child<QPushButton>(*dialog, 1348)->isEnabled(), c.bus != GROUP_NONE);
    list(*dialog, 1420)->setCurrentIndex(c.two_wire_entry);
    click(*dialog, c.button);
    EXPECT_EQ(sender.lines(), c.lines);
    EXPECT_EQ(stored().disch_step, c.lines == Lines{"DISC_S 05\r"} ? 9u : 0u);
  }
}

// The colour button steps through the eight colours and starts again; Enter in the name is OK.
TEST_F(ModuleDialogTest, NameColourAndAnUnloadableCustomIcon) {
  insert(5, [](PortRecord& r) { r.icon_color = 6; });
  const auto dialog = open_dialog();
  std::string captions;
  for (int i = 0; i < 3; ++i) {
    click(*dialog, 1002);
    captions += child<QPushButton>(*dialog, 1002)->text().toStdString() + "|";
  }
  EXPECT_EQ(captions, "Magenta|Gray|Red|");
  type(*dialog, 1001, "Front desk");
  child<QRadioButton>(*dialog, 1392)->click();
  type(*dialog, 1386, "/nonexistent/icon.bmp");
  dialog->show();  // Enter is OK, whatever other buttons the dialog has
  QTest::keyClick(child(*dialog, 1001), Qt::Key_Return);
  EXPECT_EQ(prompts.told_texts(), Lines{"The custom icon could not be loaded"});
  const PortRecord r = stored();
  EXPECT_EQ(std::to_string(r.icon_color) + std::to_string(r.icon_preset) +
                std::to_string(r.icon_id) + " " + r.port_name + " " + r.icon_path,
            "11-1 Front desk /nonexistent/icon.bmp");
}

}  // namespace
}  // namespace mav::test
