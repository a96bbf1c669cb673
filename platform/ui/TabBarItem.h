#pragma once

#include "platform/ui/Image.h"

#include <QString>

namespace ui {

// One item of the tab bar: a title, an image (its alpha is the shape that is drawn,
// tinted) and a tag the application chooses.
class TabBarItem {
public:
    TabBarItem() = default;
    TabBarItem(const QString& title, const Image& image, int tag)
        : title_(title), image_(image), tag_(tag) {}

    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    Image image() const { return image_; }
    void setImage(const Image& image) { image_ = image; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    QString badgeValue() const { return badgeValue_; }
    void setBadgeValue(const QString& value) { badgeValue_ = value; }

private:
    QString title_;
    Image image_;
    int tag_ = 0;
    QString badgeValue_;
};

} // namespace ui
