#include "memdisk/MemoryStatusTableCell.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/RowLabel.h"

#include <algorithm>

const QString kMemoryStatusTableCellIdentifier = QStringLiteral("MemoryStatusTableCellIdentifier");

namespace {

constexpr double kFullWidth = 300;
constexpr double kRightInset = 6;

} // namespace

MemoryStatusTableCell::MemoryStatusTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier),
      title_(ui::makeRowLabel(contentView(), false, Qt::AlignLeft)),
      value_(ui::makeRowLabel(contentView(), true, Qt::AlignRight)) {
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    layoutSubviews();
}

void MemoryStatusTableCell::setOffset(int32_t offset) {
    offset_ = offset;
    layoutSubviews();
}

void MemoryStatusTableCell::setColor(const ui::Color& color) {
    title_->setTextColor(color);
    value_->setTextColor(color);
}

void MemoryStatusTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const ui::Rect content = contentBounds();
    const double scale = content.width < kFullWidth ? content.width / kFullWidth : 1.0;
    const double x0 = content.x + 4;
    const float titleWidth = static_cast<float>((offset_ + 100) * scale);
    // The value reaches the row's right inset whatever the row's width.
    const float valueWidth =
        static_cast<float>(std::max(0.0, content.width - kRightInset - x0 - titleWidth));
    ui::setFrame(title_, {x0, 0, titleWidth, kRowHeight});
    ui::setFrame(value_, {x0 + titleWidth, 0, valueWidth, kRowHeight});
}

void MemoryStatusTableCell::prepareForReuse() {
    ui::TableViewCell::prepareForReuse();
    setOffset(0);
    setColor(ui::Color::black());
}
