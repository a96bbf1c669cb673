#include "platform/ui/Font.h"

#include "platform/ui/Geometry.h"

#include <algorithm>

namespace ui {

QFont systemFontOfSize(double points) {
    QFont font;
    // The device's Helvetica, else a face with its metrics (Liberation Sans), else the
    // wider DejaVu Sans.
    font.setFamilies({QStringLiteral("Helvetica Neue"), QStringLiteral("Helvetica"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, Screen::px(points)));
    return font;
}

QFont boldSystemFontOfSize(double points) {
    QFont font = systemFontOfSize(points);
    font.setBold(true);
    return font;
}

} // namespace ui
