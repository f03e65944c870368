#include "platform/qt/ScreenFit.h"

#include <QScrollBar>

namespace mav {
namespace {

// Asks for its whole content and a vertical scroll bar's width, so that a dialog with room to
// spare shows everything and one without scrolls only downwards.
class WholeContentArea final : public QScrollArea {
 public:
  QSize sizeHint() const override {
    const int frame = 2 * frameWidth();
    return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
  }
};

}  // namespace

QScrollArea* scrolled(QLayout* content) {
  auto* inner = new QWidget;
  inner->setLayout(content);
  auto* area = new WholeContentArea;
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setWidget(inner);
  return area;
}

void fit_to_room(QDialog& dialog) {
  dialog.resize(dialog.sizeHint().boundedTo(kDialogRoom));
}

}  // namespace mav
