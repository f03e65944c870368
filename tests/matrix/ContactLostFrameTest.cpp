// The picture while the gateway does not answer: dimmed, with no COR, PTT or RING lamp lit, and
// as before once it answers again.
#include "matrix/MatrixGuiFixture.h"

namespace mav::test {
namespace {

using ContactLostFrames = MatrixGui;

TEST_F(ContactLostFrames, DimmedWithoutLampsUntilTheGatewayAnswers) {
  AddModule({0});
  AddModule({1});
  const QImage quiet = Frame();
  Change(0, [](PortRecord& record) { record.cor_active = 1; });
  Change(1, [](PortRecord& record) {
    record.ptt_active = 1;
    record.ring_active = 1;
  });
  const QImage lit = Frame();
  ASSERT_NE(lit, quiet);

  widget.set_contact_lost(true);
  const QImage dimmed = Frame();
  Change(0, [](PortRecord& record) { record.cor_active = 0; });
  Change(1, [](PortRecord& record) {
    record.ptt_active = 0;
    record.ring_active = 0;
  });
  EXPECT_EQ(Frame(), dimmed);  // the lamps made no difference
  const QRect matrix(300, 200, 100, 100);
  for (int y = matrix.top(); y < matrix.bottom(); y += 25) {
    for (int x = matrix.left(); x < matrix.right(); x += 25) {
      EXPECT_LT(At(dimmed, x, y).lightness(), At(quiet, x, y).lightness() + 1);
    }
  }
  EXPECT_LT(At(dimmed, 350, 250).lightness(), At(quiet, 350, 250).lightness());

  widget.set_contact_lost(false);
  EXPECT_EQ(Frame(), quiet);
}

}  // namespace
}  // namespace mav::test
