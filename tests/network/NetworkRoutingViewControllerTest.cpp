#include "network/NetworkRoutingViewController.h"
#include "network/NetworkRoutingDetailViewController.h"
#include "network/NetworkRoutingTableCell.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "registry/TarnelDB.h"
#include "tests/network/NetworkScreens.h"
#include "tests/platform/ui/Events.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Root = NetworkStatusViewController;

class NetworkRoutingViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        list = tab.open<NetworkRoutingViewController>(Root::RoutingRow);
        ASSERT_NE(list, nullptr);
    }
    NetworkRoutingTableCell* cell(int row) {
        return dynamic_cast<NetworkRoutingTableCell*>(
            list->tableView()->cellForRowAtIndexPath({0, row}));
    }

    NetworkScreens tab;
    NetworkRoutingViewController* list = nullptr;
};

TEST_F(NetworkRoutingViewControllerTest, AFlagOpensTheLookupPopupOnlyForAKnownDestination) {
    EXPECT_EQ(cell(3)->iconName(), "flags/jp.png");
    EXPECT_FALSE(cell(3)->icon()->image().isNull());
    // The default route has no flag: a tap on its icon selects the row.
    EXPECT_EQ(cell(0)->iconName(), "none32.png");
    clickButton(cell(0)->icon(), Qt::LeftButton);
    EXPECT_TRUE(tab.host.popups.isEmpty());
    EXPECT_NE(tab.stack->topViewController(), list);
    tab.stack->popViewControllerAnimated(false);

    clickButton(cell(3)->icon(), Qt::LeftButton);
    EXPECT_EQ(tab.host.popups, QStringList{"133.5.6.7"});
    EXPECT_EQ(tab.stack->topViewController(), list) << "a flag tap selects no row";
    EXPECT_FALSE(cell(3)->flagTapped(0)) << "no tap";
}

TEST_F(NetworkRoutingViewControllerTest, RefreshTakesANewSnapshot) {
    using namespace networkbuffers;
    tab.host.setRoutes(route(darwin::RTF_UP | darwin::RTF_HOST, sockaddrIn({10, 0, 0, 9}),
                             sockaddrIn({10, 0, 0, 1})));
    list->navigationItem()->rightBarButtonItem()->trigger();
    EXPECT_EQ(NetworkScreens::text(list), "--\n10.0.0.9\t10.0.0.1\t\n");
}

TEST_F(NetworkRoutingViewControllerTest, DetailRowsAndTheWayOnToTheDestination) {
    auto* japan = tab.tap<NetworkRoutingDetailViewController>({0, 3});
    ASSERT_NE(japan, nullptr);
    EXPECT_TRUE(NetworkScreens::text(japan).startsWith(
        "--\nDestination\t133.5.6.7 [JP]\nGateway\t192.168.1.1\nUse\t12,345\n"));
    EXPECT_EQ(japan->tableView()->cellForRowAtIndexPath({0, 0})->accessoryType(),
              ui::TableViewCellAccessoryType::DisclosureIndicator);
    EXPECT_EQ(japan->tableView()->cellForRowAtIndexPath({0, 1})->accessoryType(),
              ui::TableViewCellAccessoryType::None);
    japan->tableView()->tapRowAtIndexPath({0, 0});
    EXPECT_EQ(tab.host.destinations, QStringList{"133.5.6.7"});
    EXPECT_EQ(tab.host.destinationResults.value(0).value(0), "JP");
    EXPECT_EQ(tab.stack->topViewController()->title(), "Destination 133.5.6.7");
    tab.stack->popViewControllerAnimated(false);
    tab.stack->popViewControllerAnimated(false);

    auto* fallback = tab.tap<NetworkRoutingDetailViewController>({0, 0});
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->destData(), QStringList()) << "the registry has no entry";
    EXPECT_EQ(fallback->tableView()->cellForRowAtIndexPath({0, 0})->accessoryType(),
              ui::TableViewCellAccessoryType::None);
    fallback->tableView()->tapRowAtIndexPath({0, 0});
    EXPECT_EQ(tab.host.destinations.size(), 1);
}

// Bits without a row in the flag table show nothing; 0x8000 (#1) comes before 0x4000.
TEST(NetworkRoutingDetailViewController, InfoRowsInTheFlagTablesOrder) {
    NetworkRoutingDetailViewController detail;
    detail.setInfo({QStringLiteral("10.1.2.3"), QStringLiteral("link#4"),
                    0x2000 | 0x4000 | 0x8000 | 0x80000, 0});
    detail.view();
    QStringList shown;
    for (const NetworkStatusTableCell::Data& row : detail.dataCells().mid(3)) {
        shown.append(row.title + ' ' + row.value);
    }
    EXPECT_EQ(shown, QStringList({"Info Protocol specific routing flag #1",
                                  "Info Protocol specific routing flag #2"}));
}

TEST(NetworkRoutingDetailViewController, WithoutARegistryTheDestinationStandsAlone) {
    TarnelDB::sharedInstance()->close();
    NetworkRoutingDetailViewController detail;
    detail.setInfo({QStringLiteral("133.5.6.7"), QStringLiteral("192.168.1.1"), 0x7, 0});
    detail.view();
    TarnelDB::sharedInstance()->open();
    EXPECT_EQ(detail.dataCells().value(0).value, "133.5.6.7");
    EXPECT_FALSE(detail.destData().has_value());
}

} // namespace
