#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <cstdint>
#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

// The names of well-known ports: a read-only SQLite database "services.db" (a copy
// in the documents directory before the shipped one) whose table `service` maps a
// port and an IP protocol number (6 TCP, 17 UDP) to a service name and a remark.
// The program never writes it: the file is opened read-only.
//
// A file that cannot be opened, or whose statement cannot be prepared (not a
// database, no such table), is named in a warning of the network logging category;
// every search then finds nothing, and the screens show "unknown".
class ServicesDB {
public:
    static constexpr const char* fileName = "services.db";

    static ServicesDB* sharedInstance();

    ServicesDB(const ServicesDB&) = delete;
    ServicesDB& operator=(const ServicesDB&) = delete;

    // Chooses the file, opens it and prepares the statements; an open database is
    // closed first.
    void open();
    void prepared();
    // Every row for the port and protocol as [name, remarks], in the order SQLite
    // yields them; a NULL column gives the empty text.
    QList<QStringList> searchWithProtocol(int32_t port, int32_t protocol);
    void finalized();
    void close();

    bool isOpen() const;
    // The file open now, as the file system names it; empty while closed.
    QByteArray openPath() const;

private:
    struct Statement {
        sqlite3_stmt* handle;
        const char* sql;
    };

    ServicesDB();
    // The operations above, with the mutex held.
    void preparedLocked();
    void finalizedLocked();
    void closeLocked();

    mutable std::mutex mutex_;
    sqlite3* conn = nullptr;
    QByteArray openPath_;
    // The statements, ended by an entry without SQL text.
    Statement service_vm[2] = {
        {nullptr, "SELECT name,remarks FROM service WHERE port=$PORT AND protocol=$PROTOCOL;"},
        {nullptr, nullptr}};
};
