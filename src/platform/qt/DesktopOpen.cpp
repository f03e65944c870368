#include "platform/qt/DesktopOpen.h"

#include <QDesktopServices>
#include <QStandardPaths>
#include <QUrl>

namespace mav {

bool open_with_desktop_viewer(const std::filesystem::path& file) {
  // Without a launcher Qt reports success for a file nobody will ever show.
  if (QStandardPaths::findExecutable("xdg-open").isEmpty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

}  // namespace mav
