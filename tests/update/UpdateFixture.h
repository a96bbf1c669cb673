#pragma once

#include "HttpTestServer.h"
#include "common/Resources.h"
#include "registry/RegistryFile.h"
#include "registry/TarnelDB.h"
#include "support/EventLoop.h"
#include "support/TestEnvironment.h"
#include "update/RegistryUpdate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QTimeZone>

#include <gtest/gtest.h>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace updatetest {

// A small registry file: one range 41.0.0.0/24 of the given country (a row of the
// engine's table).
inline QByteArray registryFile(uint32_t country) {
    using namespace registryfile;
    return bytes({{1, 20260101}},
                 {{ip(41, 0, 0, 0), ip(41, 0, 1, 0), country, APNIC, 20260101, ALLOCATED}});
}

// A statistics exchange file of `count` /24 blocks of `rir`, one in every other /24
// from `firstOctet`.0.0.0, so that no two merge.
inline QByteArray statisticsFile(const QByteArray& rir, const QByteArray& country, int count,
                                 int firstOctet) {
    QByteArray text = "2|" + rir + "|20260101|" + QByteArray::number(count) +
                      "|19830101|20260101|+0000\n" + rir + "|*|ipv4|*|" +
                      QByteArray::number(count) + "|summary\n";
    for (int i = 0; i < count; ++i) {
        const uint32_t address = (uint32_t(firstOctet) << 24) + uint32_t(i) * 512;
        text += rir + "|" + country + "|ipv4|" + QByteArray::number(address >> 24) + "." +
                QByteArray::number((address >> 16) & 255) + "." +
                QByteArray::number((address >> 8) & 255) + ".0|256|20200101|allocated\n";
    }
    return text;
}

// A file-size limit makes writes fail as a full disk does (EFBIG instead of ENOSPC).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

struct Outcome : RegistryUpdateDelegate {
    bool done = false;
    bool succeeded = false;
    Stage stage = Stage::Backup;
    QString message;
    Installed installed;
    qint64 lastReceived = 0;
    qint64 lastTotal = -1;

    void registryUpdateProgress(qint64 received, qint64 total) override {
        lastReceived = received;
        lastTotal = total;
    }
    void registryUpdateDidSucceed(const Installed& result) override {
        done = succeeded = true;
        installed = result;
    }
    void registryUpdateDidFail(Stage failedStage, const QString& why) override {
        done = true;
        stage = failedStage;
        message = why;
    }
};

// The documents directory of the test process, emptied of registry files, with a
// server to download from.
class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        documents_ = testenv::documentsDir();
        QDir().mkpath(documents_);
        for (const QString& name :
             QDir(documents_).entryList({"ccTLD.dat*"}, QDir::Files | QDir::System)) {
            QFile::remove(documents_ + "/" + name);
        }
        TarnelDB::sharedInstance()->updated();
    }

    // An installed copy (JP for 41.0.0.0/24) dated oldDate, open in the registry.
    void installOldCopy() {
        writeFile(path(), registryFile(registryfile::JP));
        setModified(path(), oldDate);
        TarnelDB::sharedInstance()->updated();
    }

    QString path(const QString& suffix = QString()) const {
        return documents_ + "/ccTLD.dat" + suffix;
    }

    void writeFile(const QString& file, const QByteArray& contents) const {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(contents);
    }

    static QByteArray readFile(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    static void setModified(const QString& file, const QDateTime& when) {
        const timespec times[2] = {{0, UTIME_OMIT}, {when.toSecsSinceEpoch(), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
    }

    static QDateTime modified(const QString& file) {
        return QFileInfo(file).lastModified().toUTC();
    }

    // Runs an update of the given sources to its end.
    Outcome run(const QList<QByteArray>& urls, bool singleFile, int stallTimeoutMs = 0,
                uint32_t minimumRanges = 0) {
        RegistrySources sources;
        for (const QByteArray& url : urls) {
            sources.urls.append(QUrl(QString::fromLatin1(url)));
        }
        sources.singleFile = singleFile;
        Outcome outcome;
        RegistryUpdate update(
            &outcome, {sources, QFile::encodeName(documents_), stallTimeoutMs, minimumRanges});
        update.start();
        EXPECT_TRUE(testenv::processEventsUntil([&] { return outcome.done; }, 60000));
        return outcome;
    }

    // The installed file, its date and the backup are as they were before a failed update,
    // and no temporary file is left.
    void expectUntouched(const QByteArray& contents, const QDateTime& dated) const {
        EXPECT_EQ(readFile(path()), contents);
        EXPECT_EQ(modified(path()), dated);
        const QStringList left =
            QDir(documents_).entryList({"ccTLD.dat*"}, QDir::Files | QDir::System);
        EXPECT_EQ(left, QStringList{"ccTLD.dat"});
    }

    const QDateTime oldDate = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5), QTimeZone::utc());
    QString documents_;
    testenv::HttpTestServer server_;
};

} // namespace updatetest
