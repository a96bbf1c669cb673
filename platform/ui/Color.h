#pragma once

#include <QColor>

namespace ui {

// A colour as the touch toolkit gives it: red, green, blue and alpha from 0 to 1.
// (The components are r, g, b, a: red(), green() and blue() are the named colours.)
struct Color {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 1;

    QColor toQColor() const { return QColor::fromRgbF(r, g, b, a); }
    static Color fromQColor(const QColor& c) {
        return {c.redF(), c.greenF(), c.blueF(), c.alphaF()};
    }
    static Color colorWithWhiteAlpha(double white, double alpha) {
        return {white, white, white, alpha};
    }
    Color colorWithAlphaComponent(double alpha) const { return {r, g, b, alpha}; }

    static Color black() { return {0, 0, 0, 1}; }
    static Color white() { return {1, 1, 1, 1}; }
    static Color clear() { return {0, 0, 0, 0}; }
    static Color gray() { return {0.5, 0.5, 0.5, 1}; }
    static Color lightGray() { return {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static Color darkGray() { return {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}; }
    static Color red() { return {1, 0, 0, 1}; }
    static Color green() { return {0, 1, 0, 1}; }
    static Color blue() { return {0, 0, 1, 1}; }

    // The same colours under the toolkit's own names.
    static Color blackColor() { return black(); }
    static Color whiteColor() { return white(); }
    static Color clearColor() { return clear(); }
    static Color grayColor() { return gray(); }
    static Color lightGrayColor() { return lightGray(); }
    static Color darkGrayColor() { return darkGray(); }
    static Color redColor() { return red(); }
    static Color greenColor() { return green(); }
    static Color blueColor() { return blue(); }

    bool operator==(const Color&) const = default;
};

} // namespace ui
