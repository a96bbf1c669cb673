#include "memdisk/DiskStatusTableCell.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/RowLabel.h"

const QString kDiskStatusTableCellIdentifier = QStringLiteral("DiskStatusTableCellIdentifier");

DiskStatusTableCell::DiskStatusTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier),
      title_(ui::makeRowLabel(contentView(), false, Qt::AlignLeft)),
      value_(ui::makeRowLabel(contentView(), true, Qt::AlignRight)) {
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    layoutSubviews();
}

void DiskStatusTableCell::setOffset(int32_t offset) {
    offset_ = offset;
    layoutSubviews();
}

void DiskStatusTableCell::setValueColor(const ui::Color& color) {
    value_->setTextColor(color);
}

void DiskStatusTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const double x0 = contentBounds().x + 4;
    const double titleWidth = offset_ + 100;
    ui::setFrame(title_, {x0, 0, titleWidth, kRowHeight});
    ui::setFrame(value_, {x0 + titleWidth, 0, 190.0 - offset_, kRowHeight});
}

void DiskStatusTableCell::prepareForReuse() {
    ui::TableViewCell::prepareForReuse();
    setOffset(0);
    setValueColor(ui::Color::black());
}
