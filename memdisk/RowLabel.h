#pragma once

#include "platform/ui/Label.h"

#include <QWidget>

// A label of a two-label row of the memory and disk screens: system font 14 (bold for
// the value), black text that turns white when the row is highlighted, clear background.
ui::Label* makeRowLabel(QWidget* parent, bool bold, Qt::Alignment alignment);
