#include "history/HistoryViewController.h"
#include "HistoryScreenFixture.h"
#include "history/HistoryDetailViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Toolbar.h"

#include "support/QtPrinters.h"

namespace {

class HistoryViewControllerTest : public HistoryScreenFixture {
protected:
    // Three addresses: most counted 10.0.0.2, most recently updated 10.0.0.3.
    void SetUp() override {
        HistoryScreenFixture::SetUp();
        record("10.0.0.1", "US", 2);
        record("10.0.0.2", "JP", 5);
        record("10.0.0.3", "DE", 1);
        sql("UPDATE history SET updated_at='2020-01-0'||id||' 00:00:00'");
        list = new HistoryViewController(&db);
        show(list);
    }
    QString rows() { return list->tableView()->renderText(); }

    HistoryViewController* list = nullptr;
};

TEST_F(HistoryViewControllerTest, ListsByCountThenByDateAsTheSegmentsChoose) {
    EXPECT_EQ(rows(), "--\n10.0.0.2\tJP land\n10.0.0.1\tUS land\n10.0.0.3\tDE land\n");
    list->segmentedControl()->tapSegmentAtIndex(1);
    EXPECT_EQ(list->orderBy(), HistoryViewController::OrderByDate);
    EXPECT_EQ(rows(), "--\n10.0.0.3\tDE land\n10.0.0.2\tJP land\n10.0.0.1\tUS land\n");
    list->segmentedControl()->tapSegmentAtIndex(0);
    EXPECT_EQ(rows(), "--\n10.0.0.2\tJP land\n10.0.0.1\tUS land\n10.0.0.3\tDE land\n");
}

TEST_F(HistoryViewControllerTest, SwipeDeleteRemovesTheRowAndTheRecord) {
    list->tableView()->swipeToDeleteRowAtIndexPath({0, 0});
    list->tableView()->confirmDeleteAtIndexPath({0, 0});
    EXPECT_EQ(rows(), "--\n10.0.0.1\tUS land\n10.0.0.3\tDE land\n");
    EXPECT_EQ(sql("SELECT count(*) FROM history WHERE ipaddr='10.0.0.2'"), "0");
}

TEST_F(HistoryViewControllerTest, DeleteAllAsksAndOnlyOkDeletes) {
    for (const int button : {0, 1}) {
        list->deleteAllAction();
        ASSERT_EQ(ui::AlertView::visibleAlerts().size(), 1);
        ui::AlertView* alert = ui::AlertView::visibleAlerts().first();
        EXPECT_EQ(alert->buttonTitleAtIndex(button), button == 0 ? "Cancel" : "OK");
        alert->dismissWithClickedButtonIndexAnimated(button, false);
        EXPECT_TRUE(list->deleteAllButton()->isEnabled());
        const QString left = sql("SELECT count(*) FROM history");
        EXPECT_EQ(left, button == 0 ? "3" : "0") << button;
        EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), left.toInt());
    }
}

TEST_F(HistoryViewControllerTest, ARowOpensItsRecordsDetails) {
    list->tableView()->tapRowAtIndexPath({0, 1});
    auto* detail = dynamic_cast<HistoryDetailViewController*>(stack->topViewController());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->data().value(4), "10.0.0.1");
    EXPECT_TRUE(list->toolbar()->isHidden());
}

} // namespace
