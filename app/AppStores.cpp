#include "app/AppStores.h"

#include "network/ServicesDB.h"
#include "process/ProcessStatus.h"
#include "registry/TarnelDB.h"

AppStores AppStores::shared() {
    // The history and the routing snapshot join as they are built;
    // until the history does, a gathering pass has nowhere to write and does nothing.
    AppStores stores;
    stores.registrySearch = [](const QString& address) {
        return TarnelDB::sharedInstance()->search(address);
    };
    stores.registryClose = [] { TarnelDB::sharedInstance()->close(); };
    stores.servicesClose = [] { ServicesDB::sharedInstance()->close(); };
    stores.processFinalize = [] { ProcessStatus::finalize(); };
    return stores;
}
