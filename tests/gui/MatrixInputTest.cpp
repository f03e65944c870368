// The operator's mouse and keys reach the matrix gestures through the real window: a QTest click
// on a port's pixel position selects it, keys typed to any of the window's widgets are commands,
// and Alt-held keys stay with the menus.
#include <QMenuBar>
#include <QTest>

#include "gui/ProgramRig.h"
#include "matrix/MatrixGeometry.h"

namespace mav::test {
namespace {

class MatrixInputTest : public ProgramRig {
 protected:
  void SetUp() override {
    start();
    for (int p : {3, 7}) program_->model().Update(p, [](PortRecord& r) { r.mod_type = MOD_TOV5; });
    matrix().paint_now();
  }
  MatrixWidget& matrix() { return *static_cast<MatrixWidget*>(window().centralWidget()); }
  QPoint port_position(int port) {
    const MatrixLayout layout = matrix().layout();
    return {ColumnLeft(layout, port) + 5, IconTop(layout.screen_size, 0) + 5};
  }
};

// A click on a port selects it, a Shift click does nothing, a click beside every icon ends the
// selection; Alt+C opens the Connect menu and types nothing, keys typed to the menu bar are
// commands.
TEST_F(MatrixInputTest, MouseAndKeysReachTheGestures) {
  const auto selected = [&] {
    return program_->session().selection_pending() ? program_->session().selected_index.load() : -1;
  };
  QTest::mouseClick(&matrix(), Qt::LeftButton, {}, port_position(7));
  QTest::mouseClick(&matrix(), Qt::LeftButton, Qt::ShiftModifier, port_position(3));
  EXPECT_EQ(selected(), 7);
  QTest::mouseClick(&matrix(), Qt::LeftButton, {}, QPoint(400, 580));
  EXPECT_EQ(selected(), -1);
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QTest::keyClick(&matrix(), Qt::Key_C, Qt::AltModifier);
  QWidget* menu = QApplication::activePopupWidget();
  ASSERT_NE(menu, nullptr);
  menu->close();
  QTest::keyClicks(window().menuBar(), "03");
  EXPECT_EQ(selected(), -1);
  QTest::keyClicks(window().menuBar(), "c03");
  EXPECT_EQ(selected(), 3);
  QTest::keyClick(&matrix(), Qt::Key_Escape);
  EXPECT_EQ(selected(), -1);
}

}  // namespace
}  // namespace mav::test
