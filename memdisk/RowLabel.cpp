#include "memdisk/RowLabel.h"

#include "platform/ui/Font.h"

ui::Label* makeRowLabel(QWidget* parent, bool bold, Qt::Alignment alignment) {
    auto* label = new ui::Label(parent);
    label->setFont(bold ? ui::boldSystemFontOfSize(14) : ui::systemFontOfSize(14));
    label->setTextColor(ui::Color::black());
    label->setHighlightedTextColor(ui::Color::white());
    label->setTextAlignment(alignment | Qt::AlignVCenter);
    label->setBackgroundColor(ui::Color::clear());
    return label;
}
