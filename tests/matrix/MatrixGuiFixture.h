// A matrix widget over a real device model and a fake clock, rendered off screen, with helpers
// to populate ports and to read rendered pixels.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "matrix/SlideAnimator.h"
#include "matrix/ui/IconStore.h"
#include "matrix/ui/MatrixWidget.h"
#include "model/DeviceModel.h"
#include "support/FakeClock.h"

namespace mav::test {

// One QApplication for the whole executable, on the off-screen platform.
class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "matrix_gui_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

inline testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

struct PortSetup {
  int port;
  ModuleType type = MOD_TOV5;
  int bus = GROUP_NONE;
  const char* name = "";
  int color = 4;  // green
};

class MatrixGui : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    icons_ = new IconStore;
    ASSERT_TRUE(icons_->LoadAll());
  }
  static void TearDownTestSuite() {
    delete icons_;
    icons_ = nullptr;
  }

  MatrixGui() : widget(model, slides, *icons_) { UseSize(0); }

  void UseSize(int screen_size) {
    MatrixAppearance look = widget.appearance();
    look.screen_size = screen_size;
    widget.set_appearance(look);
    widget.resize(widget.sizeHint());
  }

  // Reads the port's record, lets `edit` change it and stores it back.
  template <typename Edit>
  void Change(int port, Edit edit) {
    PortRecord record{};
    model.GetPort(port, record);
    edit(record);
    ASSERT_TRUE(model.SetPort(port, record));
  }

  void AddModule(const PortSetup& setup) {
    Change(setup.port, [&](PortRecord& record) {
      record.mod_type = setup.type;
      record.bus = static_cast<std::int16_t>(setup.bus);
      record.icon_preset = 1;
      record.icon_color = static_cast<std::uint8_t>(setup.color);
      std::strncpy(record.port_name, setup.name, sizeof record.port_name - 1);
    });
  }

  // The ports the given port monitors, followed by the end mark.
  void SetMonitors(int port, std::initializer_list<int> monitored) {
    Change(port, [&](PortRecord& record) {
      std::size_t i = 0;
      for (int m : monitored) record.monitors[i++] = static_cast<std::uint8_t>(m);
      record.monitors[i] = static_cast<std::uint8_t>(PORT_NONE);
    });
  }

  // The frame as the window shows it (back buffer plus any sliding icons), after a full repaint
  // or, from Shown(), without one.
  QImage Frame() {
    widget.request_repaint();
    return Shown();
  }
  QImage Shown() { return widget.grab().toImage(); }

  static QColor At(const QImage& frame, int x, int y) { return frame.pixelColor(x, y); }
  static bool IsBackground(const QColor& c) { return c == QColor(31, 50, 76); }
  static bool IsGreenish(const QColor& c) {
    return c.green() > 120 && c.green() > c.red() + 40 && c.green() > c.blue() + 40;
  }

  DeviceModel model;
  FakeClock clock;
  SlideAnimator slides{model, clock};
  static inline IconStore* icons_ = nullptr;
  MatrixWidget widget;
};

}  // namespace mav::test
