#include "registry/TarnelDB.h"

#include "common/Resources.h"
#include "registry/tarnel.h"
#include "support/TestEnvironment.h"
#include "support/WithoutReadingAnyFile.h"
#include "tests/registry/RegistryFile.h"

#include <QDir>
#include <QFile>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace registryfile;

// A downloaded copy in the documents directory: 10/8 is a private block, 133/8
// Japan, 133.1/16 a range without a date, 133.2.0.0 + 1 a range no prefix covers,
// 133.3/16 a date the calendar does not have, 133.4/16 a date of seven digits,
// 133.5/16 a status the status table lacks.
QByteArray downloadedCopy() {
    return registryfile::bytes(
        {{1, 20240101}}, {{ip(10, 0, 0, 0), ip(11, 0, 0, 0), SIP02, 0, 0, 0},
                          {ip(133, 0, 0, 0), ip(133, 1, 0, 0), JP, APNIC, 19970301, ALLOCATED},
                          {ip(133, 1, 0, 0), ip(133, 2, 0, 0), JP, APNIC, 0, ASSIGNED},
                          {ip(133, 2, 0, 0), ip(133, 2, 0, 1), JP, APNIC, 20000101, ASSIGNED},
                          {ip(133, 3, 0, 0), ip(133, 4, 0, 0), JP, APNIC, 20231399, ALLOCATED},
                          {ip(133, 4, 0, 0), ip(133, 5, 0, 0), JP, APNIC, 1010101, ALLOCATED},
                          {ip(133, 5, 0, 0), ip(133, 6, 0, 0), JP, APNIC, 19970301, 7}});
}

class TarnelDBTest : public ::testing::Test {
protected:
    void SetUp() override { db()->updated(); }
    void TearDown() override {
        QFile::remove(downloadedPath());
        db()->updated();
    }
    static TarnelDB* db() { return TarnelDB::sharedInstance(); }
    static QString downloadedPath() { return QDir(testenv::documentsDir()).filePath("ccTLD.dat"); }
    static QString shippedPath() { return QDir(Resources::resourcePath()).filePath("ccTLD.dat"); }
    static void useDownloadedCopy() {
        ASSERT_TRUE(registryfile::write(downloadedPath(), downloadedCopy()));
        db()->updated();
        ASSERT_EQ(db()->openPath(), downloadedPath());
    }
};

TEST_F(TarnelDBTest, SpecialBlocksAndTextThatIsNoAddressGiveNothing) {
    for (const char* address :
         {"10.1.2.3", "127.0.0.1", "192.168.1.1", "0.0.0.0", "224.0.0.251", "255.255.255.255"}) {
        EXPECT_TRUE(db()->search(address).isEmpty()) << address;
    }
    // Which texts are addresses the fuzzer checks; each of these would scan as one
    // (133.5.6.7 or 1.1.1.1) if it reached the lookup unchecked.
    for (const char* text : {"133.5.6.7 ", "257.1.1.1", "133.5.6.7.8"}) {
        EXPECT_TRUE(db()->search(QString::fromLatin1(text)).isEmpty()) << text;
    }
}

TEST_F(TarnelDBTest, DatesShowWithTheirStatusAndNetworksAsPrefixOrRange) {
    useDownloadedCopy();
    EXPECT_EQ(db()->search("133.0.0.1").value(5), "1997-03-01 (allocated)");
    EXPECT_EQ(db()->search("133.1.0.1").value(5), Resources::text("Unknown"));
    // A number that is no date shows as it stands.
    EXPECT_EQ(db()->search("133.3.0.1").value(5), "20231399 (allocated)");
    EXPECT_EQ(db()->search("133.4.0.1").value(5), "1010101 (allocated)");
    EXPECT_EQ(db()->search("133.5.0.1").value(5), "1997-03-01");
    EXPECT_TRUE(db()->search("10.1.1.1").isEmpty());
    // A range no prefix covers shows its first and last address.
    EXPECT_EQ(db()->search("133.2.0.0").value(4), "133.2.0.0 - 133.2.0.0");
    EXPECT_EQ(db()->search("133.1.200.1").value(4), "133.1.0.0/16");
}

TEST_F(TarnelDBTest, PrefersTheDownloadedCopyAndFallsBackToTheShippedOne) {
    useDownloadedCopy();
    EXPECT_TRUE(db()->search("8.8.8.8").isEmpty()); // the small copy has no US ranges
    QByteArray cut = downloadedCopy();
    cut.truncate(8); // one registry record announced, seven bytes of it present
    for (const QByteArray& unusable : {cut, QByteArray()}) {
        if (unusable.isEmpty()) {
            ASSERT_TRUE(QFile::remove(downloadedPath()));
        } else {
            ASSERT_TRUE(registryfile::write(downloadedPath(), unusable));
        }
        db()->updated();
        EXPECT_TRUE(db()->ready());
        EXPECT_EQ(db()->openPath(), shippedPath());
        EXPECT_EQ(db()->search("8.8.8.8").value(0), "US");
    }
}

// The messages of the registry's logging category while `work` runs.
QStringList registryMessages(const std::function<void()>& work) {
    static QStringList* captured = nullptr;
    QStringList messages;
    captured = &messages;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (qstrcmp(context.category, "ormel.registry") == 0) {
                captured->append(
                    QStringLiteral("%1: %2").arg(type == QtWarningMsg ? "warning" : "other", text));
            }
        });
    work();
    qInstallMessageHandler(previous);
    captured = nullptr;
    return messages;
}

TEST_F(TarnelDBTest, ARefusedDownloadedCopyIsNamedOnceWithWhyBeforeTheShippedOneOpens) {
    const QString path = downloadedPath();
    const QByteArray encoded = QFile::encodeName(path);
    const QString other = QDir(testenv::documentsDir()).filePath("other.dat");
    ASSERT_TRUE(registryfile::write(other, downloadedCopy()));
    QByteArray unsorted = downloadedCopy();
    unsorted.append(unsorted.mid(1 + 12, 24)); // the first range again, after the last
    const std::function<void()> removeIt = [&] { QFile::remove(path) || QDir().rmdir(path); };
    const std::pair<std::function<void()>, QString> kinds[] = {
        {[] {}, QString()}, // no copy at all: nothing to say
        {[&] {
             ASSERT_EQ(::symlink(QFile::encodeName(other).constData(), encoded.constData()), 0);
         },
         "not a regular file but a symbolic link"},
        {[&] { ASSERT_EQ(::mkfifo(encoded.constData(), 0600), 0); },
         "not a regular file but a FIFO"},
        {[&] { ASSERT_TRUE(QDir().mkdir(path)); }, "not a regular file but a directory"},
        {[&] { ASSERT_TRUE(registryfile::write(path, "<html>Not found</html>")); },
         "too short for its header"},
        {[&] { ASSERT_TRUE(registryfile::write(path, unsorted)); },
         "its address ranges are out of order or overlap"},
        {[&] {
             ASSERT_TRUE(registryfile::write(path, downloadedCopy()));
             ASSERT_EQ(::chmod(encoded.constData(), 0), 0);
         },
         "cannot read it (Permission denied)"}};
    for (const auto& [makeIt, why] : kinds) {
        removeIt();
        makeIt();
        QStringList messages;
        withoutReadingAnyFile([&] { messages = registryMessages([] { db()->updated(); }); });
        const QStringList expected =
            why.isEmpty()
                ? QStringList()
                : QStringList{QStringLiteral("warning: registry file %1 refused: %2; using "
                                             "the shipped copy")
                                  .arg(path, why)};
        EXPECT_EQ(messages, expected);
        EXPECT_EQ(db()->openPath(), shippedPath()) << qPrintable(why);
        // Once an open, not once a lookup.
        EXPECT_TRUE(registryMessages([] { db()->search("8.8.8.8"); }).isEmpty());
    }
    removeIt();
}

// Run in a child process of its own, in a private mount namespace: a file of the
// kernel's, whose size (0) never agrees with what reading it gives, stands at the
// downloaded copy's path.
void openAFileThatKeepsChanging(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    if (!registryfile::write(path, "") || ::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("/proc/self/stat", encoded.constData(), nullptr, MS_BIND, nullptr) != 0) {
        std::fprintf(stderr, "no private mount namespace\n");
        std::_Exit(3);
    }
    TarnelDB::sharedInstance()->updated();
    std::_Exit(TarnelDB::sharedInstance()->ready() ? 0 : 1);
}

TEST_F(TarnelDBTest, ACopyStillBeingWrittenIsNamedAsChangingWhileRead) {
    if (geteuid() != 0 && !qEnvironmentVariableIsSet("CI")) {
        GTEST_SKIP() << "a private mount namespace needs root";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(openAFileThatKeepsChanging(downloadedPath()), ::testing::ExitedWithCode(0),
                "registry file .*/ccTLD.dat refused: it changed while it was read \\(still being "
                "written\\?\\); using the shipped copy");
}

TEST_F(TarnelDBTest, AClosedRegistryAnswersNothing) {
    db()->close();
    EXPECT_FALSE(db()->ready());
    EXPECT_TRUE(db()->search("133.5.6.7").isEmpty());
    db()->close(); // closing twice is harmless
    db()->open();
    EXPECT_TRUE(db()->ready());
}

TEST(TarnelDBFlags, FlagImagesAreNamedByTheLowerCaseCode) {
    EXPECT_EQ(TarnelDB::flagImageName("JP"), "flags/jp.png");
    // Every code the table can return has a flag, but for the codes no free flag
    // exists for: those show the placeholder.
    QStringList missing;
    for (uint32_t row = 31; row < TL_TLD_ROWS; ++row) {
        const QString code = QString::fromLatin1(tldTable[row].code);
        if (Resources::image(TarnelDB::flagImageName(code)).isNull()) {
            missing.append(code);
        }
    }
    EXPECT_EQ(missing, QStringList({"AC", "AN", "AP", "CS", "SU", "YU"}));
    EXPECT_FALSE(Resources::image("none32.png").isNull());
}

} // namespace
