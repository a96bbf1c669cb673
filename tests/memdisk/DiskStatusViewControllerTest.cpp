#include "memdisk/DiskStatusViewController.h"
#include "MemDiskFixture.h"
#include "memdisk/DiskInfo.h"
#include "memdisk/DiskStatus.h"
#include "memdisk/DiskStatusGraphCell.h"
#include "memdisk/GraphView.h"
#include "platform/ui/TableView.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using darwin::StatfsRecord;

class DiskStatusViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        StatfsRecord system =
            MemDiskFixture::disk("/dev/disk0s1", "/", "hfs",
                                 darwin::MNT_LOCAL | darwin::MNT_ROOTFS | darwin::MNT_RDONLY);
        StatfsRecord user = MemDiskFixture::disk("/dev/disk0s2", "/private/var");
        user.blocks = 1'048'575 / 4;
        user.bfree = 0;
        user.bavail = 0;
        kernel.backend->setMounts({system, MemDiskFixture::disk("devfs", "/dev", "devfs"), user});
        screen.view();
        screen.refreshAction();
    }

    // The chart of a section's chart row, scrolled on screen.
    GraphView* chartOf(int section) {
        const ui::IndexPath row{section, screen.rowGraph()};
        screen.tableView()->scrollToRowAtIndexPathAtScrollPositionAnimated(
            row, ui::TableViewScrollPosition::Middle, false);
        auto* cell =
            dynamic_cast<DiskStatusGraphCell*>(screen.tableView()->cellForRowAtIndexPath(row));
        return cell != nullptr ? cell->graphView() : nullptr;
    }

    static QList<float> valuesOf(const GraphView* chart) {
        QList<float> values;
        for (const QVariantMap& entry : chart->data()) {
            values.append(entry.value(GraphViewDataValueKey).toFloat());
        }
        return values;
    }

    MemDiskFixture kernel;
    DiskStatusViewController screen;
};

// Each section ends with its chart row, which has no text.
TEST_F(DiskStatusViewControllerTest, ASectionPerDiskWithEightRows) {
    EXPECT_EQ(screen.tableView()->renderText(), "-- System [/dev/disk0s1]\n"
                                                "Mounted on\t/\n"
                                                "Type\thfs\n"
                                                "Options\tlocal,rootfs,read-only\n"
                                                "Total\t3,906 MBytes\n"
                                                "Used\t2,929 MBytes\n"
                                                "Available\t781 MBytes\n"
                                                "Capacity\t80%\n"
                                                "\n"
                                                "-- User [/dev/disk0s2]\n"
                                                "Mounted on\t/private/var\n"
                                                "Type\thfs\n"
                                                "Options\t\n"
                                                "Total\t1,023 MBytes\n"
                                                "Used\t1,023 MBytes\n"
                                                "Available\t0 MBytes\n"
                                                "Capacity\t100%\n"
                                                "\n");
}

TEST_F(DiskStatusViewControllerTest, TheChartRowKeepsOneChartOfAvailableAgainstUsed) {
    GraphView* chart = chartOf(0);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(valuesOf(chart), QList<float>({781, 2929}));
    StatfsRecord fuller = MemDiskFixture::disk("/dev/disk0s1", "/");
    fuller.bavail = 0;
    kernel.backend->setMounts({fuller});
    for (int i = 0; i < 3; ++i) {
        screen.refreshAction();
    }
    ASSERT_EQ(chartOf(0), chart) << "the same chart, not a new one";
    EXPECT_EQ(valuesOf(chart), QList<float>({0, 2929})) << "the old slices went";
    const QList<QWidget*> inRow = chart->parentWidget()->findChildren<QWidget*>();
    EXPECT_EQ(std::count_if(inRow.begin(), inRow.end(),
                            [](QWidget* w) { return dynamic_cast<GraphView*>(w) != nullptr; }),
              1);
}

TEST_F(DiskStatusViewControllerTest, LeavingTheScreenDropsTheSnapshot) {
    screen.viewWillDisappear(false);
    EXPECT_TRUE(DiskStatus::sharedInstance()->info().isEmpty());
    EXPECT_EQ(screen.tableView()->renderText(), "");
    screen.viewWillAppear(false);
    EXPECT_EQ(screen.tableView()->numberOfSections(), 2);
}

// The areas' names show in the golden text, which device is in which area in
// PlatformProfileTest; a disk in neither is named by its device alone.
TEST(DiskStatusHeader, ADiskInNeitherAreaIsNamedByItsDevice) {
    const DiskInfo card = MemDiskFixture::info(MemDiskFixture::disk("/dev/sdb1", "/media/card"));
    EXPECT_EQ(DiskStatusViewController::headerTitle(card), "/dev/sdb1");
}

// Device and mount names come from the kernel as bytes: the header and the row keep them
// on one line each, and no byte reaches a terminal raw or goes missing.
TEST_F(DiskStatusViewControllerTest, HostileNamesStayOnTheirLinesAndShowTheirBytes) {
    kernel.backend->setMounts({MemDiskFixture::disk("/dev/\x1b[8msdb", "/media/two\nlines\xff")});
    screen.refreshAction();
    EXPECT_TRUE(screen.tableView()->renderText().startsWith("-- /dev/\\x1b[8msdb\n"
                                                            "Mounted on\t/media/two\\nlines\\xff\n"
                                                            "Type\thfs\n"))
        << screen.tableView()->renderText().toStdString();
}

} // namespace
