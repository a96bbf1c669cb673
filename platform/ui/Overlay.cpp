#include "platform/ui/Overlay.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/ViewFitter.h"
#include "platform/ui/Window.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ui {

namespace {
constexpr double kAlertWidth = 284;
constexpr double kAlertRadius = 10;
} // namespace

Overlay::Overlay(Look look) : look_(look) {
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::ClickFocus);
}

void Overlay::setPanel(QWidget* panel) {
    delete panel_;
    panel_ = panel;
    panel->setParent(this);
    placePanel();
}

void Overlay::present() {
    if (Window* window = Window::keyWindow()) {
        ViewFitter::fill(this, window);
    } else {
        setFrame(this, Screen::bounds());
    }
    placePanel();
    show();
    raise();
    // Keys go to the overlay (and on to the window's Escape), not to the screen under it.
    setFocus(Qt::OtherFocusReason);
}

void Overlay::placePanel() {
    if (panel_ == nullptr) {
        return;
    }
    if (look_ == Look::Alert) {
        const int width = std::min(Screen::px(kAlertWidth), this->width());
        const int height = panel_->hasHeightForWidth() ? panel_->heightForWidth(width)
                                                       : panel_->sizeHint().height();
        panel_->setGeometry((this->width() - width) / 2, (this->height() - height) / 2, width,
                            height);
    } else {
        const int height = panel_->hasHeightForWidth() ? panel_->heightForWidth(width())
                                                       : panel_->sizeHint().height();
        panel_->setGeometry(0, this->height() - height, width(), height);
    }
    update();
}

void Overlay::resizeEvent(QResizeEvent*) {
    placePanel();
}

void Overlay::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void Overlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0, 0, 0, look_ == Look::Alert ? 100 : 80));
    if (panel_ == nullptr) {
        return;
    }
    const QRectF box = QRectF(panel_->geometry()).adjusted(1, 1, -1, -1);
    switch (look_) {
    case Look::Alert: {
        const double radius = Screen::px(kAlertRadius);
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        // Opaque: rows behind an alert must not show through its title.
        gradient.setColorAt(0, QColor(60, 80, 140));
        gradient.setColorAt(0.25, QColor(20, 40, 100));
        gradient.setColorAt(1, QColor(10, 25, 80));
        painter.setPen(QPen(QColor(230, 230, 240), Screen::px(2)));
        painter.setBrush(gradient);
        painter.drawRoundedRect(box, radius, radius);
        break;
    }
    case Look::Sheet: {
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, QColor(110, 125, 150));
        gradient.setColorAt(1, QColor(60, 75, 100));
        painter.fillRect(box, gradient);
        break;
    }
    case Look::BlackSheet:
        painter.fillRect(box, QColor(20, 20, 20));
        break;
    }
}

} // namespace ui
