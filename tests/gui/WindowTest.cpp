// The main window in the running program: start-up from the preferences file, its size and title
// rules, every menu command and its effect, the mouse and keys on the matrix, the configuration
// commands, and the documents handed to the desktop viewer.
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <fstream>

#include "config/ui/ChangesDialogs.h"
#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "matrix/MatrixGeometry.h"
#include "support/FileBytes.h"
#include "support/FileText.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;
using Lines = Texts;

// PATH for the program under test: with or without an "xdg-open"; with one, a text browser takes
// the place of the desktop's viewer and records what it was handed.
class DesktopViewer {
 public:
  explicit DesktopViewer(bool present) : saved_path_(qgetenv("PATH")) {
    if (present) {
      const std::filesystem::path launcher = bin_ / "xdg-open";
      std::ofstream(launcher) << "#!/bin/sh\n";
      std::filesystem::permissions(launcher, std::filesystem::perms::owner_all);
      QDesktopServices::setUrlHandler("file", &viewer_, "setSource");
    }
    qputenv("PATH", QByteArray::fromStdString(bin_.path().string()));
  }
  ~DesktopViewer() {
    QDesktopServices::unsetUrlHandler("file");
    qputenv("PATH", saved_path_);
  }
  std::string shown() const { return viewer_.source().toLocalFile().toStdString(); }

 private:
  QByteArray saved_path_;
  ScratchDirectory bin_;
  QTextBrowser viewer_;
};

constexpr const char* kNotConnected = "Not Connected - MAV Controller - Orvane Systems";

using MainWindowTest = ProgramRig;

// An unknown version is replaced and the operator told; the marks follow the file.
TEST_F(MainWindowTest, StartsFromThePreferencesFile) {
  Bytes old(32368, 0);
  old[0] = 20;
  write_bytes(prefs_file(), old);
  start();
  EXPECT_EQ(prompts_.told_texts(), std::vector<std::string>{"New Preferences file created"});
  EXPECT_EQ(read_bytes(prefs_file())[0], 27);
  stop();

  Preferences prefs;
  prefs.sound_on = prefs.cor_reporting = prefs.auto_indicator_switching = false;
  prefs.hover_descriptions = prefs.network_mode = prefs.auto_connect = true;
  prefs.animation_delay = 650;
  prefs.screen_size = 2;
  write_preferences(prefs);
  start();
  std::string marks;
  for (int id : {40031, 40070, 40058, 40037, 40020, 40069, 40012, 40029, 40057, 40039, 40018}) {
    marks += checked(id) ? "x" : "-";
  }
  EXPECT_EQ(marks, "xxxxxx-----");
  EXPECT_EQ(window().frameGeometry().size(), QSize(1280, 1024));  // frame included
  // Network mode without sites opens nothing, and auto-connect is shown off.
  EXPECT_EQ(title(), kNotConnected);
  EXPECT_FALSE(program_->link().is_open());
}

// Below the menu bar the window may be 526 pixels high, no more; larger snaps back in place.
TEST_F(MainWindowTest, WindowCanShrinkButSnapsBackFromLarger) {
  start();
  window().move(40, 30);
  const int menu_bar = window().menuBar()->height();
  window().resize(700, 526 + menu_bar);
  EXPECT_EQ(window().size(), QSize(700, 526 + menu_bar));
  window().resize(700, 527 + menu_bar);
  EXPECT_EQ(window().frameGeometry().size(), QSize(800, 600));
  EXPECT_EQ(window().pos(), QPoint(40, 30));
}

TEST_F(MainWindowTest, CustomTitleIsForSerialPortsAndTheManualOpensWithoutAViewer) {
  const DesktopViewer no_viewer(false);
  start();
  trigger(40066);
  EXPECT_EQ(
      prompts_.told_texts(),
      std::vector<std::string>{"This feature can only be used when\ra serial port is being used."});
  EXPECT_TRUE(prompts_.dialogs_run == 0 && !checked(40066) && checked(40067));
  trigger(40064);
  trigger(40064);
  const auto windows = window().findChildren<QTextBrowser*>("manualWindow");
  ASSERT_EQ(windows.size(), 1);  // the second request raises the same window
  EXPECT_TRUE(windows[0]->isWindow() && windows[0]->isVisible());
  EXPECT_EQ(windows[0]->source().toLocalFile().toStdString(),
            (dir_.path() / "MAV C_Help.html").string());
}

// The command line's choice for this run only; nothing listens on the network site.
TEST_F(MainWindowTest, RunConnectionsAreUsedButNeverStored) {
  Preferences prefs;
  prefs.auto_connect = prefs.network_mode = true;
  prefs.sites = {{{127, 0, 0, 1}, 1, "Stored"}};
  write_preferences(prefs);
  start({RunConnection::Kind::None, {}, 0, "", 0});
  EXPECT_EQ(title(), kNotConnected);
  EXPECT_TRUE(!program_->link().is_open() && checked(40068));
  stop();
  PseudoTerminal line;
  start({RunConnection::Kind::Serial, {}, 0, line.name(), 115200});
  EXPECT_EQ(program_->link().device_name().value_or("") + " " +
                std::to_string(program_->link().baud_rate()),
            line.name() + " 115200");
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  stop();
  start({RunConnection::Kind::Network, {127, 0, 0, 2}, 9, "", 0});
  EXPECT_EQ(title(), "Connecting to Remote Site - MAV Controller - Orvane Systems");
  stop();
  const Preferences saved = saved_preferences();
  EXPECT_TRUE(saved.auto_connect && saved.network_mode && saved.recent.empty());
  EXPECT_EQ(saved.sites.size(), 1u);
  EXPECT_EQ(saved.serial_port_name, Preferences{}.serial_port_name);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Sites.cfg"));
}

class MenuCommandsTest : public ProgramRig {
 protected:
  std::map<int, bool> marks() {
    std::map<int, bool> marks;
    for (const QAction* item : window().findChildren<QAction*>()) {
      if (item->data().toInt() > 0) marks[item->data().toInt()] = item->isChecked();
    }
    return marks;
  }
  // The changed bytes of the file as runs "@offset:HEX".
  static std::string changed_bytes(const Bytes& before, const Bytes& after) {
    std::string runs;
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (i < before.size() && before[i] == after[i]) continue;
      if (i == 0 || i > before.size() || before[i - 1] == after[i - 1]) {
        runs += " @" + std::to_string(i) + ":";
      }
      runs += QByteArray(1, static_cast<char>(after[i])).toHex().toUpper().toStdString();
    }
    return runs;
  }

  // Triggers the command and describes what changed.
  std::string effect_of(int command) {
    const auto marks_before = marks();
    const Bytes prefs = read_bytes(prefs_file());
    const QSize size = window().frameGeometry().size();
    const bool maximized = window().isMaximized();
    const std::string shown_title = title();
    const std::string viewed = viewer_.shown();
    prompts_.asked.clear();
    prompts_.told.clear();
    program_->session().resync_requested = false;
    seen_.clear();
    if (command == menu::kExit) {
      // Exit ends the application's loop, so it runs inside one: outside, the request to end
      // would stay pending and end the next modal loop of this process at once.
      QTimer::singleShot(0, [&] { trigger(command); });
      EXPECT_EQ(program_->run(), 0);
    } else {
      trigger(command);
    }

    for (const auto& box : prompts_.asked) seen_ += " ask:" + box.text;
    for (const auto& box : prompts_.told) seen_ += " tell:" + box.text;
    for (const auto& [id, mark] : marks()) {
      if (mark != marks_before.at(id)) seen_ += (mark ? " +" : " -") + std::to_string(id);
    }
    seen_ += changed_bytes(prefs, read_bytes(prefs_file()));
    if (viewer_.shown() != viewed) {
      seen_ += " view:" + std::filesystem::path(viewer_.shown()).filename().string();
    }
    const QSize now = window().frameGeometry().size();
    if (now != size) {
      seen_ += " size:" + std::to_string(now.width()) + "x" + std::to_string(now.height());
    }
    if (window().isMaximized() != maximized) seen_ += maximized ? " normal" : " maximized";
    if (title() != shown_title) seen_ += " title:" + title();
    if (program_->session().resync_requested) seen_ += " resync";
    return seen_.empty() ? seen_ : seen_.substr(1);
  }

  std::string seen_;
  DesktopViewer viewer_{true};
};

TEST_F(MenuCommandsTest, EveryCommandHasItsEffect) {
  PseudoTerminal line;
  const std::string serial_title = line.name() + " - MAV Controller - Orvane Systems";
  const struct {
    int command;
    std::string effect;
    const char* line = "";  // sent to the gateway
  } rows[] = {
      {40010, "dialog:Select new Log file tell:No new log file selected"},
      {40011, "resync"},
      {40051, "", "VPMTS OFF\r"},  // the mark waits for the gateway's report
      {40029, "-40029 @1062:00", "COR_LED OFF\r"},
      {40031, "-40031 @1063:00", "PTT_LED OFF\r"},
      {40031, "+40031 @1063:01", "PTT_LED ON\r"},
      // Sound and the right button are kept in memory; the next save carries them.
      {40012, "-40012"},
      {40042, "-40041 +40042"},
      {40042, ""},  // the marked choice clicked again keeps its mark
      {40070, "-40070 @1058:00 @1064:00 @31644:00"},
      {40041, "+40041 -40042"},
      {40058, "-40057 +40058 @1064:01 @1066:00"},
      {40057, "+40057 -40058 @1066:01"},
      {40069, "-40068 +40069 @1057:00"},
      {40068, "+40068 -40069 @1057:01"},
      {40019, "-40018 +40019 @2:01 size:1024x768 normal"},
      {40020, "-40019 +40020 @2:02 size:1280x1024"},
      {40018, "+40018 -40020 @2:00 size:800x600 maximized"},  // the display is 800 wide
      {40066, "dialog:MAV Controller +40066 -40067 @796:546F776572" + std::string(52, '0') +
                  " @1056:01 title:Tower - [" + line.name() +
                  "] - MAV Controller - Orvane Systems"},
      {40067, "-40066 +40067 @1056:00 title:" + serial_title},
      {40037, "+40037 -40039 @1068:8A02"},
      {40036, "+40036 -40037 @1068:C800"},
      {40038, "-40036 +40038 @1068:00"},
      {40039, "-40038 +40039 @1068:C201"},
      {40064, "view:MAV C_Help.html"},
      {40045, "ask:Connect All:\rAre you sure?"},  // answered No
      {40046, "ask:Disconnect All:\rAre you sure?"},
      {40005,
       "tell:MAV Controller\rVersion 0.1\rThe operator's program for the MAV-7700 audio "
       "interconnect gateway.\rCopyright Orvane Systems. All rights reserved."},
      {40001,
       "ask:The MAV Controller automatically saves your configuration\rwhen you close the "
       "program.  You can restore this configuration\rthe next time you run the MAV Controller "
       "with the Restore Last\rConfig command in the File Menu.\rDo you want to see this reminder "
       "in the future? @1067:00"},
  };
  start_on_serial_port(line.name());
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  prompts_.answer_yes = false;
  // Dialogs are recorded by caption and closed; the title dialog gets a title first.
  prompts_.dialog_script = [this](QDialog& dialog) {
    seen_ += " dialog:" + dialog.windowTitle().toStdString();
    if (QLineEdit* typed = child(dialog, 1347)) {
      typed->setText("Tower");
      dialog.done(QDialog::Accepted);
    }
    return dialog.result();
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    EXPECT_EQ(effect_of(row.command), row.effect);
    EXPECT_TRUE(!*row.line || line_receives(line, row.line));
  }
}

class MatrixInputTest : public ProgramRig {
 protected:
  void SetUp() override {
    start();
    for (int p : {3, 7}) program_->model().Update(p, [](PortRecord& r) { r.mod_type = MOD_TOV5; });
    matrix().paint_now();
  }
  MatrixWidget& matrix() { return *static_cast<MatrixWidget*>(window().centralWidget()); }
  QPoint port_position(int port) {
    const MatrixLayout layout = matrix().layout();
    return {ColumnLeft(layout, port) + 5, IconTop(layout.screen_size, 0) + 5};
  }
};

// A click on a port selects it, a Shift click does nothing, a click beside every icon ends the
// selection; Alt+C opens the Connect menu and types nothing, keys typed to the menu bar are
// commands.
TEST_F(MatrixInputTest, MouseAndKeysReachTheGestures) {
  const auto selected = [&] {
    return program_->session().selection_pending() ? program_->session().selected_index.load() : -1;
  };
  QTest::mouseClick(&matrix(), Qt::LeftButton, {}, port_position(7));
  QTest::mouseClick(&matrix(), Qt::LeftButton, Qt::ShiftModifier, port_position(3));
  EXPECT_EQ(selected(), 7);
  QTest::mouseClick(&matrix(), Qt::LeftButton, {}, QPoint(400, 580));
  EXPECT_EQ(selected(), -1);
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QTest::keyClick(&matrix(), Qt::Key_C, Qt::AltModifier);
  QWidget* menu = QApplication::activePopupWidget();
  ASSERT_NE(menu, nullptr);
  menu->close();
  QTest::keyClicks(window().menuBar(), "03");
  EXPECT_EQ(selected(), -1);
  QTest::keyClicks(window().menuBar(), "c03");
  EXPECT_EQ(selected(), 3);
  QTest::keyClick(&matrix(), Qt::Key_Escape);
  EXPECT_EQ(selected(), -1);
}

class ConfigurationCommandsTest : public ProgramRig {
 protected:
  void know_a_module() {
    program_->model().Update(2, [](PortRecord& r) { r.mod_type = MOD_LINE7; });
  }
  std::filesystem::path folder() const { return dir_.path() / "Configurations"; }
};

// The file is chosen and its changes shown; only Yes lets "DISCH ALL" and the load go out.
TEST_F(ConfigurationCommandsTest, LoadConfigurationAsksBeforeSendingAnything) {
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    PseudoTerminal line;
    start_on_serial_port(line.name());
    know_a_module();
    program_->configurations().AutoSave();
    QString changes;
    prompts_.dialog_script = [&](QDialog& dialog) {
      if (auto* chooser = dynamic_cast<QFileDialog*>(&dialog)) {
        chooser->selectFile(QString::fromStdString((folder() / "AutoS2.mav").string()));
        dialog.accept();
      } else if (auto* list = dialog.findChild<QPlainTextEdit*>("id1461")) {
        changes = list->toPlainText();
      } else {
        click(dialog, kShowChangesButtonId);
        dialog.done(yes ? QDialog::Accepted : QDialog::Rejected);
      }
      return dialog.result();
    };
    trigger(40003);
    EXPECT_EQ(changes, "No changes.");
    std::string received;
    for (int i = 0; i < 10 && received.find("DISC_S ALL\r") == std::string::npos; ++i) {
      received += line.read(1, std::chrono::milliseconds(200));
      process_events_until([] { return false; }, 50);
    }
    EXPECT_EQ(received.find("DISCH ALL\r") != std::string::npos, yes) << received;
    EXPECT_EQ(received.find("DISC_S ALL\r") != std::string::npos, yes) << received;
    stop();
  }
}

TEST_F(ConfigurationCommandsTest, SaveConfigurationWritesTheNamedFileInTheFolder) {
  start();
  know_a_module();
  with_dialog(40002, [&](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(chooser.nameFilters(), QStringList{"Configuration files (*.MAV *.mav)"});
    chooser.selectFile(QStringLiteral("evening"));
    QMetaObject::invokeMethod(&chooser, "accept");  // its own OK: suffix and checks
  });
  const Bytes bytes = read_bytes(folder() / "evening.mav");
  ASSERT_EQ(bytes.size(), 16953u);
  EXPECT_EQ(get_i32(bytes, 8 + 624 * 2), MOD_LINE7);
}

TEST_F(ConfigurationCommandsTest, CommandsWaitWhileAReplayOwnsTheWire) {
  start();
  const bool sound = checked(40012);
  program_->session().replay_running = true;
  trigger(40012);
  process_events_until([] { return false; }, 300);
  EXPECT_EQ(checked(40012), sound);
  program_->session().replay_running = false;
  EXPECT_TRUE(process_events_until([&] { return checked(40012) != sound; }));
}

using DocumentViewersTest = ProgramRig;

TEST_F(DocumentViewersTest, LogReportAndCopyGoToTheViewerOrTheProgramsOwnWindow) {
  start();
  program_->log().write_log_entry("entry 1");
  const std::string recent = (dir_ / "Recent.txt").string();
  const std::string copy = (dir_ / "Logs" / "MAVLog_tmp.txt").string();
  for (const auto& [command, viewer_present, file] : {std::tuple{40063, true, recent},
                                                      {40009, true, copy},
                                                      {40063, false, recent},
                                                      {40009, false, copy}}) {
    SCOPED_TRACE(command);
    const DesktopViewer viewer(viewer_present);
    trigger(command);
    EXPECT_EQ(viewer.shown(), viewer_present ? file : "");
    if (viewer_present) continue;
    const auto* own = window().findChild<QPlainTextEdit*>("logWindow");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->windowTitle().toStdString() + "|" + own->toPlainText().toStdString(),
              file + "|" + file_text(file));
  }
  EXPECT_TRUE(prompts_.told.empty());
  EXPECT_EQ(file_text(recent).rfind("Most recent entries appear first\n\n", 0), 0u);
  EXPECT_EQ(file_text(copy), file_text(dir_ / "Logs" / "MAVPCI1.log"));

  // A folder where the report goes, a log file never written: each is a file error.
  std::filesystem::remove(recent);
  std::filesystem::create_directories(recent);
  program_->log().set_log_file_name("never-written.log");
  const DesktopViewer viewer(true);
  for (int command : {40063, 40009}) trigger(command);
  ASSERT_EQ(prompts_.told_texts(), Texts(2, "File Error"));
  EXPECT_EQ(prompts_.told[1].caption, "View Log Failed");
  EXPECT_EQ(viewer.shown(), "");
}

TEST_F(DocumentViewersTest, NewLogIsChosenStoredAndTakesTheNextEntry) {
  start();
  const std::filesystem::path logs = dir_ / "Logs";
  with_dialog(40010, [&](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(chooser.nameFilters(), QStringList{"Log files (*.LOG *.log)"});
    chooser.selectFile("Shift2");                   // the dialog adds the extension
    QMetaObject::invokeMethod(&chooser, "accept");  // its own OK: suffix and checks
  });
  const std::string chosen = (logs / "Shift2.log").string();
  EXPECT_EQ(get_text(read_bytes(prefs_file()), 276), chosen);
  const std::string before = file_text(logs / "MAVPCI1.log");
  program_->log().write_log_entry("after the switch");
  const std::string text = file_text(chosen);
  EXPECT_EQ(text.rfind("Date        Time    Module   Action\n----", 0), 0u) << text;
  EXPECT_TRUE(text.ends_with("  after the switch\n")) << text;
  EXPECT_EQ(file_text(logs / "MAVPCI1.log"), before);
}

// "VOQ Help..." and "Open App Notes..." in a module's settings.
TEST_F(DocumentViewersTest, ModuleDocumentsGoToTheViewerOrSayWhereTheyAre) {
  start();
  program_->model().Update(3, [](PortRecord& r) { r.mod_type = MOD_VOQ3; });
  std::filesystem::create_directories(dir_.path() / "Templates");
  const std::string notes = (dir_.path() / "Templates" / "Radio.pdf").string();
  std::ofstream(notes) << "%PDF";
  const std::string help = (dir_.path() / "VOQ_Help.pdf").string();
  const std::string no_viewer =
      "No viewer for PDF files.\rYou will have to open the file manually.\r";
  for (const bool viewer_present : {true, false}) {
    SCOPED_TRACE(viewer_present);
    const DesktopViewer viewer(viewer_present);
    Texts shown;
    prompts_.told.clear();
    prompts_.dialog_script = [&](QDialog& dialog) {
      if (auto* chooser = dynamic_cast<QFileDialog*>(&dialog)) {
        chooser->selectFile(QString::fromStdString(notes));
        QMetaObject::invokeMethod(chooser, "accept");
        return chooser->result();
      }
      for (const int button : {1354, 1356}) {
        click(dialog, button);
        shown.push_back(viewer.shown());
      }
      return int{QDialog::Rejected};
    };
    window().open_module_settings(3, false);
    EXPECT_EQ(shown, (viewer_present ? Texts{help, notes} : Texts{"", ""}));
    EXPECT_EQ(prompts_.told_texts(),
              (viewer_present ? Texts{} : Texts{no_viewer + help, no_viewer + notes}));
  }
}

}  // namespace
}  // namespace mav::test
