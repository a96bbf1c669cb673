#include "network/NetworkStatusViewController.h"
#include "network/NetworkInterfaceDetailViewController.h"
#include "network/NetworkRoutingViewController.h"
#include "platform/ui/NavigationItem.h"
#include "support/ScopedLocale.h"
#include "tests/network/NetworkScreens.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Root = NetworkStatusViewController;

// The rows' texts are the --dump golden; the MTU is no count and keeps its digits
// together in a locale that groups thousands.
TEST(NetworkStatusViewController, TheMtuIsNoCount) {
    const testenv::ScopedLocale german(QLocale::German, QLocale::Germany);
    NetworkScreens tab;
    EXPECT_TRUE(NetworkScreens::text(tab.root).contains("lo0\t16384\t\n"));
}

TEST(NetworkStatusViewController, LeavingEmptiesTheSnapshotAndTheTabBarComesBack) {
    NetworkScreens tab;
    NetworkStatus* netstat = tab.root->netstat();
    auto* routing = tab.open<NetworkRoutingViewController>(Root::RoutingRow);
    ASSERT_NE(routing, nullptr);
    EXPECT_TRUE(tab.tabs->tabBar()->isHidden());
    EXPECT_TRUE(netstat->interface().isEmpty()) << "the root emptied all three lists";
    EXPECT_EQ(routing->routes().size(), 4);

    tab.stack->popViewControllerAnimated(false);
    EXPECT_FALSE(tab.tabs->tabBar()->isHidden());
    EXPECT_EQ(netstat->interface().size(), 2);
    netstat->snapshotOfRouting();
    netstat->snapshotOfTCP();
    tab.tabs->beginAppearanceTransition(false, false); // another tab
    tab.tabs->endAppearanceTransition();
    EXPECT_TRUE(netstat->interface().isEmpty());
    EXPECT_TRUE(netstat->routing().isEmpty());
    EXPECT_TRUE(netstat->protocol().isEmpty());
    tab.root->tableView()->reloadData();
    EXPECT_EQ(tab.root->tableView()->numberOfRowsInSection(Root::InterfaceSection), 2)
        << "the screen keeps the rows it shows";
}

TEST(NetworkStatusViewController, HistoryOpensFlippedInABlackBarredStack) {
    NetworkScreens tab;
    tab.root->navigationItem()->rightBarButtonItem()->trigger();
    auto* history = qobject_cast<ui::NavigationController*>(tab.stack->modalViewController());
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->navigationBar()->barStyle(), ui::BarStyle::Black);
    EXPECT_EQ(history->modalTransitionStyle(), ui::ModalTransitionStyle::FlipHorizontal);
}

TEST(NetworkInterfaceDetailViewController, RowsOfAnInterfaceWithAndWithoutIPv4) {
    NetworkScreens tab;
    auto* en0 = tab.tap<NetworkInterfaceDetailViewController>({Root::InterfaceSection, 1});
    ASSERT_NE(en0, nullptr);
    // A broadcast address and no peer (the --dump golden of lo0 shows the other way).
    EXPECT_TRUE(NetworkScreens::text(en0).contains(
        "Type\tEthernet CSMA/CD\nAddress\t192.168.1.20/24\nBroadcast\t192.168.1.255\n"
        "Netmask\t255.255.255.0\nNetwork\t192.168.1.0\nMTU\t1500\n"));

    // No IPv4 address (the address query knows no such interface), a type without a
    // text, and counters past 32 bits, which the record's own fields cut.
    InterfaceInfo cellular;
    cellular.name = QStringLiteral("pdp_ip0");
    cellular.type = 0xff;
    cellular.ipackets = 705'032'704; // the low 32 bits of the count below
    cellular.counters64.ipackets = 5'000'000'000;
    cellular.counters64.opackets = 2'500'000'000;
    NetworkInterfaceDetailViewController detail;
    detail.setInfo(cellular);
    detail.view();
    // Name, type, MTU, link address and the six counters: ten rows without addresses.
    ASSERT_EQ(detail.dataCells().size(), 10);
    EXPECT_EQ(detail.dataCells()[1].value, "unknown");
    EXPECT_EQ(detail.dataCells()[4].value, "5,000,000,000");
    EXPECT_EQ(detail.dataCells()[6].value, "2,500,000,000");
}

// A screen keeps its own copy of the records it shows: emptying or replacing the shared
// snapshot behind it changes nothing on it.
TEST(NetworkStatusViewController, ShownListsOutliveTheSharedSnapshot) {
    for (const int row : {Root::RoutingRow, Root::TCPRow}) {
        NetworkScreens tab;
        auto* list = tab.open<ui::TableViewController>(row);
        ASSERT_NE(list, nullptr);
        const QString shown = NetworkScreens::text(list);
        NetworkStatus::sharedInstance()->removeAllData();
        list->tableView()->reloadData();
        EXPECT_EQ(NetworkScreens::text(list), shown) << row;
        NetworkStatus::sharedInstance()->snapshotOfUDP();
        list->tableView()->reloadData();
        EXPECT_EQ(NetworkScreens::text(list), shown) << row;
    }
}

} // namespace
