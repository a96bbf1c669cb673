#include "app/AppStores.h"

#include "history/HistoryDB.h"

#include "network/NetworkStatus.h"
#include "network/ServicesDB.h"
#include "process/ProcessStatus.h"
#include "registry/TarnelDB.h"

AppStores AppStores::shared() {
    AppStores stores;
    HistoryDB* const history = HistoryDB::sharedInstance();
    stores.history = History{
        [history] { return history->isReady(); },
        [history] { return history->begin(); },
        [history](const QStringList& row) {
            history->insertHistory(row);
            return true;
        },
        [history] { return history->commit(); },
        [history] { history->close(); },
    };
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
