#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// Geometry of the touch screen, in points. The kit lays out everything on a
// 320 × 480 point screen; Screen::scale() turns points into Qt's device-independent
// pixels so the same layout fills a bigger window.
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool contains(Point p) const {
        return p.x >= x && p.y >= y && p.x < x + width && p.y < y + height;
    }
    bool operator==(const Rect&) const = default;
};

// The screen the kit draws on: its bounds in points and the point-to-pixel scale.
class Screen {
public:
    static Rect bounds();
    static Rect applicationFrame();

    static double scale();
    static void setScale(double scale);

    static int px(double points);
    static double toPoints(int pixels);
    static QRect toPixels(Rect rect);
    static Rect toPoints(QRect rect);

    // The scale for a window on a display with `availablePixels` of room, whose frame
    // (title bar, borders) takes `decorationPixels` more than its content: the largest
    // step of 0.25 between 1 and 3 at which the whole screen fits within 85% of the
    // room; else 1 if it fits whole; else the largest step of 0.05 (at least 0.25)
    // at which it fits, so that a small display never cuts the window off.
    static double chooseScale(QSize availablePixels, QSize decorationPixels = {});
};

void setFrame(QWidget* widget, Rect frame);
Rect frame(const QWidget* widget);

} // namespace ui
