#pragma once

#include "platform/ui/Label.h"

// The label of the network screens' rows: clear background, black text (white in a
// highlighted row), the system font at 14 pt. A field of its row, so that a row's
// text keeps its columns when one is empty.
class NetworkStatusLabel : public ui::Label {
public:
    explicit NetworkStatusLabel(QWidget* parent);
};
