#include "app/HeadlessRunner.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "registry/DestinationViewController.h"
#include "registry/ReverseDNS.h"
#include "tests/app/LaunchedApp.h"
#include "tests/network/NetworkScreensFixture.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Kind = HeadlessRequest::Kind;

class DestinationScreenTest : public ::testing::Test {
protected:
    // The host name lookups that the screen starts go to the loopback, where nothing
    // answers.
    void SetUp() override {
        ReverseDNS::setServersForTesting({{QStringLiteral("127.0.0.1"), 9}});
        app.launch();
    }
    void TearDown() override {
        EXPECT_TRUE(ReverseDNS::waitForQueries(10000));
        ReverseDNS::setServersForTesting({});
    }

    QString dump(const QString& screen) {
        QString text;
        QString error;
        EXPECT_TRUE(HeadlessRunner::dumpScreen(*app.controller, screen, false, &text, &error))
            << screen.toStdString() << ": " << error.toStdString();
        return text;
    }

    NetworkScreensFixture host;
    LaunchedApp app{host.kernel};
};

TEST_F(DestinationScreenTest, TheFirstRowOfARouteToAKnownDestinationPushesItsScreen) {
    dump("network/route/4"); // the route to 133.5.6.7, left open
    auto* stack = qobject_cast<ui::NavigationController*>(
        app.controller->tabBarManager()->selectedViewController());
    ASSERT_NE(stack, nullptr);
    auto* detail = qobject_cast<ui::TableViewController*>(stack->topViewController());
    ASSERT_NE(detail, nullptr);
    detail->tableView()->tapRowAtIndexPath({0, 0});
    auto* destination = dynamic_cast<DestinationViewController*>(stack->topViewController());
    ASSERT_NE(destination, nullptr);
    EXPECT_EQ(destination->ipaddr(), "133.5.6.7");
    EXPECT_EQ(destination->data().value(0), "JP");
    EXPECT_TRUE(host.destinations.isEmpty()) << "the application's maker replaces the fixture's";
}

TEST_F(DestinationScreenTest, DumpsAKnownAndAnUnknownAddressWithoutAHostName) {
    EXPECT_EQ(dump("destination/133.5.6.7"),
              "== Destination\n--\nAddress\t133.5.6.7\nHost Name\t\nCode\tJP\nCountry\tJapan\n"
              "Registry\tAPNIC\nRegion\tAsia/Pacific Region\nNetwork\t133.0.0.0/8\n"
              "Date\t1997-03-01 (allocated)\n");
    EXPECT_EQ(dump("destination/10.1.2.3"),
              "== Destination\n--\nAddress\t10.1.2.3\nHost Name\t\nCode\t\nCountry\t\n"
              "Registry\t\nRegion\t\nNetwork\t\nDate\t\n");
}

TEST(DestinationScreenParse, OnlyADottedQuadNamesADestination) {
    EXPECT_EQ(HeadlessRunner::parse(QList<QByteArray>{"--dump", "destination/1.2.3.4"}).kind,
              Kind::Dump);
    for (const char* screen :
         {"destination/", "destination/1.2.3", "destination/1.2.3.256", "destination/a.b.c.d"}) {
        EXPECT_EQ(HeadlessRunner::parse(QList<QByteArray>{"--dump", screen}).kind, Kind::Invalid)
            << screen;
    }
}

} // namespace
