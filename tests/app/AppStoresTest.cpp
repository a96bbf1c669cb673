#include "app/AppStores.h"

#include "history/HistoryDB.h"
#include "network/NetworkStatus.h"
#include "network/ServicesDB.h"
#include "registry/TarnelDB.h"

#include "support/NetworkBuffers.h"
#include "support/QtPrinters.h"
#include "support/SystemFixture.h"

#include <gtest/gtest.h>

namespace {

// The gathering pass reaches the address registry through the shared stores: a
// route destination gets the six registry texts, a private one none, and closing
// the store closes the registry.
TEST(AppStores, TheRegistryStoreIsTheSharedRegistry) {
    const AppStores stores = AppStores::shared();
    ASSERT_TRUE(stores.registrySearch && stores.registryClose);
    TarnelDB::sharedInstance()->updated();
    EXPECT_EQ(stores.registrySearch("133.5.6.7").value(0), "JP");
    EXPECT_EQ(stores.registrySearch("133.5.6.7").size(), 6);
    EXPECT_TRUE(stores.registrySearch("192.168.0.1").isEmpty());
    stores.registryClose();
    EXPECT_FALSE(TarnelDB::sharedInstance()->ready());
    TarnelDB::sharedInstance()->open();
}

TEST(AppStores, ClosingThePortNamesClosesTheSharedDatabase) {
    const AppStores stores = AppStores::shared();
    ASSERT_TRUE(stores.servicesClose);
    ServicesDB::sharedInstance()->open();
    stores.servicesClose();
    EXPECT_FALSE(ServicesDB::sharedInstance()->isOpen());
    ServicesDB::sharedInstance()->open();
}

// The gathering pass takes a routing snapshot of its own: the screens' list stays as
// it was.
TEST(AppStores, RoutingDestinationsComeFromASnapshotOfTheirOwn) {
    SystemFixture kernel;
    networkbuffers::TypicalHost::install(*kernel.backend);
    NetworkStatus::sharedInstance()->removeAllData();
    EXPECT_EQ(AppStores::shared().routingDestinations(),
              QStringList({"default", "127.0.0.1", "192.168.1.1"}));
    EXPECT_TRUE(NetworkStatus::sharedInstance()->routing().isEmpty());
}

// A gathering pass writes through the shared stores into the lookup history: one
// transaction, one row per looked-up destination, folded when seen again.
TEST(AppStores, TheHistoryStoreIsTheSharedHistory) {
    const AppStores stores = AppStores::shared();
    ASSERT_TRUE(stores.history);
    HistoryDB* history = HistoryDB::sharedInstance();
    history->deleteAllHistories();
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(stores.history->isReady() && stores.history->begin());
        EXPECT_TRUE(
            stores.history->insert(QStringList{"133.5.6.7"} + stores.registrySearch("133.5.6.7")));
        EXPECT_TRUE(stores.history->commit());
    }
    const QStringList ids = history->selectAllHistoriesOrderBy(0);
    ASSERT_EQ(ids.size(), 1);
    const QStringList row = history->selectHistory(ids.first().toInt());
    EXPECT_EQ(row.mid(1, 1), QStringList{"2"}) << "count";
    EXPECT_EQ(row.mid(4, 2), QStringList({"133.5.6.7", "JP"}));
    stores.history->close();
}

} // namespace
