#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

// The lookup history: one row per looked-up remote address in the SQLite database
// "history.db" of the documents directory, with its registry answer, the host name
// found by reverse DNS, a user comment, a hit count and creation and update times.
//
// The file is copied from the shipped "history.db" when the history is first written
// (the documents directory is made then); until then reads find nothing. The table's
// definition comes with that file: it counts and stamps rows itself and folds a
// repeated insert of an address into the address's row.
//
// The gathering thread, reverse-DNS workers and the screens share one connection and
// one statement cache, so every use of a statement (prepare, bind, step, reset) holds
// the object's mutex. A statement runs inside a transaction that another thread opened
// with begin() when one is open.
//
// Failures never abort: a file that cannot be opened is named in a warning of the
// history logging category and the history is not ready; a damaged file is kept
// aside as "history.db.damaged-<UTC time>" and a fresh copy made.
class HistoryDB {
public:
    static constexpr const char* fileName = "history.db";

    // The process-wide instance, never freed.
    static HistoryDB* sharedInstance();

    HistoryDB();
    ~HistoryDB();
    HistoryDB(const HistoryDB&) = delete;
    HistoryDB& operator=(const HistoryDB&) = delete;

    // True when the history is open, or can be made from the shipped copy when first
    // written; false after an open failed (until close()).
    bool isReady();
    // BEGIN; true when it completed. Makes the file when it does not exist yet.
    bool begin();
    // COMMIT; when it does not complete, ROLLBACK and false.
    bool commit();
    // [address, code, country, registry, region, networks, date], bound in order.
    void insertHistory(const QStringList& values);
    void updateHostnameWithIPAddress(const QString& hostname, const QString& address);
    void updateHostnamePkey(const QString& hostname, int32_t pkey);
    void updateCommentsPkey(const QString& comments, int32_t pkey);
    void deleteHistory(int32_t pkey);
    void deleteAllHistories();
    // VACUUM then REINDEX when rows were deleted since the last time, unless a
    // transaction is open (then it waits for a later call). True when VACUUM ran.
    bool optimize();
    // Row ids: order 1 most recently updated first, any other most counted first.
    QList<int32_t> selectAllHistoryIdsOrderBy(int order);
    // The same ids as texts.
    QStringList selectAllHistoriesOrderBy(int order);
    // id, count, hostname, comments, ipaddr, code, name, registry, region, networks,
    // date, created and updated (local time); empty when no such row. NULL reads as "".
    QStringList selectHistory(int32_t pkey);
    bool hasDeletedItems() const;
    // Optimizes, finalizes every statement and closes the connection; the next use
    // opens the file again.
    void close();
    // The file open now; empty while closed.
    QByteArray openPath() const;

private:
    struct Statement {
        sqlite3_stmt* handle;
        const char* sql;
    };
    enum Index {
        Insert,
        SelectByUpdate,
        SelectByCount,
        SelectOne,
        DeleteOne,
        DeleteAll,
        UpdateHostnameById,
        UpdateHostnameByAddress,
        UpdateComments,
        Begin,
        Commit,
        Rollback,
        Vacuum,
        Reindex
    };
    enum class OpenResult { Opened, Damaged, Failed };

    // The operations below expect the mutex held.
    bool openLocked(bool create);
    OpenResult openFile(const QByteArray& path);
    bool makeFromTemplate(const QByteArray& path);
    bool keepDamagedAside(const QByteArray& path);
    sqlite3_stmt* prepared(Index index);
    // Binds the texts (a null text as NULL) and ids in order, steps to the end and
    // resets; the last step's result, or an error without a statement.
    int run(Index index, const QStringList& texts = {}, const QList<int32_t>& ids = {});
    QStringList selectFirstRow(Index index, const QList<int32_t>& ids);
    bool optimizeLocked();
    void finalized();
    void closeLocked();

    mutable std::mutex mutex_;
    sqlite3* conn = nullptr;
    QByteArray openPath_;
    bool openFailed_ = false;
    bool hasDeletedItems_ = false;
    // The statements by Index, ended by an entry without SQL text.
    Statement history_vm[15] = {
        {nullptr, "INSERT INTO history(ipaddr,code,name,registry,region,networks,date) "
                  "VALUES($IPADDR,$CODE,$NAME,$REGISTRY,$REGION,$NETWORKS,$DATE);"},
        {nullptr, "SELECT id FROM history ORDER BY updated_at DESC;"},
        {nullptr, "SELECT id FROM history ORDER BY count DESC;"},
        {nullptr, "SELECT id,count,hostname,comments,ipaddr,code,name,registry,region,networks,"
                  "date,datetime(strftime('%s',created_at),'unixepoch','localtime'),"
                  "datetime(strftime('%s',updated_at),'unixepoch','localtime') FROM history "
                  "WHERE id=$ID;"},
        {nullptr, "DELETE FROM history WHERE id=$ID;"},
        {nullptr, "DELETE FROM history;"},
        {nullptr, "UPDATE history SET hostname=$HOSTNAME WHERE id=$ID;"},
        {nullptr, "UPDATE history SET hostname=$HOSTNAME WHERE ipaddr=$IPADDR;"},
        {nullptr, "UPDATE history SET comments=$COMMENTS WHERE id=$ID;"},
        {nullptr, "BEGIN;"},
        {nullptr, "COMMIT;"},
        {nullptr, "ROLLBACK;"},
        {nullptr, "VACUUM;"},
        {nullptr, "REINDEX history;"},
        {nullptr, nullptr}};
};
