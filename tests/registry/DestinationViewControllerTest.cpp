#include "registry/DestinationViewController.h"

#include "history/HistoryDB.h"
#include "registry/TarnelDB.h"

#include "support/EventLoop.h"
#include "support/TestEnvironment.h"
#include "tests/registry/DnsResponder.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray answering(const QByteArray& host, const QByteArray& id, const QByteArray& question) {
    return build({{ptr(host)}}, id, question);
}

// The rows of a known and an unknown address are checked through --dump (tests/app).
TEST(DestinationViewController, AnAnsweredNameShowsAndReachesTheHistoryEvenAfterTheScreenCloses) {
    const QByteArray saved = qgetenv("ORMEL_DOCUMENTS_DIR");
    qputenv("ORMEL_DOCUMENTS_DIR", QFile::encodeName(testenv::makeTempDir("destination")));
    HistoryDB* history = HistoryDB::sharedInstance();
    history->close();
    ASSERT_TRUE(history->begin());
    history->insertHistory({"133.5.6.7", "JP", "Japan", "APNIC", "", "", ""});
    ASSERT_TRUE(history->commit());
    const auto recorded = [history] {
        const QStringList ids = history->selectAllHistoriesOrderBy(1);
        return history->selectHistory(ids.value(0).toInt()).value(2);
    };
    const auto settle = [] {
        ASSERT_TRUE(ReverseDNS::waitForQueries(30000));
        testenv::flushEvents();
    };
    const int row = DestinationViewController::kHostnameRow;
    {
        DnsResponder responder([](const QByteArray& id, const QByteArray& question) {
            return answering("www.example.ac.jp", id, question);
        });
        DestinationViewController screen;
        screen.view();
        screen.setIpaddr("133.5.6.7");
        settle();
        EXPECT_EQ(screen.rowValue(row), "www.example.ac.jp");
        EXPECT_EQ(recorded(), "www.example.ac.jp");
        EXPECT_EQ(screen.tableViewHeightForRowAtIndexPath(nullptr, {0, row}), 40);
        // A name too long for a line wraps inside its words: the row grows.
        screen.reverseDNSFoundHostname(nullptr, QString(40, 'a') + ".example.ac.jp");
        EXPECT_GT(screen.tableViewHeightForRowAtIndexPath(nullptr, {0, row}), 40);
    }
    DnsResponder late(
        [](const QByteArray& id, const QByteArray& question) {
            return answering("late.example.ac.jp", id, question);
        },
        /*held=*/true);
    auto screen = std::make_unique<DestinationViewController>();
    screen->setIpaddr("133.5.6.7");
    ASSERT_TRUE(testenv::processEventsUntil([&] { return late.queries() >= 1; }));
    screen.reset();
    late.release();
    settle();
    EXPECT_EQ(recorded(), "late.example.ac.jp");

    history->close();
    qputenv("ORMEL_DOCUMENTS_DIR", saved);
}

} // namespace
