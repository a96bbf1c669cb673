#include "platform/ui/RowLabel.h"

#include "platform/ui/Font.h"

namespace ui {

Label* makeRowLabel(QWidget* parent, bool bold, Qt::Alignment alignment) {
    auto* label = new Label(parent);
    label->setFont(bold ? boldSystemFontOfSize(14) : systemFontOfSize(14));
    label->setTextColor(Color::black());
    label->setHighlightedTextColor(Color::white());
    label->setTextAlignment(alignment | Qt::AlignVCenter);
    label->setBackgroundColor(Color::clear());
    label->setRowField(true);
    return label;
}

} // namespace ui
