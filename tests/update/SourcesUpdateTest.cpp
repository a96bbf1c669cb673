#include "UpdateFixture.h"

#include "update/RegistrySources.h"

namespace updatetest {
namespace {

using Behaviour = testenv::HttpTestServer::Behaviour;
using Reply = testenv::HttpTestServer::Reply;
using Stage = RegistryUpdateDelegate::Stage;

struct Rir {
    const char* name;
    const char* country;
    int firstOctet;
};

// Antarctica for AFRINIC's blocks: no shipped copy says so for 41.0.0.0/8.
constexpr Rir rirs[] = {{"afrinic", "AQ", 41},
                        {"apnic", "JP", 58},
                        {"arin", "US", 63},
                        {"lacnic", "BR", 177},
                        {"ripencc", "DE", 77}};

// Enough records over the five files for a sane build (RegistryUpdate's minimum).
constexpr int recordsPerFile = 2100;

// The five registries' files on the server, and an installed copy dated a while ago.
class SourcesUpdate : public UpdateTest {
protected:
    void SetUp() override {
        UpdateTest::SetUp();
        installOldCopy();
        for (const Rir& rir : rirs) {
            const QByteArray name = QByteArray("/delegated-") + rir.name + "-extended-latest";
            const QByteArray body =
                statisticsFile(rir.name, rir.country, recordsPerFile, rir.firstOctet);
            server_.serve(name, {200, body, {}, Behaviour::Whole, {}});
            urls_.append(server_.url(name));
            totalBytes_ += body.size();
        }
    }

    QList<QByteArray> urls_;
    qint64 totalBytes_ = 0;
};

TEST_F(SourcesUpdate, ConvertsAllFiveDatedByTheNewestLastModified) {
    server_.serve("/delegated-arin-extended-latest",
                  {200,
                   statisticsFile("arin", "US", recordsPerFile, 63),
                   "Tue, 01 Dec 2026 10:00:00 GMT",
                   Behaviour::Whole,
                   {}});
    server_.serve("/delegated-apnic-extended-latest",
                  {200,
                   statisticsFile("apnic", "JP", recordsPerFile, 58),
                   "Sat, 05 Dec 2026 10:00:00 GMT",
                   Behaviour::Whole,
                   {}});
    const Outcome outcome = run(urls_, false);
    ASSERT_TRUE(outcome.succeeded) << outcome.message.toStdString();
    EXPECT_GE(outcome.installed.ranges, 5u * recordsPerFile);
    const QDateTime newest(QDate(2026, 12, 5), QTime(10, 0, 0), QTimeZone::utc());
    EXPECT_EQ(modified(path()), newest);
    EXPECT_EQ(TarnelDB::sharedInstance()->search("41.0.0.1").value(0), "AQ");
    EXPECT_EQ(TarnelDB::sharedInstance()->search("77.0.2.1").value(0), "DE");
    EXPECT_EQ(readFile(path(".bak")), registryFile(registryfile::JP));
    const QStringList left = QDir(documents_).entryList({"ccTLD.dat*"}, QDir::Files | QDir::System);
    EXPECT_EQ(left, (QStringList{"ccTLD.dat", "ccTLD.dat.bak"}));
    // Progress counts the bytes of all five together.
    EXPECT_EQ(outcome.lastTotal, totalBytes_);
    EXPECT_EQ(outcome.lastReceived, outcome.lastTotal);
}

// One source at fault fails the whole update, before or after the download.
TEST_F(SourcesUpdate, OneBadSourceNeverReplacesTheInstalledFile) {
    const struct {
        const char* what;
        Reply reply;
        Stage stage;
    } cases[] = {
        {"404", {404, "not here\n", {}, Behaviour::Whole, {}}, Stage::Download},
        {"truncated",
         {200, statisticsFile("ripencc", "DE", 100, 77), {}, Behaviour::Truncated, {}},
         Stage::Download},
        {"not statistics",
         {200, "<html>maintenance</html>\n", {}, Behaviour::Whole, {}},
         Stage::Install},
        {"too few ranges",
         {200, statisticsFile("ripencc", "DE", 1, 77), {}, Behaviour::Whole, {}},
         Stage::Install},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        // "too few ranges": five files of one record each.
        for (const Rir& rir : rirs) {
            const QByteArray name = QByteArray("/delegated-") + rir.name + "-extended-latest";
            const int records = QByteArray(each.what) == "too few ranges" ? 1 : recordsPerFile;
            server_.serve(name, {200,
                                 statisticsFile(rir.name, rir.country, records, rir.firstOctet),
                                 {},
                                 Behaviour::Whole,
                                 {}});
        }
        server_.serve("/delegated-ripencc-extended-latest", each.reply);
        const Outcome outcome = run(urls_, false);
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_EQ(outcome.stage, each.stage) << outcome.message.toStdString();
        expectUntouched(registryFile(registryfile::JP), oldDate);
    }
}

TEST_F(SourcesUpdate, AFullDiskWhileWritingTheNewFileNeverReplacesTheInstalledFile) {
    Outcome outcome;
    {
        const FileSizeLimit limit(150 * 1024); // each source fits, the converted file does not
        outcome = run(urls_, false);
    }
    EXPECT_EQ(outcome.stage, Stage::Install) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.message.contains("ccTLD.dat.new")) << outcome.message.toStdString();
    expectUntouched(registryFile(registryfile::JP), oldDate);
}

TEST(RegistrySources, ListsOneUrlALineSkippingComments) {
    QString error;
    const QList<QUrl> urls = RegistrySources::parseList(
        "# the registries\n\nhttps://a.example/x\n  http://127.0.0.1:8080/y  \n", "list", &error);
    EXPECT_EQ(urls, (QList<QUrl>{QUrl("https://a.example/x"), QUrl("http://127.0.0.1:8080/y")}));
    EXPECT_TRUE(
        RegistrySources::parseList("https://a.example/x\nftp://b.example/y\n", "list", &error)
            .isEmpty());
    EXPECT_EQ(error, "list:2: not an http or https URL");
    EXPECT_TRUE(RegistrySources::parseList("# nothing\n", "list", &error).isEmpty());
}

TEST(RegistrySources, TheEnvironmentNamesAnotherListOrASingleFile) {
    const QString list = testenv::makeTempDir("sources") + "/sources.txt";
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("http://127.0.0.1:1/a\n");
    file.close();
    qputenv("ORMEL_REGISTRY_SOURCES", QFile::encodeName(list));
    QString error;
    RegistrySources sources = RegistrySources::fromEnvironment(&error);
    EXPECT_EQ(sources.urls, QList<QUrl>{QUrl("http://127.0.0.1:1/a")});
    EXPECT_FALSE(sources.singleFile);
    qputenv("ORMEL_REGISTRY_URL", "https://files.example/ccTLD.dat");
    sources = RegistrySources::fromEnvironment(&error);
    EXPECT_EQ(sources.urls, QList<QUrl>{QUrl("https://files.example/ccTLD.dat")});
    EXPECT_TRUE(sources.singleFile);
    qunsetenv("ORMEL_REGISTRY_URL");
    qunsetenv("ORMEL_REGISTRY_SOURCES");
}

TEST(RegistrySources, TheShippedListNamesTheFiveRegistries) {
    qunsetenv("ORMEL_REGISTRY_URL");
    qunsetenv("ORMEL_REGISTRY_SOURCES");
    QString error;
    const RegistrySources sources = RegistrySources::fromEnvironment(&error);
    ASSERT_EQ(sources.urls.size(), 5) << error.toStdString();
    EXPECT_FALSE(sources.singleFile);
    for (const char* rir : {"afrinic", "apnic", "arin", "lacnic", "ripencc"}) {
        const QString name = QStringLiteral("/delegated-%1-extended-latest").arg(rir);
        EXPECT_TRUE(std::any_of(sources.urls.begin(), sources.urls.end(), [&](const QUrl& url) {
            return url.scheme() == "https" && url.path().endsWith(name);
        })) << rir;
    }
}

} // namespace
} // namespace updatetest
