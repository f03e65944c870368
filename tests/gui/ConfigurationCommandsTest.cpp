// The configuration commands in the running program: the save dialog, the confirmation before a
// load, and menu commands held back while a replay owns the wire.
#include <QFileDialog>
#include <QPlainTextEdit>

#include "config/ui/ChangesDialogs.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

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

}  // namespace
}  // namespace mav::test
