#include "app/AppStores.h"

#include "process/ProcessStatus.h"

AppStores AppStores::shared() {
    // The history, registry, routing and port-name stores join here as they are built;
    // until then a gathering pass finds no history to write to.
    AppStores stores;
    stores.processFinalize = [] { ProcessStatus::finalize(); };
    return stores;
}
