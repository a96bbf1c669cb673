#include "registry/DestinationViewController.h"

#include "history/HistoryDB.h"
#include "platform/ui/TableView.h"
#include "registry/TarnelDB.h"

#include "support/TestEnvironment.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The rows as the screen shows them, "title\tvalue" each.
QStringList rows(const DestinationViewController& screen) {
    QStringList shown;
    for (int row = 0; row < DestinationViewController::kRowCount; ++row) {
        shown.append(screen.rowTitle(row) + '\t' + screen.rowValue(row));
    }
    return shown;
}

// A screen for `address` opened as the route detail opens it, without asking DNS.
void open(DestinationViewController& screen, const QString& address) {
    screen.setIpaddr(address, false);
    screen.setData(TarnelDB::sharedInstance()->search(address));
}

TEST(DestinationViewController, AKnownAddressShowsItsSixRegistryValuesUnderTheirLabels) {
    ASSERT_TRUE(TarnelDB::sharedInstance()->ready());
    const QStringList labels = TarnelDB::sharedInstance()->TLDLabel();
    const QStringList japan = TarnelDB::sharedInstance()->search("133.5.6.7");
    ASSERT_EQ(japan.value(0), "JP");
    DestinationViewController screen;
    open(screen, "133.5.6.7");
    QStringList expected = {"Address\t133.5.6.7", "Host Name\t"};
    for (int value = 0; value < 6; ++value) {
        expected.append(labels.value(value) + '\t' + japan.value(value));
    }
    EXPECT_EQ(rows(screen), expected);
    EXPECT_EQ(screen.title(), "Destination");
}

TEST(DestinationViewController, AnUnknownAddressKeepsTheLabelsWithEmptyValues) {
    DestinationViewController screen;
    open(screen, "10.1.2.3");
    const QStringList shown = rows(screen);
    EXPECT_EQ(shown.value(0), "Address\t10.1.2.3");
    for (int row = 1; row < DestinationViewController::kRowCount; ++row) {
        EXPECT_TRUE(shown.value(row).endsWith('\t')) << shown.value(row).toStdString();
    }
    EXPECT_EQ(shown.value(2), TarnelDB::sharedInstance()->TLDLabel().value(0) + '\t');
}

// The history written to lives in a documents directory of the test's own.
class DestinationHostnameTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("ORMEL_DOCUMENTS_DIR");
        qputenv("ORMEL_DOCUMENTS_DIR",
                QFile::encodeName(testenv::makeTempDir("destination") + "/Documents"));
        history()->close();
    }
    void TearDown() override {
        history()->close();
        qputenv("ORMEL_DOCUMENTS_DIR", saved_);
    }
    static HistoryDB* history() { return HistoryDB::sharedInstance(); }
    // The host name of the one history row, which is of 133.5.6.7.
    static QString recordedHostname() {
        const QStringList ids = history()->selectAllHistoriesOrderBy(1);
        return ids.size() == 1 ? history()->selectHistory(ids.first().toInt()).value(2)
                               : QStringLiteral("(%1 rows)").arg(ids.size());
    }

    QByteArray saved_;
};

TEST_F(DestinationHostnameTest, AnAnsweredNameIsShownAndWrittenToTheHistoryOfTheAddress) {
    ASSERT_TRUE(history()->begin());
    history()->insertHistory({"133.5.6.7", "JP", "Japan", "APNIC", "", "", ""});
    ASSERT_TRUE(history()->commit());
    DestinationViewController screen;
    open(screen, "133.5.6.7");
    screen.view();
    EXPECT_EQ(screen.rowValue(DestinationViewController::kHostnameRow), "");

    screen.reverseDNSFoundHostname(nullptr, "");
    EXPECT_EQ(recordedHostname(), "");
    screen.reverseDNSFoundHostname(nullptr, "www.example.ac.jp");
    EXPECT_EQ(screen.rowValue(DestinationViewController::kHostnameRow), "www.example.ac.jp");
    EXPECT_EQ(recordedHostname(), "www.example.ac.jp");
    // A long name wraps: its row grows past the others.
    screen.reverseDNSFoundHostname(nullptr, QString(40, 'a') + ".example.ac.jp");
    EXPECT_GT(screen.tableViewHeightForRowAtIndexPath(screen.tableView(), {0, 1}),
              DestinationViewController::kRowHeight);
    EXPECT_EQ(screen.tableViewHeightForRowAtIndexPath(screen.tableView(), {0, 0}),
              DestinationViewController::kRowHeight);
}

} // namespace
