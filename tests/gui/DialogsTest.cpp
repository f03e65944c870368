// The dialogs in the running program as the operator fills them in: colours, the serial port and
// the network sites, dialling, the module settings, and every dialog fitting the small screen.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
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
#include "support/FileBytes.h"
#include "support/RecordingFrontend.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;
using Lines = Texts;

using ColorDialogTest = ProgramRig;

TEST_F(ColorDialogTest, PresetsScrollStepsMatchAndRandomReachFileBarsAndMatrix) {
  using Action = QAbstractSlider::SliderAction;
  const struct {
    int control;
    Action action;  // for a bar; a button is clicked
    Bytes colours;
  } steps[] = {
      {0, {}, {31, 50, 76, 0, 185, 155, 103, 0}},  // as the dialog opens
      {1380, {}, {233, 233, 155, 0, 28, 73, 181, 0}},
      {1389, {}, {60, 60, 60, 0, 148, 182, 215, 0}},
      {1379, {}, {60, 60, 60, 0, 60, 60, 60, 0}},  // Match Background
      {1388, Action::SliderSingleStepAdd, {60, 60, 60, 0, 60, 60, 61, 0}},
      {1382, Action::SliderPageStepSub, {20, 60, 60, 0, 60, 60, 61, 0}},
      {1385, Action::SliderToMinimum, {20, 60, 60, 0, 0, 60, 61, 0}},
      {1383, Action::SliderMove, {20, 17, 60, 0, 0, 60, 61, 0}},  // the dragged thumb
      {1390, {}, {}},                                             // Random
  };
  const int bars[] = {1382, 1383, 1384, 0, 1385, 1387, 1388};
  start();
  Bytes last;
  with_dialog(40059, [&](QDialog& dialog) {
    for (const auto& step : steps) {
      SCOPED_TRACE(step.control);
      auto* bar = child<QScrollBar>(dialog, step.control);
      if (step.action == Action::SliderMove) {
        bar->setSliderDown(true);
        bar->setSliderPosition(17);
      } else if (bar) {
        bar->triggerAction(step.action);
      } else if (step.control != 0) {
        click(dialog, step.control);
      }
      const Bytes bytes = read_bytes(prefs_file());
      last = {bytes.begin() + 4, bytes.begin() + 12};
      EXPECT_TRUE(step.colours.empty() || last == step.colours) << step.control;
      EXPECT_EQ(last[3] + last[7], 0);
      // Bars, file and the small matrix's pixels (inside a cell, and on the grid line left of
      // it) all show the same colours.
      for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(!bars[i] || child<QScrollBar>(dialog, bars[i])->value() == last[i]) << i;
      }
      const QImage image = window().centralWidget()->grab().toImage();
      EXPECT_EQ(image.pixelColor(109, 300), QColor(last[0], last[1], last[2]));
      EXPECT_EQ(image.pixelColor(89, 300), QColor(last[4], last[5], last[6]));
    }
  });
  // Closed without OK, the last colours stay.
  const Bytes bytes = read_bytes(prefs_file());
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 12), last);
}

constexpr int kOtherName = 1338;

using SerialDialogTest = ProgramRig;

// Typing into the other name chooses it; then Voice Prompts asks for the opposite of its mark,
// which waits for the gateway's answer.
TEST_F(SerialDialogTest, AFailedStartUpPortOffersTheDialogThenOkOpensTheTypedPort) {
  PseudoTerminal line;
  const std::string absent = (dir_.path() / "absent").string();
  prompts_.dialog_script = [&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, kOtherName)->text().toStdString(), absent);  // the failed name
    child(dialog, kOtherName)->clear();
    QTest::keyClicks(child(dialog, kOtherName), QString::fromStdString(absent));
    EXPECT_TRUE(child<QRadioButton>(dialog, 1331)->isChecked());
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
    type(dialog, kOtherName, QString::fromStdString(line.name()));
    child<QRadioButton>(dialog, 1447)->setChecked(true);
    click(dialog, 1);
    return dialog.result();
  };
  start_on_serial_port(absent);
  EXPECT_EQ(prompts_.dialogs_run, 1);
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"Error opening serial port\r\r" + absent + ": No such file or directory.",
                   "Serial port successfully selected"}));
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  const Preferences saved = saved_preferences();
  EXPECT_EQ(saved.serial_port_name + " " + std::to_string(saved.serial_baud),
            line.name() + " 115200");
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  window().set_menu_check(40051, false);
  trigger(40051);
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  EXPECT_FALSE(checked(40051));
}

TEST_F(SerialDialogTest, CancelOrAFailedRecentEntryWithoutAnOpenPortSaySo) {
  Preferences prefs;
  prefs.recent = {{true, "/dev/absent-port", 9600, 0}};
  write_preferences(prefs);
  start();
  with_dialog(40004, [&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, kOtherName)->text(), "");
    click(dialog, 2);
  });
  trigger(50000);
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"No serial port is currently open", "Could not open serial port"}));
  EXPECT_FALSE(program_->link().is_open());
}

class NetworkDialogTest : public ProgramRig {
 protected:
  void with_sites_dialog(const std::function<void(QDialog&)>& steps) {
    with_dialog(40065, steps, QDialog::Accepted);
  }
};

// Each row: the address (an empty part leaves its field empty), port, description, what is told.
TEST_F(NetworkDialogTest, TypedSitesAreCheckedBeforeTheyAreStored) {
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
  with_sites_dialog([&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, 1399)->text(), "23");
    for (const auto& row : rows) {
      SCOPED_TRACE(row.address);
      prompts_.told.clear();
      const QStringList parts = QString(row.address).split('.');
      for (int i = 0; i < 4; ++i) type(dialog, 1394 + i, parts[i]);
      type(dialog, 1399, row.port);
      type(dialog, 1400, row.description);
      click(dialog, 1369);
      EXPECT_EQ(prompts_.told_texts(), row.told.empty() ? Texts{} : Texts{row.told});
    }
    auto* list = child<QListWidget>(dialog, 1358);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "10.0.0.7:2300 ()");
  });
  EXPECT_EQ(saved_preferences().sites.at(1).port, 2300);
}

// Enter or a double click on a listed site connects to it; the site in use is marked in bold.
// Disconnect without a network connection and Remove without a selection refuse.
TEST_F(NetworkDialogTest, ListedSitesConnectAndTheButtonsRefuseWhatTheyCannotDo) {
  Preferences prefs;
  prefs.sites = {{{127, 0, 0, 1}, 1, "First"}, {{127, 0, 0, 1}, 2, "Second"}};
  write_preferences(prefs);
  start();
  with_sites_dialog([&](QDialog& dialog) {
    click(dialog, 1372);
    // The keyboard's current row without a highlight is no selection: nothing happens.
    child<QListWidget>(dialog, 1358)->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    click(dialog, 1366);
  });
  EXPECT_EQ(prompts_.told_texts(),
            Texts{"This button can only be used if a network connection is active"});
  for (const int row : {1, 0}) {
    with_sites_dialog([&](QDialog& dialog) {
      dialog.show();
      auto* list = child<QListWidget>(dialog, 1358);
      EXPECT_EQ(list->item(1)->font().bold(), row == 0);
      list->setCurrentRow(row);
      if (row == 1) {
        QTest::keyClick(list, Qt::Key_Return);
      } else {
        emit list->itemDoubleClicked(list->item(row));
      }
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    EXPECT_EQ(program_->application().preferences().site_count(), 2);
    EXPECT_EQ(program_->application().link_status().site, row);
  }
}

// Nothing listens on these ports; the connections are only started.
TEST_F(NetworkDialogTest, RecentConnectionsKeepTenWithTheLatestOnTop) {
  start();
  Application& app = program_->application();
  for (int i = 1; i <= 11; ++i) {
    ASSERT_TRUE(app.add_site({127, 0, 0, 1}, 1000 + i, "Site " + std::to_string(i)));
  }
  for (int i : {0, 1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10}) app.select_connection(i);
  std::string labels;
  for (int id = 50000; id <= 50010; ++id) {
    if (QAction* item = action(id)) labels += item->text().toStdString() + "|";
  }
  EXPECT_TRUE(labels.starts_with("&1 - Site 11 (Network)|&2 - Site 10")) << labels;
  EXPECT_TRUE(labels.ends_with("|&10 - Site 1 (Network)|")) << labels;  // Site 2 fell out
  EXPECT_EQ(saved_preferences().recent.size(), 10u);
}

class DialDialogTest : public ProgramRig {
 protected:
  std::unique_ptr<DialDialog> open() {
    model_.Update(4, [](PortRecord& r) {
      r.mod_type = MOD_LINE7;
      r.settings.on_hook = 1;
    });
    start();
    auto dialog = std::make_unique<DialDialog>(DialParts{model_, sender_, log_, clock_},
                                               program_->application(), prompts_, 4, nullptr);
    dialog->show();
    return dialog;
  }
  // Advances the clock and lets the dialog's own timer look at it a few times.
  void idle_for(int ms) {
    clock_.advance_ms(ms);
    process_events_until([] { return false; }, 500);
  }

  FakeClock clock_;
  DeviceModel model_;
  RecordingSender sender_;
  EventLog log_{dir_ / "Logs", clock_};
};

// Typing and choosing a line start the 30 seconds again.
TEST_F(DialDialogTest, ThirtyIdleSecondsCloseItAndReleaseTheTwoWireLine) {
  auto dialog = open();
  idle_for(20'000);
  type(*dialog, 1343, "5");
  idle_for(20'000);
  child<QRadioButton>(*dialog, 1345)->click();  // the line already chosen: activity all the same
  idle_for(29'999);
  EXPECT_TRUE(dialog->isVisible() && sender_.lines().empty());
  clock_.advance_ms(1);
  ASSERT_TRUE(process_events_until([&] { return !dialog->isVisible(); }));
  EXPECT_EQ(sender_.lines(), Lines{"DISC_S 04\r"});
  PortRecord record;
  model_.GetPort(4, record);
  EXPECT_EQ(record.disch_step, 9u);
}

// Enter in the number dials, whatever other buttons the dialog has.
TEST_F(DialDialogTest, EnterDialsTheChosenLine) {
  auto dialog = open();
  EXPECT_EQ(dialog->windowTitle(), "LINE Dial on port 04");
  type(*dialog, 1343, "5551234");
  child<QRadioButton>(*dialog, 1346)->click();
  QTest::keyClick(child(*dialog, 1343), Qt::Key_Return);
  EXPECT_EQ(sender_.lines(), Lines{"DIAL 04 5551234 2\r"});
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

// The phone book: numbers at 1070, descriptions at 2170, 22 bytes each, the count at 3270.
TEST_F(DialDialogTest, PhoneBookEditsReachThePreferencesFileAtOnce) {
  Preferences prefs;
  prefs.dial_list = {{"100", "Old"}};
  write_preferences(prefs);
  auto dialog = open();
  auto* descriptions = child<QComboBox>(*dialog, 1342);
  const auto saved = [&] {  // "count|number description|..."
    const Bytes bytes = read_bytes(prefs_file());
    std::string entries = std::to_string(bytes.at(3270)) + "|";
    for (std::size_t i = 0; i < bytes.at(3270); ++i) {
      entries += get_text(bytes, 1070 + 22 * i) + " " + get_text(bytes, 2170 + 22 * i) + "|";
    }
    return entries;
  };
  type(*dialog, 1343, "5550001");
  descriptions->setEditText("");
  click(*dialog, 1344);  // the number stands in as its description
  EXPECT_EQ(saved(), "2|100 Old|5550001 5550001|");
  descriptions->setCurrentIndex(0);  // choosing a description fills its number
  EXPECT_EQ(child(*dialog, 1343)->text(), "100");
  click(*dialog, 1351);  // the last entry moves into the gap
  EXPECT_EQ(saved(), "1|5550001 5550001|");
  EXPECT_EQ(descriptions->findText("Old"), -1);
}

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

// What a window manager adds around a dialog: borders and the title bar.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 30;

class DialogFit : public ProgramRig {};

TEST_F(DialogFit, EveryDialogFitsTheSmallScreen) {
  Preferences prefs;
  prefs.password = "Secret1";  // Password Protection asks for it first, and that is measured too
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
    const QSize size = dialog.size() + QSize(kFrameWidth, kFrameHeight);
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
                  program_->application(), prompts_, 2, nullptr);
  prompts_.run_dialog(dial);
  EXPECT_EQ(std::count(measured.begin(), measured.end(), '|'), 19) << measured;
}

}  // namespace
}  // namespace mav::test
