#include "platform/ui/FocusRing.h"

#include "platform/ui/Geometry.h"

#include <QEvent>
#include <QPainter>

namespace ui {

FocusRing::FocusRing(QWidget* scrollArea, QWidget* viewport,
                     std::function<std::optional<QRect>()> target)
    : QWidget(scrollArea), viewport_(viewport), target_(std::move(target)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(viewport->geometry());
    viewport->installEventFilter(this);
    show();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        setGeometry(viewport_->geometry());
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    const std::optional<QRect> target = target_();
    if (!target) {
        return;
    }
    const int width = std::max(2, Screen::px(2));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen{QColor(kColor)};
    pen.setWidth(width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double inset = width / 2.0;
    painter.drawRect(QRectF(*target).adjusted(inset, inset, -inset, -inset));
}

} // namespace ui
