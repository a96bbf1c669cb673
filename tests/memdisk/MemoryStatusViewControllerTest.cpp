#include "memdisk/MemoryStatusViewController.h"
#include "MemDiskFixture.h"
#include "common/AppState.h"
#include "common/Resources.h"
#include "memdisk/MemoryStatus.h"
#include "memdisk/MemoryStatusGraphCell.h"
#include "memdisk/MemoryStatusGraphView.h"
#include "memdisk/MemoryStatusTableCell.h"
#include "platform/ui/TableView.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QString t(const char* key) {
    return Resources::text(key);
}

// Every chart in the table's widgets, on screen or waiting for reuse.
int chartsIn(QWidget* table) {
    int charts = 0;
    for (QWidget* widget : table->findChildren<QWidget*>()) {
        charts += dynamic_cast<MemoryStatusGraphView*>(widget) != nullptr ? 1 : 0;
    }
    return charts;
}

class MemoryStatusViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        MemoryStatusTestAccess::reinitialize(MemoryStatus::sharedInstance());
        screen.view();
        screen.refreshAction();
    }

    MemDiskFixture kernel;
    MemoryStatusViewController screen;
};

TEST(MemoryStatusMegabytes, BothDivisionsAreCutOffFirst) {
    EXPECT_EQ(MemoryStatusViewController::megabytes(5000, 4096), 16u) << "not 19.5";
    EXPECT_EQ(MemoryStatusViewController::megabytes(1023, 4096), 0u);
    EXPECT_EQ(MemoryStatusViewController::megabytes(1024, 4096), 4u);
    EXPECT_EQ(MemoryStatusViewController::megabytes(3'000'000, 4096), 11716u);
    EXPECT_EQ(MemoryStatusViewController::megabytes(1'000'000, 1000), 0u) << "pages under 1 KB";
    EXPECT_EQ(MemoryStatusViewController::megabytes(0xFFFF'FFFFu, 16384), 67'108'848u);
}

TEST_F(MemoryStatusViewControllerTest, ShowsFourSectionsOfTheReading) {
    EXPECT_EQ(screen.title(), t("MemoryStatus"));
    EXPECT_EQ(screen.memStat(), MemoryStatus::sharedInstance());
    EXPECT_EQ(screen.appCon(), AppState::ofSharedApplication()) << "none: no application runs";
    const QString expected = "-- " + t("BasicInfo") + "\n" +                                //
                             t("Free") + "\t16 MBytes\t" + t("Active") + "\t12 MBytes\t" +  //
                             t("Inactive") + "\t8 MBytes\t" + t("Wired") + "\t4 MBytes\n" + //
                             "-- " + t("PageInfo") + "\n" +                                 //
                             t("PageIn") + "\t0 MBytes\n" +                                 //
                             t("PageOut") + "\t4 MBytes\n" +                                //
                             "-- " + t("DetailInfo") + "\n" +                               //
                             t("Faults") + "\t11,716 MBytes\n" +                            //
                             t("CopyOnWrite") + "\t0 MBytes\n" +                            //
                             t("ZeroFilled") + "\t33,554,432 MBytes\n" +                    //
                             t("Reactivated") + "\t16 MBytes\n" +                           //
                             "-- " + t("CacheInfo") + "\n" +                                //
                             t("Lookups") + "\t3\n" +                                       //
                             t("Hits") + "\t2\n" +                                          //
                             t("HitRate") + "\t66%\n";
    EXPECT_EQ(screen.tableView()->renderText(), expected);
}

TEST_F(MemoryStatusViewControllerTest, RowHeightsAndTextRows) {
    ui::TableView* table = screen.tableView();
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 0}).height, 113);
    EXPECT_EQ(table->rectForRowAtIndexPath({2, 3}).height, 28);
    auto* row = dynamic_cast<MemoryStatusTableCell*>(table->cellForRowAtIndexPath({1, 0}));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->offset(), 0);
    EXPECT_EQ(row->title()->textColor(), ui::Color::black());
    EXPECT_EQ(row->value()->textColor(), ui::Color::black());
}

TEST_F(MemoryStatusViewControllerTest, TheChartHasFourColouredSlicesAndLegendRows) {
    auto* cell =
        dynamic_cast<MemoryStatusGraphCell*>(screen.tableView()->cellForRowAtIndexPath({0, 0}));
    ASSERT_NE(cell, nullptr);
    MemoryStatusGraphView* chart = cell->graphView();
    EXPECT_EQ(chart->parentWidget(), cell->contentView());
    EXPECT_EQ(ui::frame(chart), (ui::Rect{4, 3, 296, 106})); // fits the 300-point row
    EXPECT_EQ(chart->graph()->total(), 40.0F);
    ASSERT_EQ(chart->graph()->data().size(), 4);
    auto* wired =
        dynamic_cast<MemoryStatusTableCell*>(chart->table()->cellForRowAtIndexPath({0, 3}));
    ASSERT_NE(wired, nullptr);
    EXPECT_EQ(wired->offset(), 40);
    EXPECT_EQ(wired->value()->textColor(), (ui::Color{0.7, 0, 0, 1}));
    EXPECT_EQ(wired->title()->textColor(), (ui::Color{0.7, 0, 0, 1}));

    // Laying the legend out again adds no slices.
    chart->table()->reloadData();
    chart->table()->visibleCells();
    EXPECT_EQ(chart->graph()->data().size(), 4);
}

TEST_F(MemoryStatusViewControllerTest, RefreshingSetsTheDataOfTheChartTheRowKeeps) {
    ui::TableView* table = screen.tableView();
    auto* cell = dynamic_cast<MemoryStatusGraphCell*>(table->cellForRowAtIndexPath({0, 0}));
    ASSERT_NE(cell, nullptr);
    MemoryStatusGraphView* chart = cell->graphView();
    darwin::VmStatistics64 later = MemDiskFixture::memory();
    later.freeCount = 10 * 1024;
    kernel.backend->setVmStatistics64(later);
    for (int i = 0; i < 5; ++i) {
        screen.refreshAction();
        table->cellForRowAtIndexPath({0, 0});
    }
    EXPECT_EQ(chartsIn(table), 1) << "one chart row, never reused for text";
    EXPECT_EQ(cell->graphView(), chart);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), cell);
    ASSERT_EQ(chart->graph()->data().size(), 4) << "the old slices went";
    EXPECT_EQ(chart->graph()->total(), 40.0F + 12 + 8 + 4);
    EXPECT_TRUE(table->renderText().contains(t("Free") + "\t40 MBytes\t"));
}

TEST_F(MemoryStatusViewControllerTest, AFailedReadingShowsZeros) {
    kernel.backend->failVmStatistics(darwin::KERN_FAILURE);
    screen.refreshAction();
    const QString text = screen.tableView()->renderText();
    EXPECT_TRUE(text.contains(t("Free") + "\t0 MBytes\t")) << text.toStdString();
    EXPECT_TRUE(text.contains(t("Faults") + "\t0 MBytes\n"));
    EXPECT_TRUE(text.contains(t("HitRate") + "\t0%\n"));
}

TEST_F(MemoryStatusViewControllerTest, ComingOnScreenTakesAReading) {
    darwin::VmStatistics64 later = MemDiskFixture::memory();
    later.pageouts = 2048;
    kernel.backend->setVmStatistics64(later);
    screen.viewWillAppear(false);
    EXPECT_TRUE(screen.tableView()->renderText().contains(t("PageOut") + "\t8 MBytes\n"));
}

TEST(MemoryStatusTableCellLayout, NarrowContentShrinksBothLabels) {
    MemoryStatusTableCell cell(kMemoryStatusTableCellIdentifier);
    ui::setFrame(&cell, {0, 0, 191, 28});
    cell.setOffset(40);
    EXPECT_NEAR(ui::frame(cell.title()).width, 140 * 191 / 300.0, 1.0);
    EXPECT_NEAR(ui::frame(cell.value()).width, 150 * 191 / 300.0, 1.0);

    ui::setFrame(&cell, {0, 0, 320, 28});
    cell.prepareForReuse();
    EXPECT_EQ(cell.offset(), 0);
    EXPECT_NEAR(ui::frame(cell.title()).width, 100, 1.0);
    EXPECT_NEAR(ui::frame(cell.value()).width, 190, 1.0);
    EXPECT_EQ(ui::frame(cell.value()).x, ui::frame(cell.title()).x + 100);
}

} // namespace
