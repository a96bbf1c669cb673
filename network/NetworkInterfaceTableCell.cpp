#include "network/NetworkInterfaceTableCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <algorithm>

const QString kNetworkInterfaceTableCellIdentifier =
    QStringLiteral("NetworkInterfaceTableCellIdentifier");

NetworkInterfaceTableCell::NetworkInterfaceTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, reuseIdentifier),
      name_(new NetworkStatusLabel(contentView())), mtu_(new NetworkStatusLabel(contentView())),
      addr_(new NetworkStatusLabel(contentView())) {
    mtu_->setTextAlignment(Qt::AlignRight);
    mtu_->setFont(ui::systemFontOfSize(13));
    addr_->setFont(ui::boldSystemFontOfSize(14));
    // Linux names its interfaces up to 15 characters long ("enp0s31f6"): they shrink to
    // fit the name's column rather than lose their end.
    name_->setAdjustsFontSizeToFitWidth(true);
    name_->setMinimumFontSize(8);
    addr_->setAdjustsFontSizeToFitWidth(true);
    addr_->setMinimumFontSize(10);
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void NetworkInterfaceTableCell::setLabel(const InterfaceInfo& info) {
    if (info_ == info) {
        return;
    }
    info_ = info;
    name_->setText(info.name);
    mtu_->setText(QString::number(info.mtu));
    addr_->setText(info.address);
}

void NetworkInterfaceTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const ui::Rect content = contentBounds();
    const double x = content.x;
    ui::setFrame(name_, {x + 4, 0, 50, kRowHeight});
    ui::setFrame(mtu_, {x + 54, 0, 60, kRowHeight});
    // The address ends at the content's edge, where the disclosure indicator begins.
    const double addrWidth = std::min(160.0, content.x + content.width - (x + 134));
    ui::setFrame(addr_, {x + 134, 0, std::max(0.0, addrWidth), kRowHeight});
}
