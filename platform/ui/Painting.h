#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The kit's drawn artwork, shared by buttons, cells and bars: every shape is drawn
// with QPainter into the rectangle it is given, so it scales with the screen.
namespace ui::painting {

// Blue round button with a white chevron (the detail-disclosure button).
void drawDetailDisclosure(QPainter& painter, const QRectF& box, bool pressed);
// Gray chevron pointing right (the disclosure indicator).
void drawChevron(QPainter& painter, const QRectF& box, const QColor& color);
void drawCheckmark(QPainter& painter, const QRectF& box, const QColor& color);
// An "i" in a circle; light for dark backgrounds.
void drawInfo(QPainter& painter, const QRectF& box, bool light);
// Blue round button with a white plus.
void drawContactAdd(QPainter& painter, const QRectF& box);
// A red circle with a white bar (the delete control of a table in editing mode).
void drawDeleteControl(QPainter& painter, const QRectF& box);

// The glossy vertical gradient of bars and buttons, from `top` to `bottom` colours.
void fillGloss(QPainter& painter, const QRectF& box, const QColor& top, const QColor& bottom,
               double radius);

} // namespace ui::painting
