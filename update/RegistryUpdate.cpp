#include "update/RegistryUpdate.h"

#include "common/NameText.h"
#include "common/OutputFile.h"
#include "platform/ui/Bundle.h"
#include "registry/RegistryFileBuilder.h"
#include "registry/TarnelDB.h"
#include "registry/tarnel.h"
#include "update/ExclusiveFile.h"
#include "update/NSDate_ExtensionsOfRFC.h"
#include "update/URLDownload.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Stage = RegistryUpdateDelegate::Stage;

QString pathText(const QByteArray& path) {
    return NameText::fromByteArray(path);
}

QString systemError(const QString& what, const QByteArray& path, int error) {
    return QStringLiteral("cannot %1 %2: %3").arg(what, pathText(path), qt_error_string(error));
}

bool sameFile(const QByteArray& a, const QByteArray& b) {
    struct stat first {};
    struct stat second {};
    return ::lstat(a.constData(), &first) == 0 && ::lstat(b.constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool exists(const QByteArray& path) {
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0;
}

// The renamed file survives a power cut only once its directory is on the disk too.
void syncDirectory(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool setModificationTime(const QByteArray& path, const QDateTime& time) {
    const qint64 ms = time.toMSecsSinceEpoch();
    const timespec times[2] = {{0, UTIME_OMIT}, {ms / 1000, (ms % 1000) * 1000000}};
    return ::utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

QString engineRefusal(const QByteArray& path) {
    const tl_refusal refusal = tl_last_refusal();
    switch (refusal.reason) {
    case TL_TOO_SHORT:
        return QStringLiteral("%1 is not a registry file (too short)").arg(pathText(path));
    case TL_OUT_OF_ORDER:
        return QStringLiteral("%1 is not a registry file (ranges out of order)")
            .arg(pathText(path));
    case TL_TOO_LARGE:
        return QStringLiteral("%1 is too large for a registry file").arg(pathText(path));
    default:
        return systemError(QStringLiteral("read"), path, errno);
    }
}

} // namespace

RegistryUpdate::RegistryUpdate(RegistryUpdateDelegate* delegate, Options options)
    : delegate_(delegate), options_(std::move(options)) {
    if (options_.documentsDirectory.isEmpty()) {
        options_.documentsDirectory = ui::Bundle::documentsDirectory();
    }
    if (options_.minimumRanges == 0) {
        options_.minimumRanges = options_.sources.singleFile ? 1 : minimumRangesOfSources;
    }
    path_ = options_.documentsDirectory + '/' + TarnelDB::fileName;
}

RegistryUpdate::~RegistryUpdate() {
    cancel();
}

void RegistryUpdate::start() {
    // Nothing is written yet, so nothing is cleaned up.
    if (options_.documentsDirectory.isEmpty()) {
        delegate_->registryUpdateDidFail(
            Stage::Backup,
            QStringLiteral("no documents directory (neither ORMEL_DOCUMENTS_DIR nor HOME is set)"));
        return;
    }
    running_ = true;
    QString error;
    if (options_.sources.urls.isEmpty()) {
        fail(Stage::Download, QStringLiteral("no source to download"));
        return;
    }
    if (!OutputFile::makeDirectories(options_.documentsDirectory)) {
        fail(Stage::Backup,
             systemError(QStringLiteral("create"), options_.documentsDirectory, errno));
        return;
    }
    if (!backup(&error)) {
        fail(Stage::Backup, error);
        return;
    }
    const bool single = options_.sources.singleFile;
    for (qsizetype i = 0; i < options_.sources.urls.size(); ++i) {
        const QByteArray destination =
            single ? newPath() : path_ + ".source" + QByteArray::number(i + 1);
        auto download =
            std::make_unique<URLDownload>(options_.sources.urls[i], destination, this, &manager_);
        download->setStallTimeoutMs(options_.stallTimeoutMs > 0
                                        ? options_.stallTimeoutMs
                                        : URLDownload::defaultStallTimeoutMs);
        sources_.push_back({std::move(download), false});
    }
    for (qsizetype i = 0; i < qsizetype(sources_.size()) && running_; ++i) {
        sources_[size_t(i)].download->start();
    }
}

// The current copy gets a second name: it stays in place for the program and its
// lookups, and putting the backup back is removing that name again.
bool RegistryUpdate::backup(QString* error) {
    if (!exists(path_)) {
        return true;
    }
    if (::unlink(backupPath().constData()) != 0 && errno != ENOENT) {
        *error = systemError(QStringLiteral("remove"), backupPath(), errno);
        return false;
    }
    if (::link(path_.constData(), backupPath().constData()) != 0) {
        *error = systemError(QStringLiteral("back up"), path_, errno);
        return false;
    }
    backedUp_ = true;
    return true;
}

void RegistryUpdate::restoreBackup() {
    if (!backedUp_) {
        return;
    }
    backedUp_ = false;
    if (sameFile(path_, backupPath())) {
        ::unlink(backupPath().constData());
    } else {
        ::rename(backupPath().constData(), path_.constData());
    }
}

void RegistryUpdate::cancel() {
    if (running_) {
        running_ = false;
        cleanUp();
        restoreBackup();
    }
}

void RegistryUpdate::cleanUp() {
    for (Source& source : sources_) {
        source.download->cancel();
        ::unlink(source.download->destination().constData());
    }
    ::unlink(newPath().constData());
}

void RegistryUpdate::fail(Stage stage, const QString& message) {
    if (!running_) {
        return;
    }
    running_ = false;
    cleanUp();
    restoreBackup();
    delegate_->registryUpdateDidFail(stage, message);
}

void RegistryUpdate::downloadDidReceiveResponse(URLDownload* /*download*/) {
    reportProgress();
}

void RegistryUpdate::downloadDidReceiveDataOfLength(URLDownload* /*download*/, qint64 /*length*/) {
    reportProgress();
}

void RegistryUpdate::reportProgress() {
    qint64 received = 0;
    qint64 total = 0;
    for (const Source& source : sources_) {
        received += source.download->bytesReceived();
        const qint64 expected = source.download->expectedLength();
        total = (total < 0 || expected < 0) ? -1 : total + expected;
    }
    delegate_->registryUpdateProgress(received, total);
}

void RegistryUpdate::downloadDidFinish(URLDownload* download) {
    bool all = true;
    for (Source& source : sources_) {
        if (source.download.get() == download) {
            source.finished = true;
        }
        all = all && source.finished;
    }
    if (all && running_) {
        install();
    }
}

void RegistryUpdate::downloadDidFail(URLDownload* /*download*/, const QString& error) {
    fail(Stage::Download, error);
}

std::optional<QByteArray> RegistryUpdate::buildFromSources(QString* error) const {
    std::vector<RegistryFileBuilder::Source> inputs;
    for (const Source& source : sources_) {
        QFile file(QFile::decodeName(source.download->destination()));
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1: %2")
                         .arg(pathText(source.download->destination()), file.errorString());
            return std::nullopt;
        }
        inputs.push_back({source.download->url().toString(), file.readAll()});
    }
    return RegistryFileBuilder::build(inputs, error);
}

// The converted sources in "ccTLD.dat.new", synced; a single ready file is there
// already. Either way the engine must accept it with enough ranges.
bool RegistryUpdate::writeNewFile(QString* error, uint32_t* ranges) {
    if (!options_.sources.singleFile) {
        const std::optional<QByteArray> built = buildFromSources(error);
        if (!built) {
            return false;
        }
        const int fd = ExclusiveFile::create(newPath());
        if (fd < 0) {
            *error = systemError(QStringLiteral("create"), newPath(), errno);
            return false;
        }
        const bool written = OutputFile::writeAll(fd, *built);
        const int writeError = errno;
        if (!ExclusiveFile::syncAndClose(fd) || !written) {
            *error = systemError(QStringLiteral("write"), newPath(), written ? errno : writeError);
            return false;
        }
    }
    if (tl_check(newPath().constData(), ranges) != 0) {
        *error = engineRefusal(newPath());
        return false;
    }
    if (*ranges < options_.minimumRanges) {
        *error = QStringLiteral("%1 holds %2 ranges, fewer than the %3 a registry file has")
                     .arg(pathText(newPath()))
                     .arg(*ranges)
                     .arg(options_.minimumRanges);
        return false;
    }
    return true;
}

QDateTime RegistryUpdate::newestLastModified() const {
    QDateTime newest;
    for (const Source& source : sources_) {
        const auto date = dateWithRFCString(QString::fromLatin1(source.download->lastModified()));
        if (date && (!newest.isValid() || *date > newest)) {
            newest = *date;
        }
    }
    return newest.isValid() ? newest : QDateTime::currentDateTimeUtc();
}

void RegistryUpdate::install() {
    QString error;
    RegistryUpdateDelegate::Installed installed;
    if (!writeNewFile(&error, &installed.ranges)) {
        fail(Stage::Install, error);
        return;
    }
    installed.dated = newestLastModified();
    installed.path = path_;
    if (!setModificationTime(newPath(), installed.dated)) {
        fail(Stage::Install, systemError(QStringLiteral("date"), newPath(), errno));
        return;
    }
    if (::rename(newPath().constData(), path_.constData()) != 0) {
        fail(Stage::Install, systemError(QStringLiteral("install"), newPath(), errno));
        return;
    }
    syncDirectory(options_.documentsDirectory);
    // The backup now holds the previous copy and stays.
    backedUp_ = false;
    running_ = false;
    for (Source& source : sources_) {
        ::unlink(source.download->destination().constData());
    }
    TarnelDB::sharedInstance()->updated();
    delegate_->registryUpdateDidSucceed(installed);
}
