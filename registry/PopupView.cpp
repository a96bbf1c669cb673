#include "registry/PopupView.h"

#include "platform/ui/ViewAnimation.h"

#include <QColor>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr double kLineWidth = 2.0;

} // namespace

PopupView::PopupView(ui::Rect frame)
    : borderColor_(ui::Color::fromQColor(QColor::fromHsvF(0.625, 0, 0.8, 0.8))) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    ui::setFrame(this, frame);
}

void PopupView::setFillColor(ui::Color color) {
    fillColor_ = color;
    update();
}

void PopupView::setBorderColor(ui::Color color) {
    borderColor_ = color;
    update();
}

void PopupView::setCornerRadius(double radius) {
    cornerRadius_ = radius;
    update();
}

void PopupView::setAlpha(double alpha) {
    alpha_ = alpha;
    update();
}

ui::Rect PopupView::centreOfParent() const {
    const QWidget* parent = parentWidget();
    const ui::Rect bounds = parent != nullptr ? ui::Screen::toPoints(parent->rect()) : ui::Rect{};
    return {bounds.width / 2, bounds.height / 2, 0, 0};
}

void PopupView::showInView(QWidget* view) {
    if (showing_) {
        return;
    }
    const ui::Rect remembered = ui::frame(this);
    setParent(view);
    showing_ = true;
    ui::setFrame(this, centreOfParent());
    show();
    raise();
    setFocus(Qt::PopupFocusReason);
    ui::ViewAnimation::animateFrame(this, remembered, kAnimationSeconds,
                                    [this] { viewDidAppear(); });
}

void PopupView::dismiss() {
    if (!showing_) {
        return;
    }
    showing_ = false;
    ui::ViewAnimation::animateFrame(this, centreOfParent(), kAnimationSeconds, [this] {
        removeFromParent();
        viewDidDismiss();
    });
}

void PopupView::removeFromParent() {
    hide();
    setParent(nullptr);
}

void PopupView::drawRoundedRect(const QRectF& rect, QPainterPath& context, double radius) {
    context.addRoundedRect(rect, radius, radius);
    context.closeSubpath();
}

void PopupView::paintEvent(QPaintEvent* /*event*/) {
    const ui::Rect bounds = ui::Screen::toPoints(rect());
    const double x = bounds.x;
    const double y = bounds.y;
    const double w = bounds.width;
    const double h = bounds.height;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ui::Screen::scale(), ui::Screen::scale());
    painter.setOpacity(alpha_);
    painter.setPen(QPen(borderColor_.toQColor(), kLineWidth));
    painter.setBrush(fillColor_.toQColor());
    QPainterPath outline;
    drawRoundedRect(QRectF(x + 2, y + 2, w - 4, h - 4), outline, cornerRadius_);
    painter.drawPath(outline);

    QPainterPath inside;
    drawRoundedRect(QRectF(x + 3, y + 3, w - 6, h - 6), inside, cornerRadius_);
    QPainterPath gloss;
    gloss.addEllipse(QRectF(-130, -115, 2 * w, w / 2));
    painter.setClipPath(inside.intersected(gloss));
    painter.setOpacity(1.0);
    QLinearGradient gradient(QPointF(x, y), QPointF(x, h / 5));
    gradient.setColorAt(0.0, QColor::fromRgbF(1, 1, 1, 0.35));
    gradient.setColorAt(1.0, QColor::fromRgbF(1, 1, 1, 0.06));
    gradient.setSpread(QGradient::PadSpread);
    // Not extended past its ends: below h / 5 nothing of the gradient is drawn.
    painter.fillRect(QRectF(x, y, w, h / 5), gradient);
}

void PopupView::touchesEnded(const ui::Touch& touch) {
    ui::TouchView::touchesEnded(touch);
    if (touch.tapCount == 1 && tapCloseEnabled_) {
        dismiss();
    }
}

void PopupView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (tapCloseEnabled_) {
            dismiss();
        }
        event->accept();
        return;
    default:
        ui::TouchView::keyPressEvent(event);
    }
}
