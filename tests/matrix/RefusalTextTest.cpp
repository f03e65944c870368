// Why a gesture was refused, in the status line (a machine without sound hears no Buzz), and the
// mark of a selection a keyboard command left pending.
#include "matrix/GestureRig.h"

namespace mav::test {
namespace {

class RefusalText : public GestureRig {
 protected:
  RefusalText() {
    put(1, {0, GROUP_NONE, GROUP_NONE, true});
    put(2, {0});
    put(3, {GROUP_NONE, 0});
    put(4, {GROUP_NONE, 0});
    put(5);
    put(6);
    model.RenumberNets();
    hooks.prefs.right_button_disconnects = true;
  }
  void type(const std::string& keys) {
    for (char key : keys) gestures.on_char(key);
  }
};

TEST_F(RefusalText, SaysWhyInTheStatusLine) {
  struct Click {
    int modifier;
    HitKind kind;
    int index;
  };
  const struct {
    std::vector<Click> clicks;
    const char* text;
  } cases[] = {
      {{{1, HIT_PORT, 1}}, "Port 01 is permanently connected"},
      {{{1, HIT_PORT, 5}}, "Port 05 is not connected"},
      {{{0, HIT_NET_BUTTON, 4}}, "Net 5 is empty"},
      {{{0, HIT_COLUMN_HEADER, 9}}, "Port 09 has no module"},
      {{{0, HIT_PORT, 3}, {0, HIT_PORT, 4}}, "Port 03 and Port 04 are in the same DISCH group"},
      {{{0, HIT_PORT, 2}, {0, HIT_NET_BUTTON, 0}}, "Port 02 is already on Net 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    for (const Click& click : c.clicks) gestures.click(click.modifier, click.kind, click.index);
    EXPECT_EQ(frontend.last_status_text(), c.text);
    gestures.on_char(kEscape);
  }
}

TEST_F(RefusalText, MarksAKeyboardSelectionUntilItEnds) {
  type("c05");
  EXPECT_EQ(frontend.last_status_text(), "c05 selected, waiting for the other end");
  type("c06");  // the other end: the two are joined
  EXPECT_EQ(frontend.last_status_text(), "");
  type("n1");
  EXPECT_EQ(frontend.last_status_text(), "n1 selected, waiting for the other end");
}

}  // namespace
}  // namespace mav::test
