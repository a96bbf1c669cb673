#include "network/NetworkStatusLabel.h"

#include "platform/ui/Font.h"

NetworkStatusLabel::NetworkStatusLabel(QWidget* parent) : ui::Label(parent) {
    setBackgroundColor(ui::Color::clear());
    setOpaque(true);
    setTextColor(ui::Color::black());
    setHighlightedTextColor(ui::Color::white());
    setFont(ui::systemFontOfSize(14));
    setRowField(true);
}
