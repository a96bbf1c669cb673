#include "platform/ui/TabBar.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/TabBarItem.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

namespace {

constexpr double kBarHeight = 49;
constexpr double kImageSide = 30;

// The image's alpha channel filled with `fill`, as the device draws tab icons.
QImage tinted(const QPixmap& pixmap, const QSize& size, const QBrush& fill) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(image.rect(), fill);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawPixmap(image.rect(), pixmap);
    return image;
}

} // namespace

TabBar::TabBar(QWidget* parent) : QWidget(parent) {
    setFrame(this, {0, 431, 320, kBarHeight});
}

void TabBar::setItems(const QList<TabBarItem*>& items) {
    items_ = items;
    if (selected_ >= items_.size()) {
        selected_ = items_.isEmpty() ? -1 : 0;
    }
    update();
}

void TabBar::setSelectedIndex(int index) {
    if (index >= -1 && index < items_.size()) {
        selected_ = index;
        update();
    }
}

TabBarItem* TabBar::selectedItem() const {
    return selected_ >= 0 && selected_ < items_.size() ? items_[selected_] : nullptr;
}

void TabBar::tapItemAtIndex(int index) {
    if (index < 0 || index >= items_.size()) {
        return;
    }
    if (handler_) {
        handler_(index);
    } else {
        setSelectedIndex(index);
    }
}

QRect TabBar::itemRect(int index) const {
    if (items_.isEmpty()) {
        return {};
    }
    const int left = width() * index / items_.size();
    const int right = width() * (index + 1) / items_.size();
    return QRect(left, 0, right - left, height());
}

QSize TabBar::sizeHint() const {
    return QSize(Screen::px(320), Screen::px(kBarHeight));
}

int TabBar::itemAt(QPoint position) const {
    for (int i = 0; i < items_.size(); ++i) {
        if (itemRect(i).contains(position)) {
            return i;
        }
    }
    return -1;
}

void TabBar::mousePressEvent(QMouseEvent* event) {
    pressed_ = itemAt(event->position().toPoint());
}

void TabBar::mouseReleaseEvent(QMouseEvent* event) {
    const int index = itemAt(event->position().toPoint());
    if (index >= 0 && index == pressed_) {
        tapItemAtIndex(index);
    }
    pressed_ = -1;
}

void TabBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(60, 60, 60));
    background.setColorAt(0.5, QColor(22, 22, 22));
    background.setColorAt(0.51, QColor(0, 0, 0));
    background.setColorAt(1, QColor(0, 0, 0));
    painter.fillRect(rect(), background);
    for (int i = 0; i < items_.size(); ++i) {
        paintItem(painter, i);
    }
}

void TabBar::paintItem(QPainter& painter, int index) {
    const TabBarItem* item = items_[index];
    const QRect box =
        itemRect(index).adjusted(Screen::px(2), Screen::px(2), -Screen::px(2), -Screen::px(2));
    const bool selected = index == selected_;
    if (selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 38));
        painter.drawRoundedRect(box, Screen::px(3), Screen::px(3));
    }
    const int side = Screen::px(kImageSide);
    const QRect imageBox(box.center().x() - side / 2, box.top() + Screen::px(1), side, side);
    if (!item->image().isNull()) {
        QLinearGradient tint(imageBox.topLeft(), imageBox.bottomLeft());
        if (selected) {
            tint.setColorAt(0, QColor(200, 235, 255));
            tint.setColorAt(0.5, QColor(80, 180, 250));
            tint.setColorAt(1, QColor(20, 120, 230));
        } else {
            tint.setColorAt(0, QColor(150, 150, 150));
            tint.setColorAt(1, QColor(110, 110, 110));
        }
        tint.setStart(0, 0);
        tint.setFinalStop(0, side);
        painter.drawImage(imageBox, tinted(item->image().pixmap(), imageBox.size(), tint));
    }
    painter.setFont(boldSystemFontOfSize(10));
    painter.setPen(selected ? QColor(Qt::white) : QColor(150, 150, 150));
    const QRect titleBox(box.left(), box.bottom() - Screen::px(13), box.width(), Screen::px(13));
    painter.drawText(titleBox, Qt::AlignHCenter | Qt::AlignBottom, item->title());
    if (!item->badgeValue().isEmpty()) {
        const int h = Screen::px(18);
        const int w = std::max(h, painter.fontMetrics().horizontalAdvance(item->badgeValue()) +
                                      Screen::px(10));
        const QRect badge(imageBox.right() - w / 2, box.top(), w, h);
        painter.setPen(QPen(Qt::white, Screen::px(1.5)));
        painter.setBrush(QColor(220, 20, 20));
        painter.drawRoundedRect(badge, h / 2.0, h / 2.0);
        painter.setPen(Qt::white);
        painter.drawText(badge, Qt::AlignCenter, item->badgeValue());
    }
}

} // namespace ui
