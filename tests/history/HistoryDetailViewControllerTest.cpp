#include "history/HistoryDetailViewController.h"
#include "HistoryScreenFixture.h"
#include "history/HistoryCommentViewController.h"
#include "platform/ui/TableView.h"

#include "support/QtPrinters.h"

#include <QLineEdit>

namespace {

class HistoryDetailViewControllerTest : public HistoryScreenFixture {
protected:
    HistoryDetailViewController* open(int32_t pkey) {
        detail = new HistoryDetailViewController(&db);
        detail->setPkey(pkey);
        show(detail);
        return detail;
    }

    HistoryDetailViewController* detail = nullptr;
};

TEST_F(HistoryDetailViewControllerTest, ShowsTheRecordWithItsStoredHostName) {
    const int32_t pkey = record("192.0.2.7", "JP");
    db.updateHostnamePkey("gw.example.jp", pkey);
    open(pkey);
    const QStringList labels = {"Address", "Host Name", "Code", "Country", "Registry",
                                "Region",  "Network",   "Date", "Comment"};
    const QStringList values = {"192.0.2.7",     "gw.example.jp", "JP",         "JP land", "ARIN",
                                "North America", "192.0.2.7/24",  "1992-12-01", ""};
    for (int row = 0; row < HistoryDetailViewController::RowCount; ++row) {
        const QStringList texts = detail->tableView()->rowTexts({0, row});
        EXPECT_EQ(texts.value(0), labels[row]) << row;
        EXPECT_EQ(texts.value(1), values[row]) << row;
    }
    EXPECT_EQ(detail->tableView()->rectForRowAtIndexPath({0, 1}).height, 40);
}

TEST_F(HistoryDetailViewControllerTest, ALongHostNameMakesItsRowTaller) {
    const QString three = QString("a-host-name-segment ").repeated(6).trimmed();
    EXPECT_GT(HistoryDetailViewController::hostnameHeight(three), 40);
    EXPECT_LT(HistoryDetailViewController::hostnameHeight("short"), 40);
}

TEST_F(HistoryDetailViewControllerTest, AnswerOfTheLookupIsStoredAndShown) {
    const int32_t pkey = record("192.0.2.8", "US");
    open(pkey);
    detail->reverseDNSFoundHostname(detail->reverseDNS(), "found.example");
    EXPECT_EQ(detail->tableView()->rowTexts({0, 1}).value(1), "found.example");
    EXPECT_EQ(db.selectHistory(pkey).value(2), "found.example");
}

TEST_F(HistoryDetailViewControllerTest, TheCommentRowEditsTheStoredComment) {
    const int32_t pkey = record("192.0.2.9", "US");
    db.updateCommentsPkey("old", pkey);
    db.updateHostnamePkey("x.example", pkey);
    open(pkey);
    detail->tableView()->tapRowAtIndexPath({0, HistoryDetailViewController::CommentsRow});
    auto* editor = dynamic_cast<HistoryCommentViewController*>(stack->topViewController());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->lineEdit()->text(), "old");
    editor->lineEdit()->setText("my router");
    emit editor->lineEdit()->returnPressed();
    EXPECT_EQ(stack->topViewController(), detail);
    EXPECT_EQ(db.selectHistory(pkey).value(3), "my router");
    EXPECT_EQ(detail->tableView()->rowTexts({0, 8}).value(1), "my router");
}

TEST_F(HistoryDetailViewControllerTest, AVanishedRecordShowsEmptyRows) {
    open(4711);
    EXPECT_TRUE(detail->data().isEmpty());
    EXPECT_EQ(detail->tableView()->rowTexts({0, 0}).value(1), "");
}

} // namespace
