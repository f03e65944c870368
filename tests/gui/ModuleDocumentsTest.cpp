// "VOQ Help..." and "Open App Notes..." hand their document to the desktop's viewer, and say
// where the document is when there is no viewer.
#include <QFileDialog>
#include <fstream>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"

namespace mav::test {
namespace {

class ModuleDocuments : public ProgramRig {};

TEST_F(ModuleDocuments, GoToTheDesktopViewerOrSayWhereTheDocumentIs) {
  start();
  PortRecord record{};
  program_->model().GetPort(3, record);
  record.mod_type = MOD_VOQ3;
  program_->model().SetPort(3, record);
  std::filesystem::create_directories(dir_.path() / "Templates");
  const std::string notes = (dir_.path() / "Templates" / "Radio.pdf").string();
  std::ofstream(notes) << "%PDF";
  const std::string help = (dir_.path() / "VOQ_Help.pdf").string();
  const std::string no_viewer =
      "No viewer for PDF files.\rYou will have to open the file manually.\r";

  for (const bool viewer_present : {true, false}) {
    SCOPED_TRACE(viewer_present);
    const DesktopViewer viewer(viewer_present);
    std::vector<std::string> shown;
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
    if (viewer_present) {
      EXPECT_EQ(shown, (std::vector<std::string>{help, notes}));
      EXPECT_TRUE(prompts_.told.empty());
    } else {
      EXPECT_EQ(prompts_.told_texts(),
                (std::vector<std::string>{no_viewer + help, no_viewer + notes}));
    }
  }
}

}  // namespace
}  // namespace mav::test
