#include "app/HeadlessRunner.h"
#include "history/HistoryDB.h"
#include "tests/app/LaunchedApp.h"
#include "tests/network/NetworkScreensFixture.h"

#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {

// Two recorded addresses in a documents directory of the test's own: 10.0.0.2 is the
// most counted, 10.0.0.1 the most recently updated.
class HistoryDumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("ORMEL_DOCUMENTS_DIR");
        qputenv("ORMEL_DOCUMENTS_DIR",
                QFile::encodeName(testenv::makeTempDir("history-dump") + "/Documents"));
        HistoryDB* db = HistoryDB::sharedInstance();
        db->close();
        db->begin();
        for (const char* address : {"10.0.0.1", "10.0.0.2", "10.0.0.2"}) {
            db->insertHistory(
                {address, "JP", "Japan", "APNIC", "Asia/Pacific", "10.0.0.0/8", "2001-02-03"});
        }
        db->commit();
        db->updateHostnamePkey("one.example", 1);
        db->updateHostnamePkey("two.example", 2);
        db->updateCommentsPkey("lab router", 1);
        // Stamped as a later gathering pass would stamp the first address.
        const QByteArray path = db->openPath();
        db->close();
        sqlite3* conn = nullptr;
        sqlite3_open(path.constData(), &conn);
        sqlite3_exec(conn, "UPDATE history SET updated_at='2030-01-01 00:00:00' WHERE id=1;",
                     nullptr, nullptr, nullptr);
        sqlite3_close(conn);
        app.launch();
    }
    void TearDown() override {
        HistoryDB::sharedInstance()->close();
        qputenv("ORMEL_DOCUMENTS_DIR", saved_);
    }

    NetworkScreensFixture host;
    LaunchedApp app{host.kernel};
    QByteArray saved_;
};

TEST_F(HistoryDumpTest, ListInBothOrdersAndOneEntry) {
    const struct {
        const char* screen;
        const char* text;
    } goldens[] = {
        {"history", "== History\n--\n10.0.0.2\tJapan\n10.0.0.1\tJapan\n"},
        {"history/date", "== History\n--\n10.0.0.1\tJapan\n10.0.0.2\tJapan\n"},
        {"history/1", "== Destination\n--\nAddress\t10.0.0.1\nHost Name\tone.example\nCode\tJP\n"
                      "Country\tJapan\nRegistry\tAPNIC\nRegion\tAsia/Pacific\n"
                      "Network\t10.0.0.0/8\nDate\t2001-02-03\nComment\tlab router\n"},
    };
    for (const auto& [screen, golden] : goldens) {
        QString text;
        QString error;
        EXPECT_TRUE(HeadlessRunner::dumpScreen(*app.controller, QString::fromLatin1(screen), false,
                                               &text, &error))
            << screen << ": " << error.toStdString();
        EXPECT_EQ(text, QString::fromLatin1(golden)) << screen;
    }
}

TEST_F(HistoryDumpTest, AnEntryThatIsNotThereIsAnError) {
    QString text;
    QString error;
    for (const char* screen : {"history/3", "history/99999999999999999999"}) {
        EXPECT_FALSE(HeadlessRunner::dumpScreen(*app.controller, QString::fromLatin1(screen), false,
                                                &text, &error));
        EXPECT_TRUE(error.startsWith("no history entry ")) << screen;
    }
    for (const char* screen : {"history/", "history/x", "history/-1", "history/date/1"}) {
        EXPECT_EQ(HeadlessRunner::parse(QList<QByteArray>{"--dump", screen}).kind,
                  HeadlessRequest::Kind::Invalid)
            << screen;
    }
}

} // namespace
