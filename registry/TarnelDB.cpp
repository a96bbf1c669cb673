#include "registry/TarnelDB.h"

#include "common/LogCategories.h"
#include "common/NameText.h"
#include "common/Resources.h"
#include "registry/tarnel.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

const char* const labelKeys[] = {"CountryCode",   "CountryName",  "RegistryName",
                                 "CountryRegion", "NetworkRange", "AssignedDate"};

QString fileTypeName(unsigned fileType) {
    switch (fileType) {
    case S_IFLNK:
        return QStringLiteral("a symbolic link");
    case S_IFDIR:
        return QStringLiteral("a directory");
    case S_IFIFO:
        return QStringLiteral("a FIFO");
    case S_IFSOCK:
        return QStringLiteral("a socket");
    case S_IFCHR:
    case S_IFBLK:
        return QStringLiteral("a device");
    default:
        return QStringLiteral("of type %1").arg(fileType, 0, 8);
    }
}

// Why the engine refused a file, as a log message says it.
QString refusalText(const tl_refusal& refusal) {
    switch (refusal.reason) {
    case TL_OPENED:
        break;
    case TL_CANNOT_READ:
        return QStringLiteral("cannot read it (%1)").arg(qt_error_string(refusal.error));
    case TL_NOT_REGULAR:
        return QStringLiteral("not a regular file but %1").arg(fileTypeName(refusal.fileType));
    case TL_TOO_LARGE:
        return QStringLiteral("larger than %1 MiB").arg(TL_MAX_FILE_SIZE >> 20);
    case TL_TOO_SHORT:
        return QStringLiteral("too short for its header");
    case TL_OUT_OF_ORDER:
        return QStringLiteral("its address ranges are out of order or overlap");
    case TL_CHANGED_WHILE_READ:
        return QStringLiteral("it changed while it was read (still being written?)");
    case TL_NO_MEMORY:
        return QStringLiteral("out of memory");
    }
    return QStringLiteral("unknown reason %1").arg(refusal.reason);
}

} // namespace

TarnelDB* TarnelDB::sharedInstance() {
    static TarnelDB* instance = new TarnelDB();
    return instance;
}

TarnelDB::TarnelDB() {
    for (const char* key : labelKeys) {
        tldLabel_.append(Resources::text(QString::fromLatin1(key)));
    }
    open();
}

void TarnelDB::open() {
    const QByteArray downloaded = Resources::documentsFilePath(QString::fromLatin1(fileName));
    const QByteArray shipped =
        QFile::encodeName(QDir(Resources::resourcePath()).filePath(QString::fromLatin1(fileName)));
    // A downloaded copy that cannot be opened (cut short, say) does not leave the
    // user without data: the shipped copy is opened instead.
    if (downloaded.isEmpty() || !openFile(downloaded, QStringLiteral("; using the shipped copy"))) {
        openFile(shipped, QString());
    }
}

bool TarnelDB::openFile(const QByteArray& path, const QString& instead) {
    if (tl_init(path.constData()) == 0) {
        openPath_ = QFile::decodeName(path);
        ready_ = true;
        return true;
    }
    const tl_refusal refusal = tl_last_refusal();
    if (refusal.reason != TL_CANNOT_READ || refusal.error != ENOENT) {
        qCWarning(lcRegistry).noquote()
            << QStringLiteral("registry file %1 refused: %2%3")
                   .arg(NameText::fromByteArray(path), refusalText(refusal), instead);
    }
    return false;
}

void TarnelDB::close() {
    if (ready_) {
        tl_finish();
        ready_ = false;
        openPath_.clear();
    }
}

void TarnelDB::updated() {
    close();
    open();
}

std::vector<tl_registry_info> TarnelDB::registryRecords() const {
    std::vector<tl_registry_info> records;
    uint8_t count = 0;
    if (!ready() || tl_meta_registries(&count) != 0) {
        return records;
    }
    for (uint8_t index = 0; index < count; ++index) {
        tl_registry_info info{};
        if (tl_meta_registry_info(index, &info) == 0 && info.registry != nullptr) {
            records.push_back(info);
        }
    }
    return records;
}

QString TarnelDB::openPath() const {
    return openPath_;
}

QStringList TarnelDB::search(const QString& address) const {
    const QByteArray text = address.toUtf8();
    if (tl_validate(text.constData()) != 0) {
        return {};
    }
    tl_answer answer{};
    char* network = nullptr;
    const int found = tl_lookup(text.constData(), &answer, &network);
    const std::unique_ptr<char, decltype(&std::free)> owned(network, &std::free);
    return found == 0 ? texts_.of(answer, network) : QStringList();
}

QString TarnelDB::flagImageName(const QString& code) {
    return QStringLiteral("flags/%1.png").arg(code.toLower());
}
