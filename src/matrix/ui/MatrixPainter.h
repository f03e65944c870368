// Paints the whole matrix picture into the 1280 x 1024 back buffer: panels, background and grid,
// net bars, ports with their badges, lamps and labels, monitor mode, the status line, the corner
// and the hover boxes. UI thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <array>
#include <optional>
#include <string>

#include "matrix/Artwork.h"
#include "matrix/MatrixAppearance.h"
#include "matrix/MatrixGeometry.h"
#include "matrix/MatrixViewState.h"
#include "matrix/SlideAnimator.h"
#include "model/PortRecord.h"

namespace mav {

class DeviceModel;
class IconStore;

// Who holds each port's lock on the service the console is attached to; empty: nobody.
using PortLockOwners = std::array<std::string, kPortCount>;

class MatrixPainter {
 public:
  explicit MatrixPainter(IconStore& icons);

  // Colours and size; the pens and brushes follow at the next paint.
  void set_appearance(const MatrixAppearance& look);
  // The picture of a gateway that does not answer: dimmed, without lamps, from the next paint.
  void set_dimmed(bool dimmed) { dimmed_ = dimmed; }
  bool dimmed() const { return dimmed_; }
  // The locked ports carry a padlock, and their hover text the owner, from the next paint.
  void set_lock_owners(const PortLockOwners& owners) { lock_owners_ = owners; }
  const PortLockOwners& lock_owners() const { return lock_owners_; }

  // The full picture. Renumbers the nets first (which writes the model), leaves out the icons
  // that the frame shows sliding, and answers the layout it chose.
  MatrixLayout Paint(QImage& picture, DeviceModel& model, const SlideFrame& slides,
                     const MatrixViewState& view, const std::optional<QString>& status_text);

  // The status line and the message line; no text blacks the line out.
  void DrawStatusText(QImage& picture, const std::optional<QString>& text) const;
  void DrawMessage(QImage& picture, const std::optional<QString>& text) const;
  // The port's name box at its row, drawn into the picture alone.
  void RefreshLabel(QImage& picture, const MatrixLayout& layout, const DeviceModel& model,
                    int port) const;
  // The icons in mid-slide, over a copy of the picture.
  void DrawSlidingIcons(QPainter& target, const MatrixLayout& layout, const DeviceModel& model,
                        const SlideFrame& slides) const;

  const QFont& label_font() const { return label_font_; }

 private:
  void DrawFrame(QPainter& p, const DeviceModel& model, const MatrixLayout& layout) const;
  void DrawPorts(QPainter& p, const DeviceModel& model, const MatrixLayout& layout,
                 const SlideFrame& slides) const;
  void DrawBadges(QPainter& p, const PortRecord& record, int port, const DeviceModel& model,
                  const MatrixLayout& layout, int x, int y) const;
  void DrawMonitorMode(QPainter& p, const DeviceModel& model, const MatrixLayout& layout,
                       int monitor_port) const;
  void DrawLabel(QPainter& p, const Rect& box, const QString& text, const QColor& fill,
                 const QColor& ink) const;
  void DrawNameBox(QPainter& p, const PortRecord& record, const MatrixLayout& layout, int port,
                   int row) const;
  void DrawHoverBoxes(QPainter& p, const DeviceModel& model, const MatrixLayout& layout,
                      int port) const;
  void DrawLineText(QPainter& p, const Rect& line, const std::optional<QString>& text) const;
  void DrawArt(QPainter& p, ArtRole role, int x, int y) const;
  void DrawPadlock(QPainter& p, int x, int y) const;

  IconStore& icons_;
  MatrixAppearance look_;
  bool dimmed_ = false;
  PortLockOwners lock_owners_;
  QFont label_font_;
  QFont status_fonts_[kScreenSizeCount];
};

}  // namespace mav
