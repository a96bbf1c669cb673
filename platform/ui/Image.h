#pragma once

#include "platform/ui/Geometry.h"

#include <QPixmap>
#include <QString>

namespace ui {

// An image from the application bundle, shared and cached by name. Its size is in
// points: a file named "x@2x.png" is used on screens scaled 1.5 and more and counts
// as two pixels a point.
class Image {
public:
    Image() = default;
    explicit Image(const QPixmap& pixmap) : pixmap_(pixmap) {}

    // `name` relative to the bundle's resource directory ("system.png",
    // "flags/jp.png"); a null image when there is no such file.
    static Image imageNamed(const QString& name);

    bool isNull() const { return pixmap_.isNull(); }
    QPixmap pixmap() const { return pixmap_; }
    Size size() const;

private:
    QPixmap pixmap_;
};

} // namespace ui
