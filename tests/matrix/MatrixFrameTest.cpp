// The custom icon slots of the icon store, and the matrix widget drawing damaged port data.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

#include "matrix/MatrixPortView.h"
#include "matrix/SlideAnimator.h"
#include "matrix/ui/IconStore.h"
#include "matrix/ui/MatrixWidget.h"
#include "support/FakeClock.h"

namespace mav::test {
namespace {

// One QApplication for the whole executable, on the off-screen platform, ended before exit so
// that the leak checker sees the toolkit's own allocations released.
struct QtEnvironment : testing::Environment {
  void SetUp() override {
    static int argc = 1;
    static char name[] = "matrix_gui_tests", *argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    app = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app.reset(); }
  std::unique_ptr<QApplication> app;
};
testing::Environment* const kQtEnvironment = testing::AddGlobalTestEnvironment(new QtEnvironment);

class MatrixGui : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    icons = new IconStore;
    ASSERT_TRUE(icons->LoadAll());
  }
  static void TearDownTestSuite() { delete icons; }

  MatrixGui() { widget.resize(widget.sizeHint()); }

  static inline IconStore* icons = nullptr;
  QTemporaryDir dir;
  DeviceModel model;
  FakeClock clock;
  SlideAnimator slides{model, clock};
  MatrixWidget widget{model, slides, *icons};
};

TEST_F(MatrixGui, CustomIconsTakeTheLowestFreeOfTwentySixSlots) {
  QImage image(10, 12, QImage::Format_RGB32);
  const std::string bmp = dir.filePath("icon.bmp").toStdString();
  ASSERT_TRUE(image.save(QString::fromStdString(bmp), "BMP"));
  IconStore store;
  for (int slot = 0; slot < 26; ++slot) EXPECT_EQ(store.LoadCustom(bmp.c_str(), -1), 551 + slot);
  EXPECT_EQ(store.LoadCustom(bmp.c_str(), -1), -1);    // a 27th
  EXPECT_EQ(store.LoadCustom(bmp.c_str(), 557), 557);  // replacing frees the slot first
  EXPECT_EQ(store.LoadCustom(nullptr, 560), -1);       // freeing alone
  EXPECT_EQ(store.LoadCustom(bmp.c_str(), -1), 560);
  MatrixPortView view(store, slides, [](const SlideStep&) {});
  view.release_port_icon(3, 555);  // a removed module frees its slot
  view.release_port_icon(4, -1);   // a preset icon frees none
  const int after_release = store.LoadCustom(bmp.c_str(), -1);
  const int full = store.LoadCustom(bmp.c_str(), -1);
  store.FreeCustom();
  const int after_free = store.LoadCustom(bmp.c_str(), -1);
  EXPECT_EQ(std::tuple(after_release, full, after_free,
                       store.LoadCustom(dir.filePath("missing.bmp").toStdString().c_str(), -1),
                       store.LoadCustom("", -1)),
            std::tuple(555, -1, 551, -1, -1));
}

TEST_F(MatrixGui, BadPortDataNeverOverrunsAField) {
  for (int port : {0, 1}) {
    PortRecord r{};
    r.mod_type = port == 0 ? 9u : std::uint32_t{MOD_TOV5};  // 9: no such module type
    r.icon_preset = port == 0 ? 1 : 0;  // port 1: a custom icon that was never loaded
    r.icon_id = 9999, r.icon_color = 200, r.disch_group = 200, r.net = -3;
    std::memset(r.port_name, 'X', sizeof r.port_name);  // no end mark
    std::memset(r.monitors, 7, sizeof r.monitors);
    model.SetPort(port, r);
  }
  for (int size : {0, 1, 2, 7}) {
    widget.set_screen_size(size);
    widget.request_repaint();
    widget.grab();
    for (int port : {-4, 1, 40}) widget.show_hover(port);
  }
}

// While the gateway does not answer: dimmed, with no COR, PTT or RING lamp lit, and as before once
// it answers again.
TEST_F(MatrixGui, DimmedWithoutLampsWhileContactIsLost) {
  const auto frame = [&] {
    widget.request_repaint();
    return widget.grab().toImage();
  };
  const auto lamps = [&](std::uint8_t on) {
    for (int port : {0, 1}) {
      model.Update(port, [on](PortRecord& r) {
        r.mod_type = MOD_TOV5, r.icon_preset = 1, r.cor_active = r.ptt_active = r.ring_active = on;
      });
    }
  };
  lamps(0);
  const QImage quiet = frame();
  lamps(1);
  ASSERT_NE(frame(), quiet);
  widget.set_contact_lost(true);
  const QImage dimmed = frame();
  lamps(0);
  EXPECT_EQ(frame(), dimmed);  // the lamps made no difference
  EXPECT_LT(dimmed.pixelColor(350, 250).lightness(), quiet.pixelColor(350, 250).lightness());
  widget.set_contact_lost(false);
  EXPECT_EQ(frame(), quiet);
}

}  // namespace
}  // namespace mav::test
