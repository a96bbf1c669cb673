#pragma once

#include "network/NetworkStatusLabel.h"
#include "network/RoutingInfo.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TapCounter.h"

#include <QString>

#include <optional>

class NetworkRoutingTableCellDelegate;
class TarnelDB;

extern const QString kNetworkRoutingTableCellIdentifier;

// A route of the routing list: the flag of the destination's country with its code
// under it, the destination and the gateway. The registry is asked for the flag on
// every layout. A tap on the flag of a destination the registry knows goes to the
// delegate; any other tap selects the row.
class NetworkRoutingTableCell : public ui::TableViewCell {
public:
    static constexpr double kRowHeight = 40;
    static constexpr const char* kNoFlagImage = "none32.png";

    explicit NetworkRoutingTableCell(const QString& reuseIdentifier);

    void setDelegate(NetworkRoutingTableCellDelegate* delegate) { delegate_ = delegate; }
    NetworkRoutingTableCellDelegate* delegate() const { return delegate_; }
    // Shows `info`; nothing changes when it is the route the row already shows.
    void setLabel(const RoutingInfo& info);
    void layoutSubviews() override;
    // A tap of `tapCount` on the flag: true when the delegate took it, false when it
    // selects the row as any tap on the row does.
    bool flagTapped(int tapCount);

    const std::optional<RoutingInfo>& info() const { return info_; }
    // The image the flag shows, by name ("flags/jp.png", "none32.png").
    const QString& iconName() const { return iconName_; }
    ui::ImageView* icon() const { return icon_; }
    NetworkStatusLabel* name() const { return name_; }
    NetworkStatusLabel* dest() const { return dest_; }
    NetworkStatusLabel* gateway() const { return gateway_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showFlag();

    NetworkRoutingTableCellDelegate* delegate_ = nullptr;
    TarnelDB* tarnel_;
    std::optional<RoutingInfo> info_;
    QString iconName_;
    ui::ImageView* icon_;
    NetworkStatusLabel* name_;
    NetworkStatusLabel* dest_;
    NetworkStatusLabel* gateway_;
    ui::TapCounter taps_;
    bool flagPressed_ = false;
};
