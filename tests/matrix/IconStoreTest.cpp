// The artwork in the sizes of each role, and the custom icon slots.
#include <QTemporaryDir>

#include "MatrixGuiFixture.h"
#include "matrix/MatrixPortView.h"

namespace mav::test {
namespace {

using Artwork = MatrixGui;

QSize SizeOf(const IconStore& icons, int id) {
  const QImage* image = icons.Image(id);
  return image == nullptr ? QSize() : image->size();
}

TEST_F(Artwork, EveryImageInThePixelSizeOfItsRole) {
  using enum ArtRole;
  const auto disch7 = static_cast<ArtRole>(static_cast<int>(BadgeDisch1) + 6);
  const struct {
    std::initializer_list<ArtRole> roles;
    QSize small, medium, large;
  } groups[] = {
      {{Greyed13}, {48, 53}, {61, 68}, {76, 85}},
      {{Greyed26}, {24, 55}, {31, 70}, {39, 93}},
      {{LeftPanel}, {61, 600}, {78, 727}, {98, 983}},
      {{Header13, Header26}, {739, 23}, {946, 30}, {1182, 38}},
      {{BottomPanel}, {739, 99}, {946, 85}, {1182, 181}},
      {{BorderStrip}, {4, 478}, {5, 612}, {6, 764}},
      {{NetBarGreen}, {748, 7}, {957, 7}, {1201, 9}},
      {{NetBarBlue, NetBarRed, NetBarOlive}, {750, 9}, {962, 11}, {1203, 14}},
      {{BadgePermanent, BadgeMonitoring, BadgeDisch1, disch7, BadgeSelect},
       {26, 24},
       {33, 31},
       {41, 41}},
      {{LampCor, LampPtt, LampRing}, {26, 15}, {33, 19}, {41, 25}},
      {{Corner}, {53, 54}, {68, 68}, {86, 84}},
      {{MonitorOverlay}, {57, 439}, {73, 564}, {92, 706}},
  };
  for (const auto& g : groups) {
    for (ArtRole role : g.roles) {
      SCOPED_TRACE(static_cast<int>(role));
      EXPECT_EQ(SizeOf(*icons_, RoleArtId(0, role)), g.small);
      EXPECT_EQ(SizeOf(*icons_, RoleArtId(1, role)), g.medium);
      EXPECT_EQ(SizeOf(*icons_, RoleArtId(2, role)), g.large);
    }
  }
  // Every module type (1-5) in every plate colour (0-7), full and half width.
  const QSize full[] = {{48, 53}, {61, 68}, {76, 90}};
  const QSize half[] = {{24, 52}, {31, 67}, {39, 90}};
  for (int size = 0; size < 3; ++size) {
    for (int type = 1; type <= 5; ++type) {
      for (int color = 0; color < 8; ++color) {
        EXPECT_EQ(SizeOf(*icons_, ModuleIconId(size, false, type, color)), full[size]);
        EXPECT_EQ(SizeOf(*icons_, ModuleIconId(size, true, type, color)), half[size]);
      }
    }
  }
  EXPECT_EQ(icons_->Image(551), nullptr);
  EXPECT_EQ(icons_->Image(-1), nullptr);
}

class CustomIconSlots : public MatrixGui {
 protected:
  // A solid picture file of the given colour in the temp folder.
  std::string WriteIcon(const QString& name, const QColor& color, const char* format) {
    QImage image(10, 12, QImage::Format_RGB32);
    image.fill(color);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path, format));
    return path.toStdString();
  }
  QTemporaryDir dir;
  IconStore store;
};

TEST_F(CustomIconSlots, LowestFreeSlotUntilAllTwentySixAreTaken) {
  const std::string bmp = WriteIcon("Dish.bmp", Qt::magenta, "BMP");
  const std::string png = WriteIcon("Tower.png", Qt::cyan, "PNG");
  for (int slot = 0; slot < 26; ++slot) {
    EXPECT_EQ(store.LoadCustom((slot % 2 ? png : bmp).c_str(), -1), 551 + slot);
  }
  EXPECT_EQ(store.LoadCustom(bmp.c_str(), -1), -1);    // a 27th
  EXPECT_EQ(store.LoadCustom(bmp.c_str(), 557), 557);  // replacing frees the slot first
  EXPECT_EQ(store.LoadCustom(nullptr, 560), -1);       // freeing alone
  EXPECT_EQ(store.LoadCustom(png.c_str(), -1), 560);
  store.FreeCustom();
  EXPECT_EQ(store.LoadCustom(png.c_str(), -1), 551);
}

TEST_F(CustomIconSlots, ARemovedModuleFreesItsSlotAndItsPaintedNet) {
  const std::string bmp = WriteIcon("Dish.bmp", Qt::magenta, "BMP");
  for (int slot = 0; slot < 26; ++slot) ASSERT_EQ(store.LoadCustom(bmp.c_str(), -1), 551 + slot);
  AddModule({3, MOD_TOV5, 0});
  AddModule({4, MOD_TOV5, 0});
  Frame();
  ASSERT_EQ(slides.painted_net(3), 1);
  MatrixPortView view(store, slides);
  view.release_port_icon(3, 555);
  EXPECT_EQ(slides.painted_net(3), 0);
  EXPECT_EQ(slides.painted_net(4), 1);
  EXPECT_EQ(store.LoadCustom(bmp.c_str(), -1), 555);
  view.release_port_icon(4, -1);  // a preset icon frees no slot
  EXPECT_EQ(store.LoadCustom(bmp.c_str(), -1), -1);
}

TEST_F(CustomIconSlots, UnreadableFilesYieldMinusOne) {
  QFile junk(dir.filePath("junk.bmp"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("BM not really a bitmap");
  junk.close();
  for (const QString& path : {dir.filePath("missing.bmp"), junk.fileName(), QString()}) {
    EXPECT_EQ(store.LoadCustom(path.toStdString().c_str(), -1), -1) << path.toStdString();
  }
}

TEST_F(CustomIconSlots, PortShowsItsCustomIconScaledToTheIconCell) {
  const int id = icons_->LoadCustom(WriteIcon("Dish.bmp", Qt::magenta, "BMP").c_str(), -1);
  ASSERT_GE(id, 551);
  AddModule({0});
  Change(0, [&](PortRecord& r) {
    r.icon_preset = 0;
    r.icon_id = id;
  });
  const QImage frame = Frame();
  // 13 columns, small: 48 x 53 from (66, 27); the name box covers the last row.
  EXPECT_EQ(At(frame, 66, 27), QColor(Qt::magenta));
  EXPECT_EQ(At(frame, 113, 78), QColor(Qt::magenta));
  EXPECT_NE(At(frame, 114, 78), QColor(Qt::magenta));
  icons_->LoadCustom(nullptr, id);
  EXPECT_NE(At(Frame(), 66, 27), QColor(Qt::magenta));
}

}  // namespace
}  // namespace mav::test
