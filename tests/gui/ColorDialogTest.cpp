// "Set Color Scheme" in the running program: what the dialog shows, and every preset, scroll step,
// "Match Background" and "Random" reaching the preferences file and the painted matrix at once.
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>

#include "gui/ProgramRig.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

// Pixels of the small matrix: inside a cell, and on the vertical grid line left of it.
const QPoint kBackgroundPixel(109, 300);
const QPoint kGridPixel(89, 300);

class ColorDialogTest : public ProgramRig {
 protected:
  // Bytes 4-11 of the preferences file: the background and grid colours.
  Bytes colour_bytes() {
    const Bytes bytes = read_bytes(prefs_file());
    return {bytes.begin() + 4, bytes.begin() + 12};
  }
  QColor painted(const QPoint& at) {
    return window().centralWidget()->grab().toImage().pixelColor(at);
  }
  static QScrollBar* bar(QDialog& dialog, int id) { return child<QScrollBar>(dialog, id); }
};

TEST_F(ColorDialogTest, ShowsBothColoursOnSixBarsAndOffersOnlyOk) {
  start();
  with_dialog(40059, [](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Set Color Scheme");
    QStringList values;
    for (int id : {1382, 1383, 1384, 1385, 1387, 1388}) {
      values << QString::number(bar(dialog, id)->value());
      EXPECT_EQ(bar(dialog, id)->maximum(), 255) << id;
    }
    EXPECT_EQ(values.join(' '), "31 50 76 185 155 103");
    QStringList texts;
    for (const auto* group : dialog.findChildren<QGroupBox*>()) texts << group->title();
    for (const auto* label : dialog.findChildren<QLabel*>()) texts << label->text();
    for (const auto* button : dialog.findChildren<QPushButton*>()) texts << button->text();
    EXPECT_EQ(texts.join('|'),
              "Background|Grid Lines|Presets|Red|Green|Blue|Red|Green|Blue|Match Background|"
              "Default|1|2|3|4|5|6|7|8|Random|OK");
    click(dialog, 1);
  });
  EXPECT_EQ(prompts_.dialogs_run, 1);
}

TEST_F(ColorDialogTest, EveryPresetReachesTheFileAndThePaintedMatrix) {
  const struct {
    int button;
    Bytes colours;  // background red, green, blue, 0, grid red, green, blue, 0
  } presets[] = {
      {1361, {38, 58, 84, 0, 185, 155, 103, 0}},    {1365, {142, 118, 90, 0, 168, 188, 189, 0}},
      {1368, {101, 101, 101, 0, 253, 253, 253, 0}}, {1371, {68, 22, 28, 0, 190, 136, 82, 0}},
      {1375, {41, 30, 63, 0, 175, 165, 194, 0}},    {1377, {17, 67, 30, 0, 189, 201, 186, 0}},
      {1380, {233, 233, 155, 0, 28, 73, 181, 0}},   {1381, {78, 166, 150, 0, 185, 221, 236, 0}},
      {1389, {60, 60, 60, 0, 148, 182, 215, 0}},
  };
  start();
  with_dialog(40059, [&](QDialog& dialog) {
    for (const auto& preset : presets) {
      SCOPED_TRACE(preset.button);
      click(dialog, preset.button);
      EXPECT_EQ(colour_bytes(), preset.colours);
      const Bytes& c = preset.colours;
      EXPECT_EQ(painted(kBackgroundPixel), QColor(c[0], c[1], c[2]));
      EXPECT_EQ(painted(kGridPixel), QColor(c[4], c[5], c[6]));
      EXPECT_EQ(bar(dialog, 1384)->value(), c[2]);
      EXPECT_EQ(bar(dialog, 1385)->value(), c[4]);
    }
  });
  // Closed without OK, the last colours stay.
  EXPECT_EQ(colour_bytes(), (Bytes{60, 60, 60, 0, 148, 182, 215, 0}));
  EXPECT_EQ(painted(kGridPixel), QColor(148, 182, 215));
}

TEST_F(ColorDialogTest, EachScrollStepChangesOneComponentWithinItsRange) {
  const struct {
    int bar;
    QAbstractSlider::SliderAction action;
    Bytes colours;
  } steps[] = {
      {1388, QAbstractSlider::SliderSingleStepAdd, {101, 101, 101, 0, 253, 253, 254, 0}},
      {1388, QAbstractSlider::SliderSingleStepAdd, {101, 101, 101, 0, 253, 253, 255, 0}},
      {1388, QAbstractSlider::SliderSingleStepAdd, {101, 101, 101, 0, 253, 253, 255, 0}},
      {1382, QAbstractSlider::SliderPageStepSub, {61, 101, 101, 0, 253, 253, 255, 0}},
      {1382, QAbstractSlider::SliderPageStepSub, {21, 101, 101, 0, 253, 253, 255, 0}},
      {1382, QAbstractSlider::SliderPageStepSub, {0, 101, 101, 0, 253, 253, 255, 0}},
      {1383, QAbstractSlider::SliderPageStepAdd, {0, 141, 101, 0, 253, 253, 255, 0}},
      {1384, QAbstractSlider::SliderToMaximum, {0, 141, 255, 0, 253, 253, 255, 0}},
      {1385, QAbstractSlider::SliderToMinimum, {0, 141, 255, 0, 0, 253, 255, 0}},
      {1387, QAbstractSlider::SliderSingleStepSub, {0, 141, 255, 0, 0, 252, 255, 0}},
  };
  start();
  with_dialog(40059, [&](QDialog& dialog) {
    click(dialog, 1368);  // "2": 101, 101, 101 on 253, 253, 253
    for (std::size_t i = 0; i < std::size(steps); ++i) {
      SCOPED_TRACE(i);
      bar(dialog, steps[i].bar)->triggerAction(steps[i].action);
      EXPECT_EQ(colour_bytes(), steps[i].colours);
    }
    // The dragged thumb is followed while it moves.
    bar(dialog, 1383)->setSliderDown(true);
    bar(dialog, 1383)->setSliderPosition(17);
    EXPECT_EQ(colour_bytes(), (Bytes{0, 17, 255, 0, 0, 252, 255, 0}));
    EXPECT_EQ(painted(kBackgroundPixel), QColor(0, 17, 255));
    bar(dialog, 1383)->setSliderDown(false);
  });
}

TEST_F(ColorDialogTest, MatchBackgroundHidesTheGridAndRandomStaysInRange) {
  start();
  with_dialog(40059, [&](QDialog& dialog) {
    click(dialog, 1371);  // "3"
    click(dialog, 1379);
    EXPECT_EQ(colour_bytes(), (Bytes{68, 22, 28, 0, 68, 22, 28, 0}));
    EXPECT_EQ(painted(kGridPixel), painted(kBackgroundPixel));

    for (int draw = 0; draw < 5; ++draw) {
      click(dialog, 1390);
      const Bytes colours = colour_bytes();
      EXPECT_EQ(colours[3], 0);
      EXPECT_EQ(colours[7], 0);
      const int ids[] = {1382, 1383, 1384, 1385, 1387, 1388};
      const int at[] = {0, 1, 2, 4, 5, 6};
      for (int i = 0; i < 6; ++i) EXPECT_EQ(bar(dialog, ids[i])->value(), colours[at[i]]);
    }
    click(dialog, 1);
  });
}

}  // namespace
}  // namespace mav::test
