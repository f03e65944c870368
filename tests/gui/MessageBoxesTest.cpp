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

std::vector<QMessageBox*> open_boxes(const QString& text) {
  std::vector<QMessageBox*> boxes;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box && box->isVisible() && box->text() == text) boxes.push_back(box);
  }
  return boxes;
}

TEST(MessageBoxes, OneOfEachTextUntilWithdrawnAndAnswerableOverADialog) {
  ScreenPrompts prompts;
  QWidget owner;
  const MessageBoxRequest lost{"The MAV Controller has lost contact\rwith the MAV-7700",
                               "MAV Controller", MessageIcon::Exclamation, true};
  const QString shown = "The MAV Controller has lost contact\nwith the MAV-7700";
  const MessageBoxRequest load{"Load Failed!", "MAV Controller", MessageIcon::Exclamation, false};
  for (const auto* box : {&lost, &lost, &load, &load}) prompts.show(*box, &owner);
  EXPECT_EQ(std::pair(open_boxes(shown).size(), open_boxes("Load Failed!").size()),
            std::pair(1ul, 1ul));
  prompts.withdraw(lost.text);
  QApplication::processEvents();
  EXPECT_TRUE(open_boxes(shown).empty());
  prompts.show(lost, &owner);  // a new loss shows its box again
  EXPECT_EQ(open_boxes(shown).size(), 1u);
  prompts.withdraw(lost.text);

  // Shown while a modal dialog runs, the box stands above it and can be acknowledged.
  QDialog dialog(&owner);
  bool acknowledged = false;
  QTimer::singleShot(0, &dialog, [&] {
    prompts.withdraw(load.text);
    prompts.show(load, &owner);
    for (QMessageBox* box : open_boxes("Load Failed!")) {
      acknowledged = box->windowModality() == Qt::ApplicationModal;
      box->button(QMessageBox::Ok)->click();
    }
    dialog.reject();
  });
  dialog.exec();
  EXPECT_TRUE(acknowledged);
  QApplication::processEvents();
  EXPECT_TRUE(open_boxes("Load Failed!").empty());
}

}  // namespace
}  // namespace mav::test
