#include "history/HistoryDetailViewController.h"
#include "HistoryScreenFixture.h"
#include "history/HistoryCommentViewController.h"
#include "platform/ui/TableView.h"
#include "registry/ReverseDNS.h"
#include "tests/registry/DnsResponder.h"

#include "support/EventLoop.h"

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

TEST_F(HistoryDetailViewControllerTest, OnlyAnAddressWithoutHostNameIsLookedUp) {
    DnsResponder responder([](const QByteArray& id, const QByteArray& question) {
        return build({{ptr("found.example")}}, id, question);
    });
    const int32_t known = record("192.0.2.1", "US");
    db.updateHostnamePkey("stored.example", known);
    open(known);
    const int32_t unknown = record("192.0.2.2", "US");
    auto* second = new HistoryDetailViewController(&db);
    second->setPkey(unknown);
    stack->pushViewControllerAnimated(second, false);
    ASSERT_TRUE(testenv::processEventsUntil([&] {
        return second->tableView()->rowTexts({0, 1}).value(1) == "found.example";
    }));
    EXPECT_EQ(db.selectHistory(unknown).value(2), "found.example");
    EXPECT_EQ(db.selectHistory(known).value(2), "stored.example");
    EXPECT_EQ(responder.queries(), 1);
    // A run that only prints (a dump) asks the network nothing.
    ReverseDNS::setBackgroundQueriesAllowed(false);
    auto* third = new HistoryDetailViewController(&db);
    third->setPkey(record("192.0.2.3", "US"));
    stack->pushViewControllerAnimated(third, false);
    ReverseDNS::setBackgroundQueriesAllowed(true);
    EXPECT_TRUE(ReverseDNS::waitForQueries(5000));
    EXPECT_EQ(responder.queries(), 1);
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
