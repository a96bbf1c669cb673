#pragma once

#include <QFont>

namespace ui {

// The system typeface at a size in points (scaled to pixels with the screen scale).
QFont systemFontOfSize(double points);
QFont boldSystemFontOfSize(double points);

} // namespace ui
