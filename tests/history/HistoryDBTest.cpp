#include "history/HistoryDB.h"
#include "support/MessageLog.h"
#include "support/TestEnvironment.h"

#include "common/Resources.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <thread>

namespace {

const QStringList kCountry = {"US",         "United States", "ARIN", "North America",
                              "8.8.8.0/24", "1992-12-01"};

QStringList row(const QString& address) {
    return QStringList{address} + kCountry;
}

// A second connection to the same file, as another process would hold it.
class SideConnection {
public:
    explicit SideConnection(const QString& path) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &conn_, SQLITE_OPEN_READWRITE,
                        nullptr);
    }
    ~SideConnection() { sqlite3_close(conn_); }
    SideConnection(const SideConnection&) = delete;
    SideConnection& operator=(const SideConnection&) = delete;

    int exec(const char* sql) { return sqlite3_exec(conn_, sql, nullptr, nullptr, nullptr); }
    // The first column of the first row.
    QString value(const char* sql) {
        QString text;
        sqlite3_exec(
            conn_, sql,
            [](void* out, int, char** values, char**) {
                *static_cast<QString*>(out) = QString::fromUtf8(values[0]);
                return 1; // one row is enough
            },
            &text, nullptr);
        return text;
    }

private:
    sqlite3* conn_ = nullptr;
};

// Each case gets a documents directory of its own that does not exist yet.
class HistoryDBTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("ORMEL_DOCUMENTS_DIR");
        freshDocuments();
    }
    void TearDown() override { qputenv("ORMEL_DOCUMENTS_DIR", saved_); }

    void freshDocuments() {
        documents_ = testenv::makeTempDir("history") + "/Documents";
        qputenv("ORMEL_DOCUMENTS_DIR", QFile::encodeName(documents_));
    }
    QString path() const { return documents_ + "/history.db"; }
    static QByteArray shippedBytes() {
        QFile file(QDir(Resources::resourcePath()).filePath("history.db"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void layDown(const QByteArray& bytes) const {
        QDir().mkpath(documents_);
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString documents_;
    QByteArray saved_;
};

TEST_F(HistoryDBTest, TheShippedFileIsCopiedWhenTheHistoryIsFirstWritten) {
    ASSERT_FALSE(shippedBytes().isEmpty());
    {
        HistoryDB db;
        EXPECT_TRUE(db.isReady());
        EXPECT_TRUE(db.selectAllHistoriesOrderBy(1).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(documents_)) << "reading made the documents directory";
        ASSERT_TRUE(db.begin());
        EXPECT_EQ(db.openPath(), QFile::encodeName(path()));
        QFile copy(path());
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), shippedBytes());
        db.insertHistory(row("8.8.8.8"));
        EXPECT_TRUE(db.commit());
    }
    HistoryDB again; // opens the existing file, no new copy
    const QStringList ids = again.selectAllHistoriesOrderBy(1);
    ASSERT_EQ(ids.size(), 1);
    EXPECT_EQ(again.selectHistory(ids[0].toInt()).mid(4, 7), row("8.8.8.8"));
}

TEST_F(HistoryDBTest, ARepeatedAddressIsFoldedIntoItsRow) {
    HistoryDB db;
    db.insertHistory(row("1.1.1.1"));
    db.updateHostnameWithIPAddress("one.one.one.one", "1.1.1.1");
    db.updateCommentsPkey("mine", 1);
    SideConnection side(path());
    side.exec("UPDATE history SET created_at='2001-02-03 04:05:06', updated_at='2001-02-03 "
              "04:05:06';");
    QStringList moved = row("1.1.1.1");
    moved[1] = "AU";
    db.insertHistory(moved);
    db.insertHistory(row("2.2.2.2"));

    EXPECT_EQ(side.value("SELECT count(*) FROM history;"), "2");
    EXPECT_EQ(side.value("SELECT count || hostname || comments || code FROM history WHERE id=1;"),
              "2one.one.one.onemineAU");
    EXPECT_EQ(side.value("SELECT created_at FROM history WHERE id=1;"), "2001-02-03 04:05:06");
    EXPECT_GT(side.value("SELECT updated_at FROM history WHERE id=1;"), "2001-02-03 04:05:06");
    EXPECT_EQ(side.value("SELECT count FROM history WHERE ipaddr='2.2.2.2';"), "1");
    EXPECT_EQ(side.value("SELECT created_at=updated_at FROM history WHERE ipaddr='2.2.2.2';"), "1");
}

TEST_F(HistoryDBTest, ListsByUpdateOrByCountAndReadsNullAsEmptyText) {
    HistoryDB db;
    for (const char* address :
         {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.2", "10.0.0.2", "10.0.0.3"}) {
        db.insertHistory(row(address));
    }
    SideConnection side(path());
    side.exec("UPDATE history SET updated_at='2020-01-0' || (4 - id) || ' 00:00:00';");
    EXPECT_EQ(db.selectAllHistoriesOrderBy(1), QStringList({"1", "2", "3"}));
    for (const int order : {0, 2}) {
        EXPECT_EQ(db.selectAllHistoriesOrderBy(order), QStringList({"2", "3", "1"})) << order;
    }
    const QStringList first = db.selectHistory(1);
    ASSERT_EQ(first.size(), 13);
    EXPECT_EQ(first.mid(0, 4), QStringList({"1", "1", "", ""}));
    EXPECT_EQ(first[11].size(), QStringLiteral("YYYY-MM-DD HH:MM:SS").size());
    EXPECT_TRUE(db.selectHistory(99).isEmpty());
}

TEST_F(HistoryDBTest, OptimizesOnlyAfterDeletionsAndOutsideATransaction) {
    HistoryDB db;
    ASSERT_TRUE(db.begin());
    for (int i = 0; i < 300; ++i) {
        db.insertHistory(row(QStringLiteral("10.1.%1.%2").arg(i / 256).arg(i % 256)));
    }
    ASSERT_TRUE(db.commit());
    EXPECT_FALSE(db.optimize()) << "nothing was deleted";

    ASSERT_TRUE(db.begin());
    db.deleteHistory(1);
    EXPECT_TRUE(db.hasDeletedItems());
    EXPECT_FALSE(db.optimize()) << "VACUUM inside the open transaction";
    EXPECT_TRUE(db.hasDeletedItems()) << "kept for a later call";
    db.deleteAllHistories();
    ASSERT_TRUE(db.commit());
    SideConnection side(path());
    EXPECT_NE(side.value("PRAGMA freelist_count;"), "0");
    db.close(); // optimizes
    EXPECT_EQ(side.value("PRAGMA freelist_count;"), "0");
    EXPECT_FALSE(db.hasDeletedItems());
    EXPECT_FALSE(db.optimize());
}

// Another connection's read lock keeps COMMIT from completing.
TEST_F(HistoryDBTest, AFailedCommitRollsBackAndLeavesTheTableAsItWas) {
    HistoryDB db;
    db.insertHistory(row("9.9.9.9"));
    SideConnection side(path());
    ASSERT_EQ(side.exec("BEGIN; SELECT count(*) FROM history;"), SQLITE_OK);
    ASSERT_TRUE(db.begin());
    db.insertHistory(row("9.9.9.9"));
    db.insertHistory(row("7.7.7.7"));
    db.updateHostnamePkey("dns9.quad9.net", 1);
    EXPECT_FALSE(db.commit());
    side.exec("COMMIT;");
    EXPECT_EQ(db.selectAllHistoriesOrderBy(2), QStringList({"1"}));
    EXPECT_EQ(db.selectHistory(1).mid(0, 3), QStringList({"1", "1", ""}));
    EXPECT_TRUE(db.begin()) << "the failed transaction was left open";
    EXPECT_TRUE(db.commit());
}

TEST_F(HistoryDBTest, ADamagedFileIsKeptAsideAndAFreshOneMade) {
    const QByteArray cases[] = {QByteArray(8192, 'x'), QByteArray()};
    for (const QByteArray& damaged : cases) {
        freshDocuments();
        layDown(damaged);
        const testenv::MessageLog log("ormel.history");
        HistoryDB db;
        ASSERT_TRUE(db.begin()) << damaged.size();
        db.insertHistory(row("4.4.4.4"));
        EXPECT_TRUE(db.commit());
        const QStringList aside = QDir(documents_).entryList({"history.db.damaged-*"});
        ASSERT_EQ(aside.size(), 1);
        QFile kept(documents_ + "/" + aside[0]);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), damaged);
        ASSERT_FALSE(log.warnings().isEmpty());
        EXPECT_TRUE(log.warnings().last().contains(path()));
        EXPECT_TRUE(log.warnings().last().contains(aside[0]));
        EXPECT_EQ(db.selectAllHistoriesOrderBy(1).size(), 1);
    }
}

TEST_F(HistoryDBTest, AFileThatCannotBeOpenedIsLeftAloneAndTheHistoryIsNotReady) {
    QDir().mkpath(path()); // a folder where the file should be
    const testenv::MessageLog log("ormel.history");
    HistoryDB db;
    EXPECT_FALSE(db.begin());
    EXPECT_FALSE(db.isReady());
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_TRUE(QDir(documents_).entryList({"*.damaged-*"}).isEmpty());
    EXPECT_EQ(log.warnings().size(), 1);
    db.insertHistory(row("1.2.3.4"));
    EXPECT_TRUE(db.selectAllHistoriesOrderBy(1).isEmpty());
}

// The gathering thread's second pass, two resolvers and two readers at once: each
// sees its own statement whole (a reader never gets a list cut or restarted by
// another's step, a resolver's host name lands on its own address).
TEST_F(HistoryDBTest, GatheringHostNamesAndReadsShareTheConnection) {
    HistoryDB db;
    constexpr int kRows = 200;
    auto address = [](int i) { return QStringLiteral("172.16.%1.%2").arg(i / 250).arg(i % 250); };
    auto gather = [&] {
        EXPECT_TRUE(db.begin());
        for (int i = 0; i < kRows; ++i) {
            db.insertHistory(row(address(i)));
        }
        EXPECT_TRUE(db.commit());
    };
    auto resolve = [&](int first) {
        for (int i = first; i < kRows; i += 2) {
            db.updateHostnameWithIPAddress(QStringLiteral("host%1").arg(i), address(i));
        }
    };
    auto read = [&](int order) {
        for (int pass = 0; pass < 100; ++pass) {
            EXPECT_EQ(db.selectAllHistoriesOrderBy(order).size(), kRows);
            EXPECT_EQ(db.selectHistory(1 + pass).size(), 13);
        }
    };
    gather();
    std::thread gathering(gather);
    std::thread even(resolve, 0);
    std::thread odd(resolve, 1);
    std::thread reader(read, 1);
    read(2);
    for (std::thread* thread : {&gathering, &even, &odd, &reader}) {
        thread->join();
    }
    QStringList recorded;
    for (const QString& id : db.selectAllHistoriesOrderBy(2)) {
        const QStringList fields = db.selectHistory(id.toInt());
        ASSERT_EQ(fields.size(), 13);
        recorded.append(fields[4] + " " + fields[1] + " " + fields[2]);
    }
    ASSERT_EQ(recorded.size(), kRows);
    for (int i = 0; i < kRows; ++i) {
        EXPECT_TRUE(recorded.contains(address(i) + " 2 host" + QString::number(i))) << i;
    }
}

} // namespace
