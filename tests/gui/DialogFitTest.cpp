// At the small screen size (800 x 600) every dialog of the program fits on the screen with its
// window frame, so OK and Cancel can always be reached.
#include <QApplication>
#include <QTest>
#include <algorithm>

#include "config/ui/ChangesDialogs.h"
#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "modules/ui/DialDialog.h"
#include "protocol/RecordingSender.h"
#include "support/FakeClock.h"

namespace mav::test {
namespace {

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
