#include "memdisk/DiskStatusViewController.h"
#include "MemDiskFixture.h"
#include "common/Resources.h"
#include "memdisk/DiskStatus.h"
#include "memdisk/DiskStatusGraphCell.h"
#include "memdisk/DiskStatusTableCell.h"
#include "memdisk/GraphView.h"
#include "platform/ui/TableView.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using darwin::StatfsRecord;

QString t(const char* key) {
    return Resources::text(key);
}

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
        kernel.backend->setMounts({system, MemDiskFixture::disk("devfs", "/dev", "devfs"), user,
                                   MemDiskFixture::disk("/dev/disk1", "/Volumes/Card")});
        screen.view();
        screen.refreshAction();
    }

    DiskStatusTableCell* row(int section, int row) {
        return dynamic_cast<DiskStatusTableCell*>(
            screen.tableView()->cellForRowAtIndexPath({section, row}));
    }

    // The chart row of a section, scrolled on screen.
    DiskStatusGraphCell* chartRow(int section) {
        const ui::IndexPath chart{section, screen.rowGraph()};
        screen.tableView()->scrollToRowAtIndexPathAtScrollPositionAnimated(
            chart, ui::TableViewScrollPosition::Middle, false);
        return dynamic_cast<DiskStatusGraphCell*>(screen.tableView()->cellForRowAtIndexPath(chart));
    }

    MemDiskFixture kernel;
    DiskStatusViewController screen;
};

TEST_F(DiskStatusViewControllerTest, ASectionPerDiskWithEightRows) {
    EXPECT_EQ(screen.title(), t("DiskStatus"));
    EXPECT_EQ(screen.rowGraph(), 7);
    const QString text = screen.tableView()->renderText();
    const QString system = "-- " + t("SystemArea") + " [/dev/disk0s1]\n" + //
                           t("MountedOn") + "\t/\n" +                      //
                           t("FSType") + "\thfs\n" +                       //
                           t("MountOpts") + "\tlocal,rootfs,read-only\n" + //
                           t("TotalSize") + "\t3,906 MBytes\n" +           //
                           t("UsedSize") + "\t2,929 MBytes\n" +            //
                           t("AvailableSize") + "\t781 MBytes\n" +         //
                           t("Capacity") + "\t80%\n" +                     //
                           "\n";                                           // the chart
    EXPECT_TRUE(text.startsWith(system)) << text.toStdString();
    EXPECT_TRUE(text.contains("-- " + t("UserArea") + " [/dev/disk0s2]\n"));
    EXPECT_TRUE(text.contains(t("TotalSize") + "\t1,023 MBytes\n")) << "1,048,572 KB";
    EXPECT_TRUE(text.contains(t("MountOpts") + "\n")) << "no options: an empty value";
    EXPECT_TRUE(text.contains(t("Capacity") + "\t100%\n"));
    EXPECT_TRUE(text.contains("-- /dev/disk1\n"));
    EXPECT_FALSE(text.contains("devfs"));
    EXPECT_EQ(screen.tableView()->numberOfSections(), 3);
}

TEST_F(DiskStatusViewControllerTest, RowsTakeTheirOffsetsColoursAndHeights) {
    const struct {
        int row;
        int32_t offset;
        ui::Color color;
    } expected[] = {{0, 0, ui::Color::black()},   {1, 30, ui::Color::black()},
                    {2, -20, ui::Color::black()}, {3, 0, {0, 0, 0.7, 1}},
                    {4, 0, {0.7, 0, 0, 1}},       {5, 0, {0, 0.7, 0, 1}},
                    {6, 0, ui::Color::black()}};
    for (const auto& want : expected) {
        DiskStatusTableCell* cell = row(0, want.row);
        ASSERT_NE(cell, nullptr) << want.row;
        EXPECT_EQ(cell->offset(), want.offset) << want.row;
        EXPECT_EQ(cell->value()->textColor(), want.color) << want.row;
        EXPECT_EQ(cell->title()->textColor(), ui::Color::black()) << want.row;
    }
    EXPECT_EQ(ui::frame(row(0, 1)->title()).width, 130);
    EXPECT_EQ(ui::frame(row(0, 1)->value()).width, 160);
    EXPECT_EQ(screen.tableView()->rectForRowAtIndexPath({1, 7}).height, 113);
    EXPECT_EQ(screen.tableView()->rectForRowAtIndexPath({1, 6}).height, 28);
}

TEST_F(DiskStatusViewControllerTest, TheChartComparesAvailableWithUsedSpace) {
    DiskStatusGraphCell* cell = chartRow(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), kDiskStatusGraphCellIdentifier);
    GraphView* chart = cell->graphView();
    EXPECT_EQ(chart->parentWidget(), cell->contentView());
    EXPECT_EQ(ui::frame(chart), (ui::Rect{12, 3, 294, 106}));
    ASSERT_EQ(chart->data().size(), 2);
    EXPECT_EQ(chart->data().at(0).value(GraphViewDataValueKey).toFloat(), 781.0F);
    EXPECT_EQ(chart->data().at(0).value(GraphViewDataColorKey).value<ui::Color>(),
              (ui::Color{0, 0.7, 0, 1}));
    EXPECT_EQ(chart->data().at(1).value(GraphViewDataValueKey).toFloat(), 2929.0F);
    EXPECT_EQ(chart->radius(), 40.0F);
}

TEST_F(DiskStatusViewControllerTest, RefreshingSetsTheDataOfTheChartTheRowKeeps) {
    GraphView* chart = chartRow(0)->graphView();
    StatfsRecord fuller =
        MemDiskFixture::disk("/dev/disk0s1", "/", "hfs", darwin::MNT_LOCAL | darwin::MNT_ROOTFS);
    fuller.bavail = 0;
    kernel.backend->setMounts({fuller});
    for (int i = 0; i < 3; ++i) {
        screen.refreshAction();
    }
    DiskStatusGraphCell* cell = chartRow(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->graphView(), chart) << "the same chart, not a new one";
    const QList<QWidget*> inRow = cell->contentView()->findChildren<QWidget*>();
    EXPECT_EQ(std::count_if(inRow.begin(), inRow.end(),
                            [](QWidget* w) { return dynamic_cast<GraphView*>(w) != nullptr; }),
              1);
    ASSERT_EQ(chart->data().size(), 2);
    EXPECT_EQ(chart->data().at(0).value(GraphViewDataValueKey).toFloat(), 0.0F) << "available";
}

TEST_F(DiskStatusViewControllerTest, LeavingTheScreenDropsTheSnapshot) {
    screen.viewWillDisappear(false);
    EXPECT_TRUE(DiskStatus::sharedInstance()->info().isEmpty());
    EXPECT_EQ(screen.tableView()->numberOfSections(), 0);
    screen.viewWillAppear(false);
    EXPECT_EQ(screen.tableView()->numberOfSections(), 3);
}

TEST_F(DiskStatusViewControllerTest, NoDisksNoSections) {
    kernel.backend->failMounts(EIO);
    screen.refreshAction();
    EXPECT_EQ(screen.tableView()->numberOfSections(), 0);
    EXPECT_EQ(screen.tableView()->renderText(), "");
}

TEST_F(DiskStatusViewControllerTest, LinuxRootAndHomeTakeTheAreaHeaders) {
    kernel.backend->setMounts({MemDiskFixture::disk("/dev/nvme0n1p2", "/", "ext4"),
                               MemDiskFixture::disk("/dev/nvme0n1p3", "/home", "xfs"),
                               MemDiskFixture::disk("tmpfs", "/tmp", "tmpfs")});
    screen.refreshAction();
    ui::TableView* table = screen.tableView();
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->rectForHeaderInSection(0).height > 0, true);
    EXPECT_EQ(screen.tableViewTitleForHeaderInSection(table, 0),
              t("SystemArea") + " [/dev/nvme0n1p2]");
    EXPECT_EQ(screen.tableViewTitleForHeaderInSection(table, 1),
              t("UserArea") + " [/dev/nvme0n1p3]");
}

TEST(DiskStatusTableCellLayout, NoScalingAndReuseTurnsTheValueBlack) {
    DiskStatusTableCell cell(kDiskStatusTableCellIdentifier);
    ui::setFrame(&cell, {0, 0, 191, 28});
    cell.setOffset(-20);
    EXPECT_EQ(ui::frame(cell.title()).width, 80);
    EXPECT_EQ(ui::frame(cell.value()).width, 210);
    cell.setValueColor({0.7, 0, 0, 1});
    EXPECT_EQ(cell.title()->textColor(), ui::Color::black());
    cell.prepareForReuse();
    EXPECT_EQ(cell.offset(), 0);
    EXPECT_EQ(cell.value()->textColor(), ui::Color::black());
}

} // namespace
