#pragma once

#include "network/InterfaceInfo.h"
#include "network/NetworkStatusLabel.h"
#include "platform/ui/TableViewCell.h"

#include <QString>

#include <optional>

extern const QString kNetworkInterfaceTableCellIdentifier;

// An interface row of the Network tab: name, MTU and link-level address.
class NetworkInterfaceTableCell : public ui::TableViewCell {
public:
    static constexpr double kRowHeight = 40;

    explicit NetworkInterfaceTableCell(const QString& reuseIdentifier);

    // Shows `info`; nothing changes when it is the interface the row already shows.
    void setLabel(const InterfaceInfo& info);
    void layoutSubviews() override;

    const std::optional<InterfaceInfo>& info() const { return info_; }
    NetworkStatusLabel* name() const { return name_; }
    NetworkStatusLabel* mtu() const { return mtu_; }
    NetworkStatusLabel* addr() const { return addr_; }

private:
    std::optional<InterfaceInfo> info_;
    NetworkStatusLabel* name_;
    NetworkStatusLabel* mtu_;
    NetworkStatusLabel* addr_;
};
