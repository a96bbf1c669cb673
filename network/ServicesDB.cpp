#include "network/ServicesDB.h"

#include "common/LogCategories.h"
#include "common/NameText.h"
#include "common/Resources.h"
#include "common/SqliteText.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

bool isFile(const QByteArray& path) {
    struct stat status {};
    return !path.isEmpty() && ::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

ServicesDB* ServicesDB::sharedInstance() {
    static ServicesDB* instance = new ServicesDB();
    return instance;
}

ServicesDB::ServicesDB() {
    open();
}

void ServicesDB::open() {
    std::lock_guard lock(mutex_);
    closeLocked();
    const QString name = QString::fromLatin1(fileName);
    const QByteArray downloaded = Resources::documentsFilePath(name);
    const QByteArray path = isFile(downloaded)
                                ? downloaded
                                : QFile::encodeName(QDir(Resources::resourcePath()).filePath(name));
    // The program only reads the file: opened read-only, it is never created or changed.
    if (sqlite3_open_v2(path.constData(), &conn, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        qCWarning(lcNetwork).noquote()
            << QStringLiteral("ServicesDB: cannot open %1: %2")
                   .arg(NameText::fromByteArray(path), SqliteText::error(conn));
        sqlite3_close(conn); // a failed open may still have made a handle
        conn = nullptr;
        return;
    }
    openPath_ = path;
    preparedLocked();
}

void ServicesDB::prepared() {
    std::lock_guard lock(mutex_);
    preparedLocked();
}

void ServicesDB::preparedLocked() {
    if (conn == nullptr) {
        return;
    }
    for (Statement* entry = service_vm; entry->sql != nullptr; ++entry) {
        if (entry->handle != nullptr) {
            continue;
        }
        // SQLite reads the schema here: a file that is no database, or lacks the
        // table, fails now rather than at the first search.
        if (sqlite3_prepare_v2(conn, entry->sql, -1, &entry->handle, nullptr) != SQLITE_OK) {
            qCWarning(lcNetwork).noquote()
                << QStringLiteral("ServicesDB: Error: failed to prepare statement with message: %1")
                       .arg(SqliteText::error(conn));
            entry->handle = nullptr;
        }
    }
}

QList<QStringList> ServicesDB::searchWithProtocol(int32_t port, int32_t protocol) {
    std::lock_guard lock(mutex_);
    QList<QStringList> rows;
    sqlite3_stmt* statement = service_vm[0].handle;
    if (statement == nullptr) {
        return rows;
    }
    sqlite3_bind_int(statement, 1, port);
    sqlite3_bind_int(statement, 2, protocol);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        rows.append({SqliteText::column(statement, 0), SqliteText::column(statement, 1)});
    }
    sqlite3_reset(statement);
    return rows;
}

void ServicesDB::finalized() {
    std::lock_guard lock(mutex_);
    finalizedLocked();
}

void ServicesDB::finalizedLocked() {
    for (Statement* entry = service_vm; entry->sql != nullptr; ++entry) {
        if (entry->handle != nullptr) {
            sqlite3_finalize(entry->handle);
            entry->handle = nullptr;
        }
    }
}

void ServicesDB::close() {
    std::lock_guard lock(mutex_);
    closeLocked();
}

void ServicesDB::closeLocked() {
    if (conn != nullptr) {
        finalizedLocked();
        sqlite3_close(conn);
    }
    conn = nullptr;
    openPath_.clear();
}

bool ServicesDB::isOpen() const {
    std::lock_guard lock(mutex_);
    return conn != nullptr;
}

QByteArray ServicesDB::openPath() const {
    std::lock_guard lock(mutex_);
    return openPath_;
}
