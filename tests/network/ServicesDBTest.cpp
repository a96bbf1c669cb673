#include "network/ServicesDB.h"
#include "support/MessageLog.h"
#include "tests/network/ServicesFile.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Rows = QList<QStringList>;

ServicesDB* db() {
    return ServicesDB::sharedInstance();
}

TEST(ServicesDB, TheShippedFileNamesWellKnownPorts) {
    db()->open();
    EXPECT_TRUE(db()->openPath().endsWith("/services.db"));
    EXPECT_EQ(db()->searchWithProtocol(22, 6), Rows({{"ssh", "The Secure Shell (SSH) Protocol"}}));
}

TEST(ServicesDB, ADocumentsCopyWinsAndEachSearchStandsAlone) {
    const ServicesFile copy({"80, 6, 'http', 'World Wide Web HTTP'", "80, 6, 'www', ''",
                             "80, 17, 'http', 'over UDP'", "7, 6, NULL, NULL"});
    EXPECT_EQ(db()->openPath(), QFile::encodeName(ServicesFile::path()));
    const Rows tcp = {{"http", "World Wide Web HTTP"}, {"www", ""}};
    EXPECT_EQ(db()->searchWithProtocol(80, 6), tcp);
    EXPECT_EQ(db()->searchWithProtocol(80, 17), Rows({{"http", "over UDP"}}));
    EXPECT_EQ(db()->searchWithProtocol(80, 6), tcp) << "the statement was reset";
    EXPECT_TRUE(db()->searchWithProtocol(22, 6).isEmpty()) << "the shipped file was not asked";
    const Rows nulls = db()->searchWithProtocol(7, 6);
    ASSERT_EQ(nulls.size(), 1);
    EXPECT_EQ(nulls[0], QStringList({"", ""}));
}

TEST(ServicesDB, CloseTwiceThenSearchFindsNothing) {
    db()->open();
    db()->close();
    EXPECT_FALSE(db()->isOpen());
    db()->close();
    EXPECT_FALSE(db()->isOpen());
    EXPECT_TRUE(db()->searchWithProtocol(22, 6).isEmpty());
    db()->open();
    EXPECT_EQ(db()->searchWithProtocol(22, 6).size(), 1);
}

// A copy that is no database, or a database without the table, is used all the same
// (as the documents copy always is): it is named in a warning and finds nothing.
TEST(ServicesDB, AFileThatIsNoServicesDatabaseWarnsAndFindsNothing) {
    const struct {
        QByteArray bytes;
        const char* error;
    } cases[] = {{QByteArray(4096, 'x'), "file is not a database"},
                 {QByteArray(), "no such table: service"}};
    db(); // made over the shipped file, before the copies are laid down
    for (const auto& [bytes, error] : cases) {
        const testenv::MessageLog log("ormel.network");
        const ServicesFile copy(bytes);
        EXPECT_TRUE(db()->searchWithProtocol(22, 6).isEmpty()) << error;
        EXPECT_EQ(log.warnings(),
                  QStringList(QStringLiteral(
                                  "ServicesDB: Error: failed to prepare statement with message: ") +
                              error));
    }
    EXPECT_EQ(db()->searchWithProtocol(22, 6).size(), 1) << "the shipped file again";
}

} // namespace
