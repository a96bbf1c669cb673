#include "app/AppStores.h"

#include "process/ProcessStatus.h"
#include "registry/TarnelDB.h"

AppStores AppStores::shared() {
    // The history, the routing snapshot and the port names join as they are built;
    // until the history does, a gathering pass has nowhere to write and does nothing.
    AppStores stores;
    stores.registrySearch = [](const QString& address) {
        return TarnelDB::sharedInstance()->search(address);
    };
    stores.registryClose = [] { TarnelDB::sharedInstance()->close(); };
    stores.processFinalize = [] { ProcessStatus::finalize(); };
    return stores;
}
