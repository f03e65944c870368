#include "matrix/ui/MatrixWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "matrix/MatrixScene.h"
#include "matrix/ui/IconStore.h"

namespace mav {
namespace {

constexpr std::size_t kStatusTextMax = 255;

std::array<bool, kPortCount> SlidingOf(const SlideFrame& frame) {
  std::array<bool, kPortCount> sliding{};
  for (std::size_t p = 0; p < sliding.size(); ++p) sliding[p] = frame.icons[p].active;
  return sliding;
}

// Only the two buttons the gestures know; the middle button and the rest are no gesture.
std::optional<MouseButton> GestureButton(const QMouseEvent& event) {
  switch (event.button()) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    default:
      return std::nullopt;
  }
}

HeldKeys KeysOf(const QMouseEvent& event) {
  return {event.modifiers().testFlag(Qt::ControlModifier),
          event.modifiers().testFlag(Qt::ShiftModifier)};
}

}  // namespace

MatrixWidget::MatrixWidget(DeviceModel& model, SlideAnimator& slides, IconStore& icons,
                           QWidget* parent)
    : QWidget(parent),
      model_(model),
      slides_(slides),
      painter_(icons),
      picture_(kPictureWidth, kPictureHeight, QImage::Format_ARGB32_Premultiplied) {
  picture_.fill(Qt::black);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  set_appearance(look_);
}

void MatrixWidget::set_gestures(MatrixGestures& gestures) {
  gestures_ = &gestures;
}

void MatrixWidget::set_appearance(const MatrixAppearance& look) {
  look_ = look;
  painter_.set_appearance(look);
  slides_.set_screen_size(look.screen_size);
  slides_.set_animation_delay(look.animation_delay);
  layout_.screen_size = look.screen_size;
  dirty_ = true;
  updateGeometry();
  update();
}

void MatrixWidget::set_screen_size(int screen_size) {
  MatrixAppearance look = look_;
  look.screen_size = screen_size;
  set_appearance(look);
}

void MatrixWidget::set_view_state(const MatrixViewState& view) {
  view_ = view;
  dirty_ = true;
  update();
}

void MatrixWidget::set_contact_lost(bool lost) {
  if (painter_.dimmed() == lost) return;
  painter_.set_dimmed(lost);
  dirty_ = true;
  update();
}

void MatrixWidget::set_lock_owners(const PortLockOwners& owners) {
  painter_.set_lock_owners(owners);
  request_repaint();
}

void MatrixWidget::show_hover(int port) {
  view_.hover_port = port;
  view_.hover_shown = true;
  paint_now();
}

void MatrixWidget::hide_hover() {
  if (view_.hover_shown) {
    view_.hover_shown = false;
    paint_now();
  }
  show_status_text({});
}

void MatrixWidget::request_repaint() {
  if (slides_.any_active()) return;
  dirty_ = true;
  update();
}

void MatrixWidget::paint_now() {
  full_paint(slides_.take_frame());
  update();
}

void MatrixWidget::slide_frame() {
  update();
}

void MatrixWidget::show_status_text(std::string_view text) {
  if (text.empty()) {
    status_text_.reset();
  } else {
    const std::string_view kept = text.substr(0, kStatusTextMax);
    status_text_ = QString::fromLatin1(kept.data(), static_cast<qsizetype>(kept.size()));
  }
  painter_.DrawStatusText(picture_, status_text_);
  update();
}

void MatrixWidget::show_message(std::string_view text) {
  std::optional<QString> message;
  if (!text.empty()) {
    message = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  }
  painter_.DrawMessage(picture_, message);
  update();
}

MatrixHit MatrixWidget::hit_test(int x, int y) const {
  return HitTest(SceneOf(model_, slides_, layout_, view_.monitor_mode_port != -1), x, y);
}

QSize MatrixWidget::sizeHint() const {
  const SizeMetrics* m = MetricsFor(look_.screen_size);
  return m == nullptr ? QSize(800, 600) : QSize(m->picture.width, m->picture.height);
}

void MatrixWidget::full_paint(const SlideFrame& frame) {
  layout_ = painter_.Paint(picture_, model_, frame, view_, status_text_);
  slides_.record_painted_nets();
  painted_sliding_ = SlidingOf(frame);
  // A sliding icon's name box already shows at the row the icon is heading for.
  for (int port = 0; port < kPortCount; ++port) {
    if (painted_sliding_[static_cast<std::size_t>(port)]) {
      painter_.RefreshLabel(picture_, layout_, model_, port);
    }
  }
  dirty_ = false;
}

void MatrixWidget::paintEvent(QPaintEvent* event) {
  const SlideFrame frame = slides_.take_frame();
  // A slide that began or ended changes which icons the back buffer must leave out.
  if (dirty_ || SlidingOf(frame) != painted_sliding_) full_paint(frame);
  QPainter target(this);
  const QRect shown = event->rect().intersected(QRect(QPoint(0, 0), sizeHint()));
  if (!shown.contains(event->rect())) target.fillRect(event->rect(), Qt::black);
  target.drawImage(shown.topLeft(), picture_, shown);
  if (view_.monitor_mode_port == -1) {
    painter_.DrawSlidingIcons(target, layout_, model_, frame);
  }
}

void MatrixWidget::mousePressEvent(QMouseEvent* event) {
  const auto button = GestureButton(*event);
  if (!gestures_ || !button) return;
  const QPoint at = event->position().toPoint();
  gestures_->on_button_down(*button, KeysOf(*event), at.x(), at.y());
}

void MatrixWidget::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = GestureButton(*event);
  if (!gestures_ || !button) return;
  const QPoint at = event->position().toPoint();
  gestures_->on_button_up(*button, KeysOf(*event), at.x(), at.y());
}

// The second press of a double-click is no press; its release still is a release.
void MatrixWidget::mouseDoubleClickEvent(QMouseEvent*) {}

void MatrixWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!gestures_) return;
  const QPoint at = event->position().toPoint();
  gestures_->on_mouse_move(at.x(), at.y());
}

void MatrixWidget::leaveEvent(QEvent*) {
  if (gestures_) gestures_->on_mouse_leave();
}

}  // namespace mav
