// The boxes shown without waiting: one per text, withdrawn when what they said ends, and
// answerable while a modal dialog is open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/OperatorPrompts.h"

namespace mav::test {
namespace {

int open_boxes(const QString& text) {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    const auto* box = qobject_cast<QMessageBox*>(widget);
    if (box && box->isVisible() && box->text() == text) ++count;
  }
  return count;
}

TEST(MessageBoxes, OneOfEachTextUntilWithdrawnAndAnswerableOverADialog) {
  ScreenPrompts prompts;
  QWidget owner;
  const MessageBoxRequest lost{"The MAV Controller has lost contact\rwith the MAV-7700",
                               "MAV Controller", MessageIcon::Exclamation, true};
  const QString shown = "The MAV Controller has lost contact\nwith the MAV-7700";
  const MessageBoxRequest load{"Load Failed!", "MAV Controller", MessageIcon::Exclamation, false};

  prompts.show(lost, &owner);
  prompts.show(lost, &owner);
  prompts.show(load, &owner);
  prompts.show(load, &owner);
  EXPECT_EQ(open_boxes(shown), 1);
  EXPECT_EQ(open_boxes("Load Failed!"), 1);

  prompts.withdraw(lost.text);
  QApplication::processEvents();
  EXPECT_EQ(open_boxes(shown), 0);
  prompts.show(lost, &owner);  // a new loss shows its box again
  EXPECT_EQ(open_boxes(shown), 1);
  prompts.withdraw(lost.text);

  // Shown while a modal dialog runs, the box stands above it and can be acknowledged.
  QDialog dialog(&owner);
  bool acknowledged = false;
  QTimer::singleShot(0, &dialog, [&] {
    prompts.withdraw(load.text);
    prompts.show(load, &owner);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible() || box->text() != "Load Failed!") continue;
      acknowledged = box->windowModality() == Qt::ApplicationModal;
      box->button(QMessageBox::Ok)->click();
    }
    dialog.reject();
  });
  dialog.exec();
  EXPECT_TRUE(acknowledged);
  QApplication::processEvents();
  EXPECT_EQ(open_boxes("Load Failed!"), 0);
}

}  // namespace
}  // namespace mav::test
