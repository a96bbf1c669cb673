#include "system/SystemStatusTableCell.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/RowLabel.h"

const QString kSystemStatusTableCellIdentifier = QStringLiteral("SystemStatusTableCellIdentifier");

SystemStatusTableCell::SystemStatusTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier),
      title_(ui::makeRowLabel(contentView(), false, Qt::AlignLeft)),
      value_(ui::makeRowLabel(contentView(), true, Qt::AlignRight)) {
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void SystemStatusTableCell::setOffset(int offset) {
    offset_ = offset;
    layoutSubviews();
}

void SystemStatusTableCell::setColor(const ui::Color& color) {
    value_->setTextColor(color);
}

void SystemStatusTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const double x0 = contentBounds().x + 4;
    const double titleWidth = 100 + offset_;
    ui::setFrame(title_, {x0, 0, titleWidth, kRowHeight});
    ui::setFrame(value_, {x0 + titleWidth, 0, 190.0 - offset_, kRowHeight});
}

void SystemStatusTableCell::prepareForReuse() {
    ui::TableViewCell::prepareForReuse();
    setOffset(0);
    setColor(ui::Color::black());
}
