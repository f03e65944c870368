// "Set Color Scheme" in the running program: a preset, Match Background, a scroll step, the
// dragged thumb and Random reach the preferences file (bytes 4-11: background and grid red,
// green, blue, 0), the six bars and the painted matrix at once.
#include <QScrollBar>

#include "gui/ProgramRig.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

using ColorDialogTest = ProgramRig;

TEST_F(ColorDialogTest, PresetsScrollStepsMatchAndRandomReachFileBarsAndMatrix) {
  using Action = QAbstractSlider::SliderAction;
  const struct {
    int control;
    Action action;  // for a bar; a button is clicked
    Bytes colours;
  } steps[] = {
      {0, {}, {31, 50, 76, 0, 185, 155, 103, 0}},  // as the dialog opens
      {1380, {}, {233, 233, 155, 0, 28, 73, 181, 0}},
      {1389, {}, {60, 60, 60, 0, 148, 182, 215, 0}},
      {1379, {}, {60, 60, 60, 0, 60, 60, 60, 0}},  // Match Background
      {1388, Action::SliderSingleStepAdd, {60, 60, 60, 0, 60, 60, 61, 0}},
      {1382, Action::SliderPageStepSub, {20, 60, 60, 0, 60, 60, 61, 0}},
      {1385, Action::SliderToMinimum, {20, 60, 60, 0, 0, 60, 61, 0}},
      {1383, Action::SliderMove, {20, 17, 60, 0, 0, 60, 61, 0}},  // the dragged thumb
      {1390, {}, {}},                                             // Random
  };
  const int bars[] = {1382, 1383, 1384, 0, 1385, 1387, 1388};
  start();
  Bytes last;
  with_dialog(40059, [&](QDialog& dialog) {
    for (const auto& step : steps) {
      SCOPED_TRACE(step.control);
      auto* bar = child<QScrollBar>(dialog, step.control);
      if (step.action == Action::SliderMove) {
        bar->setSliderDown(true);
        bar->setSliderPosition(17);
      } else if (bar) {
        bar->triggerAction(step.action);
      } else if (step.control != 0) {
        click(dialog, step.control);
      }
      const Bytes bytes = read_bytes(prefs_file());
      last = {bytes.begin() + 4, bytes.begin() + 12};
      EXPECT_TRUE(step.colours.empty() || last == step.colours) << step.control;
      EXPECT_EQ(last[3] + last[7], 0);
      // Bars, file and the small matrix's pixels (inside a cell, and on the grid line left of
      // it) all show the same colours.
      for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(!bars[i] || child<QScrollBar>(dialog, bars[i])->value() == last[i]) << i;
      }
      const QImage image = window().centralWidget()->grab().toImage();
      EXPECT_EQ(image.pixelColor(109, 300), QColor(last[0], last[1], last[2]));
      EXPECT_EQ(image.pixelColor(89, 300), QColor(last[4], last[5], last[6]));
    }
  });
  // Closed without OK, the last colours stay.
  const Bytes bytes = read_bytes(prefs_file());
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 12), last);
}

}  // namespace
}  // namespace mav::test
