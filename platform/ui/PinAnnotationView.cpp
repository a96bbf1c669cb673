#include "platform/ui/PinAnnotationView.h"

#include "platform/ui/MapView.h"

#include <QEvent>
#include <QPainter>

namespace ui {

PinAnnotationView::PinAnnotationView(Annotation* annotation, const QString& reuseIdentifier,
                                     QWidget* parent)
    : TouchView(parent), annotation_(annotation), reuseIdentifier_(reuseIdentifier) {
    setFrame(this, {0, 0, kWidth, kHeight});
    setAttribute(Qt::WA_TranslucentBackground);
}

Point PinAnnotationView::center() const {
    const Rect box = frame(this);
    return {box.x + box.width / 2, box.y + box.height / 2};
}

void PinAnnotationView::setCenter(Point center) {
    setFrame(this, {center.x - kWidth / 2, center.y - kHeight / 2, kWidth, kHeight});
}

MapView* PinAnnotationView::mapView() const {
    return dynamic_cast<MapView*>(parentWidget());
}

void PinAnnotationView::touchesEnded(const Touch& /*touch*/) {
    if (MapView* map = mapView(); map != nullptr && annotation_ != nullptr) {
        map->selectAnnotation(annotation_, true);
    }
}

void PinAnnotationView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    }
    TouchView::changeEvent(event);
}

void PinAnnotationView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(Screen::scale(), Screen::scale());
    const double middle = kWidth / 2;
    painter.setPen(QPen(QColor(90, 90, 90), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(middle, 14), QPointF(middle, kHeight - 1));
    QRadialGradient head(QPointF(middle - 3, 5), 10);
    head.setColorAt(0, QColor(255, 140, 140));
    head.setColorAt(1, QColor(200, 0, 0));
    painter.setPen(QPen(QColor(120, 0, 0), 1));
    painter.setBrush(head);
    painter.drawEllipse(QPointF(middle, 9), 8, 8);
}

} // namespace ui
