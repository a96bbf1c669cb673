#include "network/NetworkRoutingDetailViewController.h"

#include "common/NumberText.h"
#include "common/Resources.h"
#include "network/NetworkStatus.h"

NetworkRoutingDetailViewController::NetworkRoutingDetailViewController()
    : NetworkDetailViewController("RoutingDetails") {}

void NetworkRoutingDetailViewController::buildInfoData() {
    dataCells_.clear();
    buildDestinationRow(info_.destination);
    appendRow(Resources::text("Gateway"), info_.gateway);
    // The kernel's use count, read as the signed number the device shows.
    appendRow(Resources::text("Use"),
              numberText(appCon(), int64_t{static_cast<int32_t>(info_.use)}));
    buildFlagsInfo(info_.flags);
}

void NetworkRoutingDetailViewController::buildFlagsInfo(int32_t flags) {
    const QString title = Resources::text("Info");
    for (const NetworkStatus::RouteFlag& flag : NetworkStatus::routeFlagTable()) {
        if ((flags & flag.bit) != 0) {
            appendRow(title, QString::fromLatin1(flag.description));
        }
    }
}
