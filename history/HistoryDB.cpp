#include "history/HistoryDB.h"

#include "common/LogCategories.h"
#include "common/NameText.h"
#include "common/OutputFile.h"
#include "common/Resources.h"
#include "common/SqliteText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

bool exists(const QByteArray& path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0;
}

QString templatePath() {
    return QDir(Resources::resourcePath()).filePath(QString::fromLatin1(HistoryDB::fileName));
}

// A name beside `path` that nothing uses yet: "<path>.damaged-<UTC time>[-n]".
QByteArray asideName(const QByteArray& path) {
    const QByteArray base =
        path + ".damaged-" +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
    QByteArray name = base;
    for (int n = 1; exists(name) || exists(name + "-journal"); ++n) {
        name = base + '-' + QByteArray::number(n);
    }
    return name;
}

// The answers that say the file is not the history: not a database, damaged, or
// without the table or its columns.
bool isDamage(int result) {
    const int primary = result & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_ERROR;
}

// Reads every column the program uses, so that a wrong file fails here.
constexpr const char* kProbe =
    "SELECT id,count,hostname,comments,ipaddr,code,name,registry,region,networks,date,"
    "created_at,updated_at FROM history LIMIT 1;";

} // namespace

HistoryDB* HistoryDB::sharedInstance() {
    static HistoryDB* instance = new HistoryDB();
    return instance;
}

HistoryDB::HistoryDB() = default;

HistoryDB::~HistoryDB() {
    close();
}

bool HistoryDB::isReady() {
    std::lock_guard lock(mutex_);
    if (openLocked(false)) {
        return true;
    }
    return !openFailed_ && !Resources::documentsFilePath(QString::fromLatin1(fileName)).isEmpty() &&
           QFile::exists(templatePath());
}

bool HistoryDB::openLocked(bool create) {
    if (conn != nullptr) {
        return true;
    }
    if (openFailed_) {
        return false;
    }
    const QByteArray path = Resources::documentsFilePath(QString::fromLatin1(fileName));
    if (path.isEmpty()) {
        return false; // no documents directory: nothing to read, nowhere to write
    }
    if (!exists(path) && (!create || !makeFromTemplate(path))) {
        openFailed_ = create;
        return false;
    }
    OpenResult result = openFile(path);
    if (result == OpenResult::Damaged && keepDamagedAside(path) && makeFromTemplate(path)) {
        result = openFile(path);
    }
    if (result != OpenResult::Opened) {
        openFailed_ = true;
        return false;
    }
    openPath_ = path;
    return true;
}

HistoryDB::OpenResult HistoryDB::openFile(const QByteArray& path) {
    // The file is made from the shipped copy, never by SQLite: no SQLITE_OPEN_CREATE.
    const int opened = sqlite3_open_v2(path.constData(), &conn, SQLITE_OPEN_READWRITE, nullptr);
    int result = opened;
    if (opened == SQLITE_OK) {
        sqlite3_stmt* probe = nullptr;
        result = sqlite3_prepare_v2(conn, kProbe, -1, &probe, nullptr);
        if (result == SQLITE_OK) {
            result = sqlite3_step(probe);
            result = result == SQLITE_ROW || result == SQLITE_DONE ? SQLITE_OK : result;
        }
        sqlite3_finalize(probe);
    }
    if (result == SQLITE_OK) {
        return OpenResult::Opened;
    }
    qCWarning(lcHistory).noquote()
        << QStringLiteral("HistoryDB: cannot open %1: %2")
               .arg(NameText::fromByteArray(path), SqliteText::error(conn));
    sqlite3_close(conn); // a failed open may still have made a handle
    conn = nullptr;
    return opened == SQLITE_OK && isDamage(result) ? OpenResult::Damaged : OpenResult::Failed;
}

bool HistoryDB::makeFromTemplate(const QByteArray& path) {
    const QString source = templatePath();
    QFile shipped(source);
    const QByteArray directory = path.left(path.lastIndexOf('/'));
    if (!shipped.open(QIODevice::ReadOnly)) {
        qCWarning(lcHistory).noquote()
            << QStringLiteral("HistoryDB: Failed to create database file: cannot read %1: %2")
                   .arg(source, shipped.errorString());
        return false;
    }
    if (!OutputFile::makeDirectories(directory) ||
        !OutputFile::replaceContents(path, shipped.readAll())) {
        qCWarning(lcHistory).noquote()
            << QStringLiteral("HistoryDB: Failed to create database file: %1: %2")
                   .arg(NameText::fromByteArray(path),
                        QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

bool HistoryDB::keepDamagedAside(const QByteArray& path) {
    const QByteArray aside = asideName(path);
    if (::rename(path.constData(), aside.constData()) != 0) {
        qCWarning(lcHistory).noquote()
            << QStringLiteral("HistoryDB: cannot move the damaged %1 aside to %2: %3")
                   .arg(NameText::fromByteArray(path), NameText::fromByteArray(aside),
                        QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // A journal left beside the damaged file would be played into the fresh one.
    const QByteArray journal = path + "-journal";
    if (exists(journal)) {
        ::rename(journal.constData(), (aside + "-journal").constData());
    }
    qCWarning(lcHistory).noquote()
        << QStringLiteral("HistoryDB: %1 is damaged; kept as %2, a fresh history is made")
               .arg(NameText::fromByteArray(path), NameText::fromByteArray(aside));
    return true;
}

sqlite3_stmt* HistoryDB::prepared(Index index) {
    Statement& entry = history_vm[index];
    if (entry.handle == nullptr && conn != nullptr &&
        sqlite3_prepare_v2(conn, entry.sql, -1, &entry.handle, nullptr) != SQLITE_OK) {
        qCWarning(lcHistory).noquote()
            << QStringLiteral("HistoryDB: Error: failed to prepare statement with message: %1")
                   .arg(SqliteText::error(conn));
        entry.handle = nullptr;
    }
    return entry.handle;
}

int HistoryDB::run(Index index, const QStringList& texts, const QList<int32_t>& ids) {
    sqlite3_stmt* statement = prepared(index);
    if (statement == nullptr) {
        return SQLITE_MISUSE;
    }
    int position = 1;
    for (const QString& text : texts) {
        if (text.isNull()) {
            sqlite3_bind_null(statement, position++);
            continue;
        }
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(statement, position++, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    }
    for (const int32_t id : ids) {
        sqlite3_bind_int(statement, position++, id);
    }
    int result = SQLITE_ROW;
    while (result == SQLITE_ROW) {
        result = sqlite3_step(statement);
    }
    sqlite3_reset(statement);
    return result;
}

QStringList HistoryDB::selectFirstRow(Index index, const QList<int32_t>& ids) {
    QStringList results;
    sqlite3_stmt* statement = openLocked(false) ? prepared(index) : nullptr;
    if (statement == nullptr) {
        return results;
    }
    for (int position = 0; position < ids.size(); ++position) {
        sqlite3_bind_int(statement, position + 1, ids[position]);
    }
    if (sqlite3_step(statement) == SQLITE_ROW) {
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            results.append(SqliteText::column(statement, column));
        }
    }
    sqlite3_reset(statement);
    return results;
}

bool HistoryDB::begin() {
    std::lock_guard lock(mutex_);
    return openLocked(true) && run(Begin) == SQLITE_DONE;
}

bool HistoryDB::commit() {
    std::lock_guard lock(mutex_);
    if (run(Commit) == SQLITE_DONE) {
        return true;
    }
    run(Rollback);
    return false;
}

void HistoryDB::insertHistory(const QStringList& values) {
    std::lock_guard lock(mutex_);
    if (openLocked(true)) {
        // A shorter list leaves no value of the previous insert behind.
        if (sqlite3_stmt* statement = prepared(Insert)) {
            sqlite3_clear_bindings(statement);
        }
        run(Insert, values);
    }
}

void HistoryDB::updateHostnameWithIPAddress(const QString& hostname, const QString& address) {
    std::lock_guard lock(mutex_);
    if (openLocked(false)) {
        run(UpdateHostnameByAddress, {hostname, address});
    }
}

void HistoryDB::updateHostnamePkey(const QString& hostname, int32_t pkey) {
    std::lock_guard lock(mutex_);
    if (openLocked(false)) {
        run(UpdateHostnameById, {hostname}, {pkey});
    }
}

void HistoryDB::updateCommentsPkey(const QString& comments, int32_t pkey) {
    std::lock_guard lock(mutex_);
    if (openLocked(false)) {
        run(UpdateComments, {comments}, {pkey});
    }
}

void HistoryDB::deleteHistory(int32_t pkey) {
    std::lock_guard lock(mutex_);
    if (openLocked(false) && run(DeleteOne, {}, {pkey}) == SQLITE_DONE) {
        hasDeletedItems_ = true;
    }
}

void HistoryDB::deleteAllHistories() {
    std::lock_guard lock(mutex_);
    if (openLocked(false) && run(DeleteAll) == SQLITE_DONE) {
        hasDeletedItems_ = true;
    }
}

bool HistoryDB::optimize() {
    std::lock_guard lock(mutex_);
    return optimizeLocked();
}

bool HistoryDB::optimizeLocked() {
    // VACUUM fails inside a transaction, and the gathering thread's would be ended.
    if (!hasDeletedItems_ || conn == nullptr || sqlite3_get_autocommit(conn) == 0) {
        return false;
    }
    const bool vacuumed = run(Vacuum) == SQLITE_DONE;
    if (vacuumed) {
        run(Reindex);
    }
    hasDeletedItems_ = false;
    return vacuumed;
}

QList<int32_t> HistoryDB::selectAllHistoryIdsOrderBy(int order) {
    std::lock_guard lock(mutex_);
    QList<int32_t> ids;
    sqlite3_stmt* statement =
        openLocked(false) ? prepared(order == 1 ? SelectByUpdate : SelectByCount) : nullptr;
    if (statement == nullptr) {
        return ids;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ids.append(sqlite3_column_int(statement, 0));
    }
    sqlite3_reset(statement);
    return ids;
}

QStringList HistoryDB::selectAllHistoriesOrderBy(int order) {
    QStringList texts;
    for (const int32_t id : selectAllHistoryIdsOrderBy(order)) {
        texts.append(QString::number(id));
    }
    return texts;
}

QStringList HistoryDB::selectHistory(int32_t pkey) {
    std::lock_guard lock(mutex_);
    return selectFirstRow(SelectOne, {pkey});
}

bool HistoryDB::hasDeletedItems() const {
    std::lock_guard lock(mutex_);
    return hasDeletedItems_;
}

void HistoryDB::finalized() {
    for (Statement* entry = history_vm; entry->sql != nullptr; ++entry) {
        sqlite3_finalize(entry->handle);
        entry->handle = nullptr;
    }
}

void HistoryDB::close() {
    std::lock_guard lock(mutex_);
    closeLocked();
}

void HistoryDB::closeLocked() {
    if (conn != nullptr) {
        optimizeLocked();
        finalized();
        sqlite3_close(conn);
    }
    conn = nullptr;
    openPath_.clear();
    openFailed_ = false;
}

QByteArray HistoryDB::openPath() const {
    std::lock_guard lock(mutex_);
    return openPath_;
}
