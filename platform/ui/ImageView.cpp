#include "platform/ui/ImageView.h"

#include <QPainter>

namespace ui {

ImageView::ImageView(QWidget* parent) : QWidget(parent) {}

ImageView::ImageView(const Image& image, QWidget* parent) : QWidget(parent), image_(image) {
    if (!image.isNull()) {
        resize(sizeHint());
    }
}

void ImageView::setImage(const Image& image) {
    image_ = image;
    update();
}

QSize ImageView::sizeHint() const {
    const Size size = image_.size();
    return QSize(Screen::px(size.width), Screen::px(size.height));
}

void ImageView::paintEvent(QPaintEvent*) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), image_.pixmap());
}

} // namespace ui
