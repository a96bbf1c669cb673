#include "network/NetworkStatusTableCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <algorithm>

const QString kNetworkStatusTableCellIdentifier =
    QStringLiteral("NetworkStatusTableCellIdentifier");

namespace {

// Values as long as a link-level address or a port's remark shrink a little before
// they are cut.
constexpr double kMinimumFontSize = 10;

} // namespace

NetworkStatusTableCell::NetworkStatusTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, reuseIdentifier),
      title_(new NetworkStatusLabel(contentView())), value_(new NetworkStatusLabel(contentView())) {
    value_->setFont(ui::boldSystemFontOfSize(14));
    for (ui::Label* label : {static_cast<ui::Label*>(title_), static_cast<ui::Label*>(value_)}) {
        label->setAdjustsFontSizeToFitWidth(true);
        label->setMinimumFontSize(kMinimumFontSize);
    }
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void NetworkStatusTableCell::setLabel(const Data& data) {
    if (shown_ && data == data_) {
        return;
    }
    data_ = data;
    shown_ = true;
    title_->setText(data.title);
    value_->setText(data.value);
    if (data.color) {
        title_->setTextColor(*data.color);
    }
}

void NetworkStatusTableCell::setTitleColor(ui::Color color) {
    title_->setTextColor(color);
}

void NetworkStatusTableCell::setOffset(int offset) {
    offset_ = offset;
    layoutSubviews();
}

void NetworkStatusTableCell::setHeight(int height) {
    height_ = height;
    layoutSubviews();
}

void NetworkStatusTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const ui::Rect content = contentBounds();
    const double x = content.x;
    const ui::Rect title{x + 4, 0, 101.0 - offset_, static_cast<double>(height_)};
    const double valueX = title.x + title.width + 5;
    // The value ends at the content's edge where a grouped card or an accessory leaves
    // less than its width, so that a long value shrinks or ends in "…" rather than
    // being cut off.
    const double valueWidth = std::min(210.0 + offset_, content.x + content.width - valueX);
    ui::setFrame(title_, title);
    ui::setFrame(value_, {valueX, 0, std::max(0.0, valueWidth), title.height});
}
