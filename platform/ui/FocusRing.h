#pragma once

#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

namespace ui {

// A ring around the rectangle the keyboard is on, drawn above a scroll area's viewport
// and everything in it (it is the viewport's sibling, made after it). It follows the
// viewport's size and lets the mouse through.
class FocusRing : public QWidget {
public:
    static constexpr QRgb kColor = qRgb(59, 153, 252);

    // `target` tells where the ring goes, in viewport pixels, or nothing for no ring.
    FocusRing(QWidget* scrollArea, QWidget* viewport, std::function<std::optional<QRect>()> target);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* viewport_;
    std::function<std::optional<QRect>()> target_;
};

} // namespace ui
