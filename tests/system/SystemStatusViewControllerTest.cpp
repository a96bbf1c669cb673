#include "system/SystemStatusViewController.h"
#include "platform/ui/TableView.h"
#include "support/SystemFixture.h"
#include "system/SystemStatus.h"
#include "system/SystemStatusTableCell.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

class SystemStatusViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The shared snapshot outlives each test: bring it to the fixture's state.
        SystemStatus* status = SystemStatus::sharedInstance();
        status->snapshotOfUptime();
        status->snapshotOfLoadAvg();
        status->snapshotOfWho();
    }

    SystemFixture kernel;
};

TEST_F(SystemStatusViewControllerTest, ShowsUptimeLoadAndTheNoUserRow) {
    SystemStatusViewController screen;
    screen.view();
    EXPECT_EQ(screen.title(), "System Status");
    EXPECT_TRUE(screen.isNoOneThere());
    EXPECT_EQ(screen.tableView()->renderText(), "-- Uptime\n"
                                                "Up for\t 1:01:31\n"
                                                "-- Load Average\n"
                                                "1 minute\t1.50\n"
                                                "5 minutes\t0.25\n"
                                                "15 minutes\t0.00\n"
                                                "-- Logged-in Users\n"
                                                "No one is logged in\t--:--:--\n");
}

TEST_F(SystemStatusViewControllerTest, RefreshTakesNewSnapshotsOfAllThree) {
    SystemStatusViewController screen;
    screen.view();
    kernel.bootedSecondsAgo(90000);
    kernel.setLoad(2048, 2048, 2048);
    kernel.setUsers({"mobile", "root"}, 86400);
    screen.refreshAction();
    EXPECT_FALSE(screen.isNoOneThere());
    const QString text = screen.tableView()->renderText();
    EXPECT_TRUE(text.contains("Up for\t1 day, 1 hour, 30 secs\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("15 minutes\t1.00\n")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("-- Logged-in Users\nmobile\t1days\nroot\t1days\n"))
        << text.toStdString();
}

TEST_F(SystemStatusViewControllerTest, RowsUseTheirOffsetsAndAre28PointsHigh) {
    SystemStatusViewController screen;
    screen.view();
    ui::TableView* table = screen.tableView();
    const ui::IndexPath noUser{SystemStatusViewController::WhoSection, 0};
    const ui::IndexPath uptime{SystemStatusViewController::UptimeSection, 0};
    EXPECT_EQ(table->rectForRowAtIndexPath(uptime).height, 28);

    auto* cell =
        dynamic_cast<SystemStatusTableCell*>(screen.tableViewCellForRowAtIndexPath(table, noUser));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->offset(), 100);
    EXPECT_DOUBLE_EQ(ui::frame(cell->title()).width, 200);
    EXPECT_DOUBLE_EQ(ui::frame(cell->value()).width, 90);

    cell->prepareForReuse();
    EXPECT_EQ(cell->offset(), 0);
    EXPECT_DOUBLE_EQ(ui::frame(cell->title()).width, 100);
    EXPECT_EQ(cell->value()->textColor(), ui::Color::black());
}

TEST_F(SystemStatusViewControllerTest, EmptySectionsHaveNoHeader) {
    SystemStatusViewController screen;
    screen.view();
    ui::TableView* table = screen.tableView();
    EXPECT_EQ(
        screen.tableViewTitleForHeaderInSection(table, SystemStatusViewController::BatterySection),
        "");
    EXPECT_EQ(
        screen.tableViewTitleForHeaderInSection(table, SystemStatusViewController::WhoSection),
        "Logged-in Users");
}

} // namespace
