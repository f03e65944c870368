// The dialogs in the running program as the operator fills them in: the serial port, the network
// sites, dialling, the module settings, and every dialog fitting the small screen.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

#include "config/ui/ChangesDialogs.h"
#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "matrix/ui/IconStore.h"
#include "modules/ui/DialDialog.h"
#include "modules/ui/ModuleSettingsDialog.h"
#include "protocol/RecordingSender.h"
#include "support/FakeClock.h"
#include "support/RecordingFrontend.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;
using DialogsTest = ProgramRig;

// Typing into the other name (1338) chooses it; OK on a port that fails keeps the dialog open.
TEST_F(DialogsTest, AFailedStartUpPortOffersTheSerialDialogThenOkOpensTheTypedPort) {
  PseudoTerminal line;
  const std::string absent = (dir_.path() / "absent").string();
  prompts_.dialog_script = [&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, 1338)->text().toStdString(), absent);
    child(dialog, 1338)->clear();
    QTest::keyClicks(child(dialog, 1338), QString::fromStdString(absent));
    EXPECT_TRUE(child<QRadioButton>(dialog, 1331)->isChecked());
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    type(dialog, 1338, QString::fromStdString(line.name()));
    child<QRadioButton>(dialog, 1447)->setChecked(true);
    click(dialog, 1);
    return dialog.result();
  };
  start_on_serial_port(absent);
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"Error opening serial port\r\r" + absent + ": No such file or directory.",
                   "Serial port successfully selected"}));
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  const Preferences saved = saved_preferences();
  EXPECT_EQ(saved.serial_port_name + " " + std::to_string(saved.serial_baud),
            line.name() + " 115200");
}

// Each row: the address (an empty part leaves its field empty), port, description, what is told.
TEST_F(DialogsTest, TypedNetworkSitesAreCheckedBeforeTheyAreStored) {
  const std::string bad_address =
      "Each field in the IP address must contain a number from 0 to 255";
  const struct {
    const char *address, *port, *description;
    std::string told;  // empty: added
  } rows[] = {
      {"10.0.256.7", "23", "North", bad_address},
      {"10.0..7", "23", "North", bad_address},
      {"10.0.0.7", "65536", "North", "The Port field must contain a number from 1 to 65535"},
      {"10.0.0.7", "23", "North", ""},
      {"10.0.0.7", "23", "North",
       "The site could not be added.\rThe address is already in the list, or the list is full."},
      {"10.0.0.7", "2300", "", ""},
  };
  start();
  with_dialog(
      40065,
      [&](QDialog& dialog) {
        for (const auto& row : rows) {
          prompts_.told.clear();
          const QStringList parts = QString(row.address).split('.');
          for (int i = 0; i < 4; ++i) type(dialog, 1394 + i, parts[i]);
          type(dialog, 1399, row.port);
          type(dialog, 1400, row.description);
          click(dialog, 1369);
          EXPECT_EQ(prompts_.told_texts(), row.told.empty() ? Texts{} : Texts{row.told})
              << row.address;
        }
        EXPECT_EQ(child<QListWidget>(dialog, 1358)->item(1)->text(), "10.0.0.7:2300 ()");
      },
      QDialog::Accepted);
  EXPECT_EQ(saved_preferences().sites.at(1).port, 2300);
}

// Enter in the number dials, whatever other buttons the dialog has.
TEST_F(DialogsTest, EnterInTheDialDialogDialsTheChosenLine) {
  DeviceModel model;
  model.Update(4, [](PortRecord& r) {
    r.mod_type = MOD_LINE7;
    r.settings.on_hook = 1;
  });
  RecordingSender sender;
  FakeClock clock;
  EventLog log{dir_ / "Logs", clock};
  start();
  DialDialog dialog(DialParts{model, sender, log, clock}, program_->phone_book(), prompts_, 4,
                    nullptr);
  dialog.show();
  type(dialog, 1343, "5551234");
  child<QRadioButton>(dialog, 1346)->click();
  QTest::keyClick(child(dialog, 1343), Qt::Key_Return);
  EXPECT_EQ(dialog.windowTitle().toStdString() + "|" + sender.lines().at(0),
            "LINE Dial on port 04|DIAL 04 5551234 2\r");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// Apply sends a change once. A 2-wire telephone line on hook on a bus is released when the dialog
// closes, whatever its list shows on Cancel; Hang Up puts it on hook.
TEST(ModuleDialogTest, ApplySendsTheChangeOnceAndClosingReleasesATwoWireLine) {
  const struct {
    std::uint32_t type;
    std::int16_t bus;
    int list, entry;
    std::vector<int> buttons;
    Texts lines;
  } cases[] = {
      {4, 0, 1404, 2, {1370, 1370}, {"TX_LEVEL 05 2\r"}},
      {3, 0, 1420, 0, {1}, {"DISC_S 05\r"}},
      {3, 0, 1420, 1, {1}, {"2W_4W 05 1\r"}},
      {3, GROUP_NONE, 1420, 0, {1}, {}},
      {3, 0, 1420, 1, {2}, {"DISC_S 05\r"}},
      {3, 2, 1420, 0, {1348}, {"ON_HOOK 05\r"}},
  };
  for (const auto& c : cases) {
    DeviceModel model;
    model.Update(5, [&](PortRecord& r) {
      r.mod_type = c.type;
      r.bus = c.bus;
      r.settings.tx_level = 6;
      r.settings.on_hook = 1;
      r.settings.two_w_four_w = 0;
      r.settings.vmr_thresh = 2;  // shown as "Low", which stores 2
    });
    RecordingSender sender;
    SessionState session;
    SettingsWriter writer{sender, session};
    IconStore icons;
    RecordingFrontend screen;
    RecordingPrompts prompts;
    const std::string folder = QDir::tempPath().toStdString();
    PortRecord stored{};
    model.GetPort(5, stored);
    ModuleSettingsDialog dialog(
        {model, sender, writer, session, icons, screen, prompts, folder, folder, {}}, 5, stored, "",
        nullptr);
    child<QComboBox>(dialog, c.list)->setCurrentIndex(c.entry);
    for (const int button : c.buttons) click(dialog, button);
    EXPECT_EQ(sender.lines(), c.lines) << c.list << " " << c.buttons.back();
    model.GetPort(5, stored);
    EXPECT_EQ(stored.disch_step, c.lines == Texts{"DISC_S 05\r"} ? 9u : 0u);
  }
}

TEST_F(DialogsTest, EveryDialogFitsTheSmallScreen) {
  Preferences prefs;
  prefs.protection.password = "Secret1";  // the password question is measured too
  write_preferences(prefs);
  start();
  program_->configurations().AutoSave();  // a save to restore from history
  const std::uint32_t modules[] = {MOD_TOV5, MOD_MEK4, MOD_LINE7, MOD_VOQ3, MOD_HK6};
  for (int port = 0; port < 5; ++port) {
    program_->model().Update(port, [&](PortRecord& r) { r.mod_type = modules[port]; });
  }
  std::string measured;
  prompts_.dialog_script = [&](QDialog& dialog) {
    dialog.show();
    QApplication::processEvents();
    measured += dialog.windowTitle().toStdString() + "|";
    const QSize size = dialog.size() + QSize(8, 30);  // the window manager's frame
    EXPECT_TRUE(size.width() <= 800 && size.height() <= 600)
        << dialog.windowTitle().toStdString() << ": " << size.width() << " x " << size.height();
    if (dialog.windowTitle() == "Password Check") {
      child<QLineEdit>(dialog, 1334)->setText("Secret1");
      click(dialog, 1);
      return dialog.result();
    }
    if (auto* show = child<QPushButton>(dialog, kShowChangesButtonId)) show->click();
    return int{QDialog::Rejected};
  };
  for (const int command : {menu::kSelectSerialPort, menu::kSelectNetworkSite, menu::kPinSettings,
                            menu::kPasswordProtection, menu::kChangeColors,
                            menu::kSaveConfiguration, menu::kLoadConfiguration,
                            menu::kRestoreLastConfig, menu::kRestoreFromHistory, menu::kNewLog}) {
    trigger(command);
  }
  window().ask_custom_title();
  for (int port = 0; port < 5; ++port) window().open_module_settings(port, false);
  RecordingSender sender;
  FakeClock clock;
  DialDialog dial(DialParts{program_->model(), sender, program_->log(), clock},
                  program_->phone_book(), prompts_, 2, nullptr);
  prompts_.run_dialog(dial);
  EXPECT_EQ(std::count(measured.begin(), measured.end(), '|'), 19) << measured;
}

}  // namespace
}  // namespace mav::test
