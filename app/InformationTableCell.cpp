#include "app/InformationTableCell.h"

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/RowLabel.h"

namespace {

ui::Label* makeLabel(QWidget* parent, const QFont& font, ui::Color color, Qt::Alignment alignment) {
    ui::Label* label = ui::makeRowLabel(parent, false, alignment);
    label->setFont(font);
    label->setTextColor(color);
    return label;
}

} // namespace

InformationTableCell::InformationTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier),
      name_(makeLabel(contentView(), ui::boldSystemFontOfSize(14), ui::Color::black(),
                      Qt::AlignLeft)),
      count_(makeLabel(contentView(), ui::boldSystemFontOfSize(16), ui::Color::blue(),
                       Qt::AlignRight)),
      date_(makeLabel(contentView(), ui::systemFontOfSize(14), ui::Color::gray(), Qt::AlignRight)) {
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void InformationTableCell::setLabel(const QStringList& row) {
    name_->setText(row.value(0));
    count_->setText(row.value(1));
    date_->setText(row.value(2));
}

void InformationTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const ui::Rect content = contentBounds();
    const double height = content.height - 2;
    const double x = content.x + 10;
    ui::setFrame(name_, {x, 1, 90, height});
    ui::setFrame(count_, {x + 90, 1, 80, height});
    ui::setFrame(date_, {x + 170, 1, 100, height});
}
