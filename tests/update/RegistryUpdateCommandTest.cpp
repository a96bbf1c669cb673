#include "UpdateFixture.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace updatetest {
namespace {

using Behaviour = testenv::HttpTestServer::Behaviour;

struct ProgramRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// `ormel --update-registry` against the test's server, in a documents directory of
// its own.
class UpdateCommand : public ::testing::Test {
protected:
    void SetUp() override {
        const QString folder = testenv::makeTempDir("update-command");
        documents_ = folder + "/Documents";
        sourcesList_ = folder + "/sources.txt";
    }

    void writeSources(const QList<QByteArray>& urls) const {
        QFile list(sourcesList_);
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("# the test's server\n");
        for (const QByteArray& url : urls) {
            list.write(url + "\n");
        }
    }

    QList<QByteArray> serveFiveRegistries() {
        QList<QByteArray> urls;
        int octet = 41;
        for (const char* rir : {"afrinic", "apnic", "arin", "lacnic", "ripencc"}) {
            const QByteArray name = QByteArray("/delegated-") + rir + "-extended-latest";
            server_.serve(
                name, {200, statisticsFile(rir, "AQ", 2100, octet++), {}, Behaviour::Whole, {}});
            urls.append(server_.url(name));
        }
        return urls;
    }

    ProgramRun run(const QStringList& arguments) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ORMEL_DOCUMENTS_DIR", documents_);
        environment.insert("ORMEL_REGISTRY_SOURCES", sourcesList_);
        environment.remove("ORMEL_REGISTRY_URL");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ORMEL_BINARY), arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QString documents_;
    QString sourcesList_;
    testenv::HttpTestServer server_;
};

// The shipped copy of a fresh build is current too: the first run is forced.
TEST_F(UpdateCommand, InstallsThenFindsTheFileCurrentUnlessForced) {
    writeSources(serveFiveRegistries());
    const ProgramRun first = run({"--update-registry", "--force"});
    ASSERT_EQ(first.status, 0) << first.err.constData();
    const QByteArray today = QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd").toLatin1();
    EXPECT_TRUE(first.out.startsWith("installed ccTLD.dat: ")) << first.out.constData();
    EXPECT_TRUE(first.out.endsWith(" ranges, dated " + today + "\n")) << first.out.constData();
    EXPECT_EQ(first.err, ""); // no progress bar without a terminal
    EXPECT_TRUE(QFileInfo(documents_ + "/ccTLD.dat").isFile());

    const int requests = server_.requests();
    const ProgramRun second = run({"--update-registry"});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out, "registry already current (dated " + today + ")\n");
    EXPECT_EQ(server_.requests(), requests);

    const ProgramRun forced = run({"--update-registry", "--force"});
    EXPECT_EQ(forced.status, 0) << forced.err.constData();
    EXPECT_TRUE(forced.out.startsWith("installed ccTLD.dat: "));
    EXPECT_TRUE(QFileInfo(documents_ + "/ccTLD.dat.bak").isFile());
}

TEST_F(UpdateCommand, ADeadServerFailsClearlyAndKeepsTheInstalledFile) {
    quint16 port = 0;
    {
        const testenv::HttpTestServer gone;
        port = gone.port();
    }
    QList<QByteArray> urls = serveFiveRegistries();
    urls[2] = "http://127.0.0.1:" + QByteArray::number(port) + "/delegated-arin-extended-latest";
    writeSources(urls);
    QDir().mkpath(documents_);
    const QByteArray old = registryFile(registryfile::JP);
    QFile installed(documents_ + "/ccTLD.dat");
    ASSERT_TRUE(installed.open(QIODevice::WriteOnly));
    installed.write(old);
    installed.close();

    const ProgramRun run = this->run({"--update-registry", "--force"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.startsWith("ormel: registry update failed: " + urls[2]))
        << run.err.constData();
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    EXPECT_EQ(installed.readAll(), old);
    EXPECT_EQ(QDir(documents_).entryList(QDir::Files), QStringList{"ccTLD.dat"});
}

TEST_F(UpdateCommand, ForceGoesWithUpdateRegistry) {
    const ProgramRun run = this->run({"--force"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.startsWith("ormel: --force goes with --update-registry"));
}

} // namespace
} // namespace updatetest
