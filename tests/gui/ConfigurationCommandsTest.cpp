// The configuration commands in the running program: the save dialog, the automatic-save slot of
// a first run, Restore Last Config without a previous run, the confirmation before a load, and
// menu commands held back while a replay owns the wire.
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>

#include "config/ui/ChangesDialogs.h"
#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

class ConfigurationCommandsTest : public ProgramRig {
 protected:
  void know_a_module() {
    PortRecord record{};
    program_->model().GetPort(2, record);
    record.mod_type = MOD_LINE7;
    program_->model().SetPort(2, record);
  }
  std::filesystem::path folder() const { return dir_.path() / "Configurations"; }
  static bool shows_text(QDialog& dialog, const QString& text) {
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(),
                       [&text](const QLabel* label) { return label->text() == text; });
  }
};

TEST_F(ConfigurationCommandsTest, AFirstRunSavesIntoTheSecondSlotAndHasNoRunToRestore) {
  start();
  know_a_module();
  program_->configurations().AutoSave();
  EXPECT_EQ(read_bytes(folder() / "AutoS2.mav").size(), 16953u);
  EXPECT_FALSE(std::filesystem::exists(folder() / "AutoS1.mav"));

  bool asked = false;
  with_dialog(menu::kRestoreLastConfig, [&](QDialog& dialog) {
    asked = shows_text(dialog, "Restore to Last Configuration:\nAre you sure?");
    dialog.accept();
  });
  EXPECT_TRUE(asked);
  EXPECT_EQ(prompts_.told_texts(), std::vector<std::string>{"Load file could not be opened"});
}

// The file is chosen and its changes shown; only Yes lets "DISCH ALL" and the load go out.
TEST_F(ConfigurationCommandsTest, LoadConfigurationAsksBeforeSendingAnything) {
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    PseudoTerminal line;
    start_on_serial_port(line.name());
    know_a_module();
    program_->configurations().AutoSave();
    QString question;
    QString changes;
    prompts_.dialog_script = [&](QDialog& dialog) {
      if (auto* chooser = dynamic_cast<QFileDialog*>(&dialog)) {
        chooser->selectFile(QString::fromStdString((folder() / "AutoS2.mav").string()));
        dialog.accept();
      } else if (auto* list = dialog.findChild<QPlainTextEdit*>("id1461")) {
        changes = list->toPlainText();
      } else {
        question = dialog.windowTitle();
        click(dialog, kShowChangesButtonId);
        dialog.done(yes ? QDialog::Accepted : QDialog::Rejected);
      }
      return dialog.result();
    };
    trigger(menu::kLoadConfiguration);
    EXPECT_EQ(question, "MAV Controller");
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
  QString title;
  QStringList filters;
  QString suffix;
  QString start_folder;
  with_dialog(menu::kSaveConfiguration, [&](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    title = chooser.windowTitle();
    filters = chooser.nameFilters();
    suffix = chooser.defaultSuffix();
    start_folder = chooser.directory().absolutePath();
    chooser.selectFile(QStringLiteral("evening"));
    dialog.accept();  // the chooser's own accept, through its public base
  });
  EXPECT_EQ(title, "Save configuration");
  EXPECT_EQ(filters, QStringList{"Configuration files (*.MAV *.mav)"});
  EXPECT_EQ(suffix, "mav");
  EXPECT_EQ(start_folder.toStdString(), folder().string());
  const Bytes bytes = read_bytes(folder() / "evening.mav");
  ASSERT_EQ(bytes.size(), 16953u);
  EXPECT_EQ(get_i32(bytes, 8 + 624 * 2), MOD_LINE7);
}

TEST_F(ConfigurationCommandsTest, CommandsWaitWhileAReplayOwnsTheWire) {
  start();
  const bool sound = checked(menu::kSound);
  program_->session().replay_running = true;
  trigger(menu::kSound);
  process_events_until([] { return false; }, 300);
  EXPECT_EQ(checked(menu::kSound), sound);
  program_->session().replay_running = false;
  EXPECT_TRUE(process_events_until([&] { return checked(menu::kSound) != sound; }));
}

}  // namespace
}  // namespace mav::test
