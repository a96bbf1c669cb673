#include "platform/ui/ActivityIndicatorView.h"

#include "platform/ui/Geometry.h"

#include <QPainter>
#include <QTimer>

#include <cmath>

namespace ui {

namespace {
constexpr int kSpokes = 12;
}

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style, QWidget* parent)
    : QWidget(parent), style_(style), timer_(new QTimer(this)) {
    timer_->setInterval(80);
    connect(timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kSpokes;
        update();
    });
    resize(sizeHint());
    setVisible(false);
}

void ActivityIndicatorView::startAnimating() {
    timer_->start();
    show();
}

void ActivityIndicatorView::stopAnimating() {
    timer_->stop();
    if (hidesWhenStopped_) {
        hide();
    }
}

bool ActivityIndicatorView::isAnimating() const {
    return timer_->isActive();
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    if (!hides) {
        show();
    }
}

QSize ActivityIndicatorView::sizeHint() const {
    const int side = Screen::px(style_ == ActivityIndicatorViewStyle::WhiteLarge ? 37 : 20);
    return QSize(side, side);
}

void ActivityIndicatorView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    const QColor base =
        style_ == ActivityIndicatorViewStyle::Gray ? QColor(90, 90, 90) : QColor(Qt::white);
    for (int i = 0; i < kSpokes; ++i) {
        QColor color = base;
        color.setAlphaF(0.2 + 0.8 * ((i - step_ + kSpokes) % kSpokes) / (kSpokes - 1.0));
        painter.setPen(QPen(color, side / 10, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, side * 0.22), QPointF(0, side * 0.45));
        painter.rotate(360.0 / kSpokes);
    }
}

} // namespace ui
