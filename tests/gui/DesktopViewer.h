// PATH for the program under test: with or without an "xdg-open"; with one, a text browser takes
// the place of the desktop's viewer and records what it was handed.
#pragma once

#include <QDesktopServices>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/ScratchDirectory.h"

namespace mav::test {

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

}  // namespace mav::test
