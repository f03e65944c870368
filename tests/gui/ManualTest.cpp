// The operator's manual keeps up with the menus: every caption of the menu bar, without its
// accelerator mark, appears in the manual's text as a reader sees it.
#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTextDocument>

#include "app/ui/MenuBar.h"

namespace mav::test {
namespace {

// The page as text, read through the same rich-text engine the fallback viewer uses, so that
// entities and markup count as the reader sees them.
QString manual_text() {
  QFile file(QStringLiteral(MAV_MANUAL_PATH));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QTextDocument page;
  page.setHtml(QString::fromUtf8(file.readAll()));
  return page.toPlainText().simplified();
}

void collect_captions(const QList<QAction*>& actions, QStringList& captions) {
  for (const QAction* action : actions) {
    if (action->isSeparator()) continue;
    captions << action->text().remove(QLatin1Char('&'));
    if (action->menu()) collect_captions(action->menu()->actions(), captions);
  }
}

TEST(ManualTest, NamesEveryMenuCaption) {
  QMenuBar bar;
  MenuBar menus(bar);
  QStringList captions;
  collect_captions(bar.actions(), captions);
  ASSERT_GT(captions.size(), 50);

  const QString text = manual_text();
  ASSERT_FALSE(text.isEmpty()) << MAV_MANUAL_PATH;
  for (const QString& caption : captions) {
    EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
  }
}

}  // namespace
}  // namespace mav::test
