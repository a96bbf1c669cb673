#pragma once

#include "platform/ui/BarStyle.h"

#include <QRect>

class QPainter;

namespace ui {

// The background of navigation bars and toolbars in the given style.
void paintBarBackground(QPainter& painter, const QRect& box, BarStyle style);

} // namespace ui
