#include "system/SystemStatusViewController.h"
#include "platform/ui/TableView.h"
#include "support/SystemFixture.h"
#include "system/SystemStatus.h"

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

// Sections without rows (battery, network, …) show no header at all.
TEST_F(SystemStatusViewControllerTest, ShowsUptimeLoadAndTheNoUserRow) {
    SystemStatusViewController screen;
    screen.view();
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
    EXPECT_EQ(screen.tableView()->renderText(), "-- Uptime\n"
                                                "Up for\t1 day, 1 hour, 30 secs\n"
                                                "-- Load Average\n"
                                                "1 minute\t1.00\n"
                                                "5 minutes\t1.00\n"
                                                "15 minutes\t1.00\n"
                                                "-- Logged-in Users\n"
                                                "mobile\t1days\n"
                                                "root\t1days\n");
}

} // namespace
