#pragma once

#include "platform/ui/Image.h"

#include <QWidget>

namespace ui {

// Shows an image scaled to fill its bounds.
class ImageView : public QWidget {
public:
    explicit ImageView(QWidget* parent = nullptr);
    explicit ImageView(const Image& image, QWidget* parent = nullptr);

    void setImage(const Image& image);
    Image image() const { return image_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Image image_;
};

} // namespace ui
