#pragma once

#include "network/NetworkDetailViewController.h"
#include "network/RoutingInfo.h"

#include <cstdint>

// One route: its destination with the country code the registry gives it, the gateway,
// the use count and one row per route flag. Row 0 leads to the destination screen when
// the registry knows the destination. The screen keeps its own record.
class NetworkRoutingDetailViewController : public NetworkDetailViewController {
public:
    NetworkRoutingDetailViewController();

    void setInfo(const RoutingInfo& info) { info_ = info; }
    const RoutingInfo& info() const { return info_; }

    void buildInfoData() override;
    void buildFlagsInfo(int32_t flags);

protected:
    QString destinationAddress() const override { return info_.destination; }

private:
    RoutingInfo info_;
};
