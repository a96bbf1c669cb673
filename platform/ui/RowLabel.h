#pragma once

#include "platform/ui/Label.h"

#include <QWidget>

namespace ui {

// A label of a title-and-value table row: system font 14 (bold for the value), black
// text that turns white when the row is highlighted, clear background; a field of the
// row, empty or not.
Label* makeRowLabel(QWidget* parent, bool bold, Qt::Alignment alignment);

} // namespace ui
