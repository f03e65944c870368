// The look shared by every piece of matrix artwork: a dark anodised front panel with light
// engraving, coloured plug-in plates, LED-like lamps. UI thread (QPainter on QImage).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace mav::art {

// Panel metal and engraving.
inline const QColor kMetalTop{0x2e, 0x33, 0x3b};
inline const QColor kMetalBottom{0x22, 0x26, 0x2d};
inline const QColor kMetalEdgeLight{0x4a, 0x51, 0x5c};
inline const QColor kMetalEdgeDark{0x12, 0x14, 0x18};
inline const QColor kEngraving{0xc9, 0xd1, 0xd9};
inline const QColor kEngravingDim{0x8b, 0x94, 0x9e};

// A transparent image of the given size, ready for antialiased painting.
QImage BlankImage(int width, int height);
// Begins antialiased painting on an image.
void Prepare(QPainter& painter);

// Brushed panel metal over the whole rectangle, lit from above.
void FillMetal(QPainter& painter, const QRectF& rect);
// A raised rounded key: gradient body, dark outline, a highlight along its top edge.
void DrawKey(QPainter& painter, const QRectF& rect, const QColor& body, qreal radius);
// A sunken field (the text windows of the bottom panel).
void DrawRecess(QPainter& painter, const QRectF& rect);

// Sans-serif of the given pixel height and weight; condensed for tight places.
QFont SansFont(int pixel_size, bool condensed, QFont::Weight weight);
QFont BoldFont(int pixel_size, bool condensed);
// The largest bold font up to max_pixel_size whose rendering of text fits max_width.
QFont FittedFont(const QString& text, int max_width, int max_pixel_size, bool condensed);
// Text centred in rect, with a faint shadow so it reads on any plate colour.
void DrawCentredText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                     const QColor& color);

// Dark ink on light plates, white ink on dark ones.
QColor InkFor(const QColor& plate);

}  // namespace mav::art
