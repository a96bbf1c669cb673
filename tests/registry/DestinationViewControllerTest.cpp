#include "registry/DestinationViewController.h"

#include "history/HistoryDB.h"
#include "registry/TarnelDB.h"

#include "support/TestEnvironment.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The rows of a known and an unknown address are checked through --dump (tests/app).
TEST(DestinationViewController, AnAnsweredNameIsShownAndWrittenToTheHistoryOfTheAddress) {
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
    DestinationViewController screen;
    screen.setIpaddr("133.5.6.7", false);
    screen.view();
    const int row = DestinationViewController::kHostnameRow;

    screen.reverseDNSFoundHostname(nullptr, "");
    EXPECT_EQ(recorded(), "");
    screen.reverseDNSFoundHostname(nullptr, "www.example.ac.jp");
    EXPECT_EQ(screen.rowValue(row), "www.example.ac.jp");
    EXPECT_EQ(recorded(), "www.example.ac.jp");
    EXPECT_EQ(screen.tableViewHeightForRowAtIndexPath(nullptr, {0, row}), 40);
    // A name too long for a line wraps inside its words: the row grows.
    screen.reverseDNSFoundHostname(nullptr, QString(40, 'a') + ".example.ac.jp");
    EXPECT_GT(screen.tableViewHeightForRowAtIndexPath(nullptr, {0, row}), 40);

    history->close();
    qputenv("ORMEL_DOCUMENTS_DIR", saved);
}

} // namespace
