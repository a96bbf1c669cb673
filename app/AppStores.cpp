#include "app/AppStores.h"

#include "network/NetworkStatus.h"
#include "network/ServicesDB.h"
#include "process/ProcessStatus.h"
#include "registry/TarnelDB.h"

AppStores AppStores::shared() {
    // The history joins as it is built; until it does, a gathering pass has nowhere to
    // write and does nothing.
    AppStores stores;
    stores.registrySearch = [](const QString& address) {
        return TarnelDB::sharedInstance()->search(address);
    };
    stores.registryClose = [] { TarnelDB::sharedInstance()->close(); };
    stores.servicesClose = [] { ServicesDB::sharedInstance()->close(); };
    // The gathering thread's own snapshot, apart from the one the screens share.
    stores.routingDestinations = [] {
        QStringList destinations;
        for (const NetworkStatus::Route& route : NetworkStatus::privateRoutingSnapshot()) {
            destinations.append(route->destination);
        }
        return destinations;
    };
    stores.processFinalize = [] { ProcessStatus::finalize(); };
    return stores;
}
