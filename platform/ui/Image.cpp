#include "platform/ui/Image.h"

#include "platform/ui/Bundle.h"

#include <QFileInfo>
#include <QHash>

namespace ui {

namespace {

QString doubleResolutionName(const QString& name) {
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? name + "@2x" : name.left(dot) + "@2x" + name.mid(dot);
}

QPixmap loadFromBundle(const QString& name) {
    const QString dir = Bundle::mainBundle().resourcePath() + "/";
    if (Screen::scale() >= 1.5) {
        QPixmap sharp(dir + doubleResolutionName(name));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return QPixmap(dir + name);
}

} // namespace

Image Image::imageNamed(const QString& name) {
    static QHash<QString, QPixmap> cache;
    if (name.isEmpty()) {
        return {};
    }
    auto found = cache.constFind(name);
    if (found == cache.constEnd()) {
        found = cache.insert(name, loadFromBundle(name));
    }
    return Image(*found);
}

Size Image::size() const {
    const double ratio = pixmap_.devicePixelRatio();
    return {pixmap_.width() / ratio, pixmap_.height() / ratio};
}

} // namespace ui
