#include "memdisk/MemoryStatusViewController.h"
#include "MemDiskFixture.h"
#include "memdisk/MemoryStatus.h"
#include "memdisk/MemoryStatusGraphCell.h"
#include "memdisk/MemoryStatusGraphView.h"
#include "memdisk/MemoryStatusTableCell.h"
#include "platform/ui/TableView.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

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

// 5000 pages of 4 KB are 16 MB, not 19.5; pages under 1 KB count as nothing.
TEST(MemoryStatusMegabytes, BothDivisionsAreCutOffFirst) {
    const struct {
        uint64_t count;
        uint32_t pagesize;
        uint64_t megabytes;
    } cases[] = {{5000, 4096, 16}, {1'000'000, 1000, 0}, {0xFFFF'FFFFu, 16384, 67'108'848}};
    for (const auto& c : cases) {
        EXPECT_EQ(MemoryStatusViewController::megabytes(c.count, c.pagesize), c.megabytes)
            << c.count << " × " << c.pagesize;
    }
}

TEST_F(MemoryStatusViewControllerTest, ShowsFourSectionsOfTheReading) {
    EXPECT_EQ(screen.tableView()->renderText(),
              "-- Memory Usage\n"
              "Free\t16 MBytes\tActive\t12 MBytes\tInactive\t8 MBytes\tWired\t4 MBytes\n"
              "-- Paging\n"
              "Page-ins\t0 MBytes\n"
              "Page-outs\t20 MBytes\n"
              "-- Details\n"
              "Faults\t11,716 MBytes\n"
              "Copy-on-write\t24 MBytes\n"
              "Zero-filled\t33,554,432 MBytes\n"
              "Reactivated\t28 MBytes\n"
              "-- Object Cache\n"
              "Lookups\t3\n"
              "Hits\t2\n"
              "Hit rate\t66%\n");
}

TEST_F(MemoryStatusViewControllerTest, TheChartRowKeepsOneChartOfFourSlicesAcrossReadings) {
    ui::TableView* table = screen.tableView();
    auto* cell = dynamic_cast<MemoryStatusGraphCell*>(table->cellForRowAtIndexPath({0, 0}));
    ASSERT_NE(cell, nullptr);
    MemoryStatusGraphView* chart = cell->graphView();
    EXPECT_EQ(chart->graph()->total(), 40.0F);
    chart->table()->reloadData();
    chart->table()->visibleCells();
    EXPECT_EQ(chart->graph()->data().size(), 4) << "laying the legend out again adds no slices";

    darwin::VmStatistics64 later = MemDiskFixture::memory();
    later.freeCount = 10 * 1024;
    kernel.backend->setVmStatistics64(later);
    screen.viewWillAppear(false);
    EXPECT_TRUE(table->renderText().startsWith("-- Memory Usage\nFree\t40 MBytes\t"));
    for (int i = 0; i < 4; ++i) {
        screen.refreshAction();
        table->cellForRowAtIndexPath({0, 0});
    }
    const QList<QWidget*> widgets = table->findChildren<QWidget*>(); // shown or kept for reuse
    EXPECT_EQ(std::count_if(widgets.begin(), widgets.end(),
                            [](QWidget* w) { return dynamic_cast<MemoryStatusGraphView*>(w); }),
              1)
        << "one chart row, never reused for text";
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), cell);
    EXPECT_EQ(chart->graph()->data().size(), 4) << "the old slices went";
    EXPECT_EQ(chart->graph()->total(), 40.0F + 12 + 8 + 4);
}

// The legend groups its megabytes as the screen's other rows do, in the user's locale.
TEST_F(MemoryStatusViewControllerTest, TheLegendGroupsAsTheOtherRows) {
    darwin::VmStatistics64 large = MemDiskFixture::memory();
    large.freeCount = 309 * 1024; // 1236 MB
    kernel.backend->setVmStatistics64(large);
    const std::pair<QLocale, QStringList> cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), {"1,236", "11,716"}},
        {QLocale(QLocale::German, QLocale::Germany), {"1.236", "11.716"}},
        {QLocale(QLocale::Arabic, QLocale::Egypt), {"١٬٢٣٦", "١١٬٧١٦"}}};
    for (const auto& [locale, numbers] : cases) {
        testenv::ScopedLocale userLocale(locale);
        screen.refreshAction();
        const QString text = screen.tableView()->renderText();
        EXPECT_TRUE(text.startsWith("-- Memory Usage\nFree\t" + numbers[0] + " MBytes\t"))
            << text.toStdString();
        EXPECT_TRUE(text.contains("Faults\t" + numbers[1] + " MBytes\n")) << text.toStdString();
    }
}

// The legend's rows lie in a table 191 points wide: title and value shrink to fit it.
TEST(MemoryStatusTableCellLayout, NarrowContentShrinksBothLabelsToFit) {
    MemoryStatusTableCell cell(kMemoryStatusTableCellIdentifier);
    ui::setFrame(&cell, {0, 0, 191, 28});
    cell.setOffset(40);
    const ui::Rect title = ui::frame(cell.title());
    const ui::Rect value = ui::frame(cell.value());
    EXPECT_NEAR(value.x, title.x + title.width, 1.0);
    EXPECT_LE(value.x + value.width, 191);
    EXPECT_GT(title.width, 80) << "not shrunk to nothing";
}

} // namespace
