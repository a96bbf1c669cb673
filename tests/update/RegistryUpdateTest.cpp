#include "UpdateFixture.h"

namespace updatetest {
namespace {

using Behaviour = testenv::HttpTestServer::Behaviour;
using Reply = testenv::HttpTestServer::Reply;
using Stage = RegistryUpdateDelegate::Stage;

// An installed copy (JP for 41.0.0.0/24) dated a while ago, and a ready registry file
// (US there) on the server.
class SingleFileUpdate : public UpdateTest {
protected:
    void SetUp() override {
        UpdateTest::SetUp();
        installOldCopy();
    }

    QString countryOf(const char* address) const {
        return TarnelDB::sharedInstance()->search(QString::fromLatin1(address)).value(0);
    }
};

TEST_F(SingleFileUpdate, InstallsDatedByLastModifiedKeepsTheBackupAndReopens) {
    ASSERT_EQ(countryOf("41.0.0.1"), "JP");
    server_.serve("/ccTLD.dat", {200,
                                 registryFile(registryfile::US),
                                 "Sun, 06 Nov 2022 08:49:37 GMT",
                                 Behaviour::Whole,
                                 {}});
    const Outcome outcome = run({server_.url("/ccTLD.dat")}, true);
    ASSERT_TRUE(outcome.succeeded) << outcome.message.toStdString();
    EXPECT_EQ(outcome.installed.ranges, 1u);
    const QDateTime lastModified(QDate(2022, 11, 6), QTime(8, 49, 37), QTimeZone::utc());
    EXPECT_EQ(outcome.installed.dated, lastModified);
    EXPECT_EQ(modified(path()), lastModified);
    EXPECT_EQ(readFile(path()), registryFile(registryfile::US));
    EXPECT_EQ(readFile(path(".bak")), registryFile(registryfile::JP));
    EXPECT_FALSE(QFileInfo::exists(path(".new")));
    EXPECT_EQ(countryOf("41.0.0.1"), "US");
    EXPECT_EQ(outcome.lastReceived, registryFile(registryfile::US).size());
    EXPECT_EQ(outcome.lastTotal, outcome.lastReceived);
}

TEST_F(SingleFileUpdate, WithoutLastModifiedIsDatedByTheDownloadAndReplacesAnOlderBackup) {
    writeFile(path(".bak"), "an older backup");
    server_.serve("/ccTLD.dat", {200, registryFile(registryfile::US), {}, Behaviour::Whole, {}});
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    const Outcome outcome = run({server_.url("/ccTLD.dat")}, true);
    ASSERT_TRUE(outcome.succeeded) << outcome.message.toStdString();
    EXPECT_GE(modified(path()), before);
    EXPECT_EQ(readFile(path(".bak")), registryFile(registryfile::JP));
}

TEST_F(SingleFileUpdate, FollowsARedirectOnTheSameScheme) {
    server_.serve("/old", {302, {}, {}, Behaviour::Redirect, server_.url("/ccTLD.dat")});
    server_.serve("/ccTLD.dat", {200, registryFile(registryfile::US), {}, Behaviour::Whole, {}});
    const Outcome outcome = run({server_.url("/old")}, true);
    ASSERT_TRUE(outcome.succeeded) << outcome.message.toStdString();
    EXPECT_EQ(readFile(path()), registryFile(registryfile::US));
}

// Whatever goes wrong, the installed copy stays as it was, dated as it was, and the
// backup is gone back into it.
TEST_F(SingleFileUpdate, AFailedTransferOrBodyNeverReplacesTheInstalledFile) {
    const QByteArray good = registryFile(registryfile::US);
    QByteArray garbage(4096, 'x');
    garbage[0] = 0; // no registries: the ranges are read out of order
    const struct {
        const char* what;
        Reply reply;
        Stage stage;
    } cases[] = {
        {"404", {404, "not here\n", {}, Behaviour::Whole, {}}, Stage::Download},
        {"500", {500, good, {}, Behaviour::Whole, {}}, Stage::Download},
        {"truncated", {200, good, {}, Behaviour::Truncated, {}}, Stage::Download},
        // Qt sometimes reads a chunked body cut by a reset as complete; the half file is
        // then refused at the install.
        {"reset", {200, good, {}, Behaviour::Reset, {}}, Stage::Download},
        {"stalled", {200, good, {}, Behaviour::Stall, {}}, Stage::Download},
        {"redirected to ftp",
         {302, {}, {}, Behaviour::Redirect, "ftp://127.0.0.1/ccTLD.dat"},
         Stage::Download},
        {"garbage", {200, garbage, {}, Behaviour::Whole, {}}, Stage::Install},
        {"empty", {200, {}, {}, Behaviour::Whole, {}}, Stage::Install},
        {"text", {200, "<html>moved</html>\n", {}, Behaviour::Whole, {}}, Stage::Install},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        server_.serve("/ccTLD.dat", each.reply);
        const Outcome outcome = run({server_.url("/ccTLD.dat")}, true, 300);
        EXPECT_FALSE(outcome.succeeded);
        const bool resetRefusedLater =
            std::string_view(each.what) == "reset" && outcome.stage == Stage::Install;
        if (!resetRefusedLater) {
            EXPECT_EQ(outcome.stage, each.stage) << outcome.message.toStdString();
        }
        EXPECT_FALSE(outcome.message.isEmpty());
        expectUntouched(registryFile(registryfile::JP), oldDate);
        EXPECT_EQ(countryOf("41.0.0.1"), "JP");
    }
}

TEST_F(SingleFileUpdate, ADeadServerFailsNamingTheSource) {
    quint16 port = 0;
    {
        const testenv::HttpTestServer gone;
        port = gone.port();
    }
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port) + "/ccTLD.dat";
    const Outcome outcome = run({url}, true);
    EXPECT_EQ(outcome.stage, Stage::Download);
    EXPECT_TRUE(outcome.message.contains(QString::fromLatin1(url)))
        << outcome.message.toStdString();
    expectUntouched(registryFile(registryfile::JP), oldDate);
}

// A link planted where the new copy is written is removed, never written through.
TEST_F(SingleFileUpdate, ALinkAtTheNewFileIsNotFollowed) {
    const QString victim = testenv::makeTempDir("victim") + "/victim";
    writeFile(victim, "keep me");
    ASSERT_TRUE(QFile::link(victim, path(".new")));
    server_.serve("/ccTLD.dat", {200, registryFile(registryfile::US), {}, Behaviour::Whole, {}});
    const Outcome outcome = run({server_.url("/ccTLD.dat")}, true);
    ASSERT_TRUE(outcome.succeeded) << outcome.message.toStdString();
    EXPECT_EQ(readFile(victim), "keep me");
    EXPECT_FALSE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readFile(path()), registryFile(registryfile::US));
}

TEST_F(SingleFileUpdate, AFullDiskNeverReplacesTheInstalledFile) {
    QByteArray large = registryFile(registryfile::US);
    large.append(QByteArray(64 * 1024 - 1, '\0')); // a partial record the engine ignores
    server_.serve("/ccTLD.dat", {200, large, {}, Behaviour::Whole, {}});
    Outcome outcome;
    {
        const FileSizeLimit limit(16 * 1024);
        outcome = run({server_.url("/ccTLD.dat")}, true);
    }
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.message.contains(qt_error_string(EFBIG))) << outcome.message.toStdString();
    expectUntouched(registryFile(registryfile::JP), oldDate);
}

TEST_F(SingleFileUpdate, ACancelPutsEverythingBack) {
    server_.serve("/ccTLD.dat", {200, registryFile(registryfile::US), {}, Behaviour::Stall, {}});
    RegistrySources sources{{QUrl(QString::fromLatin1(server_.url("/ccTLD.dat")))}, true};
    Outcome outcome;
    {
        RegistryUpdate update(&outcome, {sources, QFile::encodeName(documents_), 0, 0});
        update.start();
        EXPECT_TRUE(QFileInfo::exists(path(".bak")));
        testenv::processEventsUntil([&] { return server_.requests() > 0; });
        update.cancel();
    }
    EXPECT_FALSE(outcome.done);
    expectUntouched(registryFile(registryfile::JP), oldDate);
}

TEST_F(UpdateTest, WithoutAnInstalledCopyASingleFileIsInstalledWithoutBackup) {
    server_.serve("/ccTLD.dat", {200, registryFile(registryfile::US), {}, Behaviour::Whole, {}});
    const Outcome outcome = run({server_.url("/ccTLD.dat")}, true);
    ASSERT_TRUE(outcome.succeeded) << outcome.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(".bak")));
    EXPECT_EQ(TarnelDB::sharedInstance()->openPath(), path());
}

} // namespace
} // namespace updatetest
