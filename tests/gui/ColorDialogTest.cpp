// "Set Color Scheme" in the running program: every preset, scroll step, "Match Background" and
// "Random" reach the preferences file (bytes 4-11: background and grid red, green, blue, 0), the
// six bars and the painted matrix at once.
#include <QScrollBar>

#include "gui/ProgramRig.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

constexpr int kBars[] = {1382, 1383, 1384, 1385, 1387, 1388};
constexpr int kBarByte[] = {4, 5, 6, 8, 9, 10};

class ColorDialogTest : public ProgramRig {
 protected:
  Bytes colour_bytes() {
    const Bytes bytes = read_bytes(prefs_file());
    return {bytes.begin() + 4, bytes.begin() + 12};
  }
  // Bars, file and the small matrix's pixels (inside a cell, and on the grid line left of it)
  // all show the same colours.
  void expect_everywhere(QDialog& dialog, const Bytes& colours) {
    EXPECT_EQ(colour_bytes(), colours);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(child<QScrollBar>(dialog, kBars[i])->value(), colours[kBarByte[i] - 4]);
    }
    const QImage image = window().centralWidget()->grab().toImage();
    EXPECT_EQ(image.pixelColor(109, 300), QColor(colours[0], colours[1], colours[2]));
    EXPECT_EQ(image.pixelColor(89, 300), QColor(colours[4], colours[5], colours[6]));
  }
};

TEST_F(ColorDialogTest, PresetsScrollStepsMatchAndRandomReachFileBarsAndMatrix) {
  using Action = QAbstractSlider::SliderAction;
  const struct {
    int control;
    Action action;  // for a bar; a button is clicked
    Bytes colours;
  } steps[] = {
      {0, {}, {31, 50, 76, 0, 185, 155, 103, 0}},  // as the dialog opens
      {1361, {}, {38, 58, 84, 0, 185, 155, 103, 0}},
      {1365, {}, {142, 118, 90, 0, 168, 188, 189, 0}},
      {1371, {}, {68, 22, 28, 0, 190, 136, 82, 0}},
      {1375, {}, {41, 30, 63, 0, 175, 165, 194, 0}},
      {1377, {}, {17, 67, 30, 0, 189, 201, 186, 0}},
      {1380, {}, {233, 233, 155, 0, 28, 73, 181, 0}},
      {1381, {}, {78, 166, 150, 0, 185, 221, 236, 0}},
      {1389, {}, {60, 60, 60, 0, 148, 182, 215, 0}},
      {1379, {}, {60, 60, 60, 0, 60, 60, 60, 0}},  // Match Background
      {1368, {}, {101, 101, 101, 0, 253, 253, 253, 0}},
      {1388, Action::SliderSingleStepAdd, {101, 101, 101, 0, 253, 253, 254, 0}},
      {1382, Action::SliderPageStepSub, {61, 101, 101, 0, 253, 253, 254, 0}},
      {1383, Action::SliderPageStepAdd, {61, 141, 101, 0, 253, 253, 254, 0}},
      {1384, Action::SliderToMaximum, {61, 141, 255, 0, 253, 253, 254, 0}},
      {1385, Action::SliderToMinimum, {61, 141, 255, 0, 0, 253, 254, 0}},
      {1387, Action::SliderSingleStepSub, {61, 141, 255, 0, 0, 252, 254, 0}},
  };
  start();
  Bytes last;
  with_dialog(40059, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Set Color Scheme");
    for (const auto& step : steps) {
      SCOPED_TRACE(step.control);
      if (child<QScrollBar>(dialog, step.control)) {
        child<QScrollBar>(dialog, step.control)->triggerAction(step.action);
      } else if (step.control != 0) {
        click(dialog, step.control);
      }
      expect_everywhere(dialog, step.colours);
    }
    // The dragged thumb is followed while it moves.
    child<QScrollBar>(dialog, 1383)->setSliderDown(true);
    child<QScrollBar>(dialog, 1383)->setSliderPosition(17);
    expect_everywhere(dialog, {61, 17, 255, 0, 0, 252, 254, 0});
    child<QScrollBar>(dialog, 1383)->setSliderDown(false);
    for (int draw = 0; draw < 3; ++draw) {
      click(dialog, 1390);
      last = colour_bytes();
      EXPECT_EQ(last[3] + last[7], 0);
      expect_everywhere(dialog, last);
    }
  });
  // Closed without OK, the last colours stay.
  EXPECT_EQ(colour_bytes(), last);
}

}  // namespace
}  // namespace mav::test
