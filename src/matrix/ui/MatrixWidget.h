// The matrix as the main window shows it: the back buffer painted by MatrixPainter, copied to
// the widget, with icons in mid-slide drawn over the copy. Every member runs on the UI thread; the
// Qt frontend forwards the core's Frontend calls here after posting them to the UI thread.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <optional>
#include <string_view>

#include "matrix/GestureHooks.h"
#include "matrix/HitTest.h"
#include "matrix/MatrixAppearance.h"
#include "matrix/MatrixGestures.h"
#include "matrix/MatrixViewState.h"
#include "matrix/SlideAnimator.h"
#include "matrix/ui/MatrixPainter.h"

namespace mav {

class DeviceModel;
class IconStore;

class MatrixWidget : public QWidget, public MatrixView {
  Q_OBJECT

 public:
  // The icons must have been loaded (IconStore::LoadAll).
  MatrixWidget(DeviceModel& model, SlideAnimator& slides, IconStore& icons,
               QWidget* parent = nullptr);

  // Preferences: screen size, colours, slide duration, hover descriptions. Passes the size and
  // the duration on to the slide animator and repaints.
  void set_appearance(const MatrixAppearance& look);
  const MatrixAppearance& appearance() const { return look_; }
  void set_screen_size(int screen_size);

  // Mouse presses, releases and movements over the matrix go to the gestures from now on.
  void set_gestures(MatrixGestures& gestures);

  // Monitor mode, corner switch and hover box, as the gesture code decides them; repaints.
  void set_view_state(const MatrixViewState& view) override;
  const MatrixViewState& view_state() const { return view_; }
  // While the gateway does not answer, the picture is dimmed and shows no COR, PTT or RING lamp:
  // what it shows may no longer be true. Repaints when this changes.
  void set_contact_lost(bool lost);
  // The owners of the port locks on an attached service; repaints.
  void set_lock_owners(const PortLockOwners& owners);
  const PortLockOwners& lock_owners() const { return painter_.lock_owners(); }
  // The hover box of a port, drawn at once; hide_hover removes a shown box and clears the
  // status line.
  void show_hover(int port);
  void hide_hover();

  // A full repaint soon, unless icons slide (the last slide to end repaints).
  void request_repaint();
  // A full repaint now.
  void paint_now();
  // The slide animator has new positions (SlideStep::frame_due).
  void slide_frame();

  // The status line (at most 255 characters); an empty text clears it and blacks the line out.
  void show_status_text(std::string_view text);
  const std::optional<QString>& status_text() const { return status_text_; }
  // The message line, drawn at once and not kept: the next full paint removes it. An empty text
  // blacks the line out.
  void show_message(std::string_view text);

  // The layout of the last paint, and what lies under a point of the picture.
  MatrixLayout layout() const override { return layout_; }
  MatrixHit hit_test(int x, int y) const;
  // The back buffer (1280 x 1024; the screen size's top-left part is shown).
  const QImage& picture() const { return picture_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void full_paint(const SlideFrame& frame);

  DeviceModel& model_;
  SlideAnimator& slides_;
  MatrixGestures* gestures_ = nullptr;
  MatrixPainter painter_;
  MatrixAppearance look_;
  MatrixViewState view_;
  MatrixLayout layout_;
  std::optional<QString> status_text_;
  QImage picture_;
  bool dirty_ = true;
  std::array<bool, kPortCount> painted_sliding_{};  // icons left out of the back buffer
};

}  // namespace mav
