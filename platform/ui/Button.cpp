#include "platform/ui/Button.h"

#include "platform/ui/Font.h"
#include "platform/ui/Painting.h"

#include <QPainter>

namespace ui {

namespace {
const QColor kTitleBlue(50, 79, 133);
} // namespace

Button::Button(ButtonType type, QWidget* parent) : QAbstractButton(parent), type_(type) {
    QAbstractButton::setFont(boldSystemFontOfSize(15));
    setCursor(Qt::PointingHandCursor);
    resize(sizeHint());
}

Button* Button::buttonWithType(ButtonType type) {
    return new Button(type);
}

void Button::setTitle(const QString& title) {
    setText(title);
    updateGeometry();
    update();
}

void Button::setTitleColor(Color color) {
    titleColor_ = color;
    update();
}

void Button::setImage(const Image& image) {
    image_ = image;
    updateGeometry();
    update();
}

void Button::setBackgroundImage(const Image& image) {
    backgroundImage_ = image;
    update();
}

void Button::setFont(const QFont& font) {
    QAbstractButton::setFont(font);
}

void Button::addTargetActionForTouchUpInside(std::function<void()> action) {
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

QSize Button::sizeHint() const {
    switch (type_) {
    case ButtonType::InfoLight:
    case ButtonType::InfoDark:
        return QSize(Screen::px(18), Screen::px(19));
    case ButtonType::DetailDisclosure:
    case ButtonType::ContactAdd:
        return QSize(Screen::px(29), Screen::px(31));
    default:
        break;
    }
    const int textWidth = fontMetrics().horizontalAdvance(text());
    const Size imageSize = image_.size();
    const int width = textWidth + Screen::px(imageSize.width) + Screen::px(20);
    const int height = std::max(Screen::px(37), Screen::px(imageSize.height));
    return QSize(width, height);
}

void Button::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    switch (type_) {
    case ButtonType::DetailDisclosure:
        painting::drawDetailDisclosure(painter, area, isDown());
        return;
    case ButtonType::InfoLight:
    case ButtonType::InfoDark:
        painting::drawInfo(painter, area, type_ == ButtonType::InfoLight);
        return;
    case ButtonType::ContactAdd:
        painting::drawContactAdd(painter, area);
        return;
    case ButtonType::RoundedRect:
        paintRoundedRect(painter);
        paintContent(painter, area,
                     titleColor_ ? titleColor_->toQColor()
                     : isDown()  ? QColor(Qt::white)
                                 : kTitleBlue);
        return;
    case ButtonType::Custom:
        if (!backgroundImage_.isNull()) {
            painter.drawPixmap(rect(), backgroundImage_.pixmap());
        }
        paintContent(painter, area, titleColor_ ? titleColor_->toQColor() : QColor(Qt::white));
        if (isDown()) {
            painter.fillRect(rect(), QColor(0, 0, 0, 60));
        }
        return;
    }
}

void Button::paintRoundedRect(QPainter& painter) {
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = Screen::px(9);
    painter.setPen(QPen(QColor(150, 150, 160), 1));
    if (isDown()) {
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, QColor(5, 140, 245));
        gradient.setColorAt(1, QColor(1, 94, 230));
        painter.setBrush(gradient);
    } else {
        painter.setBrush(Qt::white);
    }
    painter.drawRoundedRect(box, radius, radius);
}

void Button::paintContent(QPainter& painter, const QRectF& area, const QColor& titleColor) {
    QRectF textArea = area;
    if (!image_.isNull()) {
        const Size size = image_.size();
        const double width = Screen::px(size.width);
        const double height = Screen::px(size.height);
        const double textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text());
        const double left = area.center().x() - (width + textWidth) / 2;
        const QRectF imageBox(left, area.center().y() - height / 2, width, height);
        painter.drawPixmap(imageBox.toRect(), image_.pixmap());
        textArea.setLeft(imageBox.right());
        textArea.setWidth(textWidth);
    }
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(isEnabled() ? titleColor : QColor(150, 150, 150));
        painter.drawText(textArea, Qt::AlignCenter, text());
    }
}

} // namespace ui
