#include "app/AppStores.h"

#include "process/ProcessStatus.h"
#include "registry/TarnelDB.h"

AppStores AppStores::shared() {
    // The history, routing and port-name stores join here as they are built; until
    // then a gathering pass finds no history to write to.
    AppStores stores;
    stores.registrySearch = [](const QString& address) {
        return TarnelDB::sharedInstance()->search(address);
    };
    stores.registryClose = [] { TarnelDB::sharedInstance()->close(); };
    stores.processFinalize = [] { ProcessStatus::finalize(); };
    return stores;
}
