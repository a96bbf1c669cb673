#pragma once

#include "network/ServicesDB.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <optional>
#include <string>
#include <vector>

// A port-name database of the test's own in the documents directory, where it takes
// precedence over the shipped one, reopened by the shared instance; removed (and the
// shipped copy reopened) when the object goes.
class ServicesFile {
public:
    struct Row {
        int port;
        int protocol;
        std::optional<std::string> name;    // nullopt: SQL NULL
        std::optional<std::string> remarks; // nullopt: SQL NULL
    };

    static QString path() { return QDir(testenv::documentsDir()).filePath(ServicesDB::fileName); }

    explicit ServicesFile(const std::vector<Row>& rows) {
        QFile::remove(path());
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path()).constData(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE service(port INTEGER, protocol INTEGER, name TEXT, remarks "
                     "TEXT); CREATE INDEX service_port_protocol ON service(port, protocol);",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO service VALUES(?,?,?,?)", -1, &insert, nullptr);
        for (const Row& row : rows) {
            sqlite3_bind_int(insert, 1, row.port);
            sqlite3_bind_int(insert, 2, row.protocol);
            bindText(insert, 3, row.name);
            bindText(insert, 4, row.remarks);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_close(db);
        ServicesDB::sharedInstance()->open();
    }

    // A file of the given bytes instead of a database.
    explicit ServicesFile(const QByteArray& bytes) {
        QFile file(path());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        file.close();
        ServicesDB::sharedInstance()->open();
    }

    ~ServicesFile() {
        QFile::remove(path());
        ServicesDB::sharedInstance()->open();
    }
    ServicesFile(const ServicesFile&) = delete;
    ServicesFile& operator=(const ServicesFile&) = delete;

private:
    static void bindText(sqlite3_stmt* statement, int index,
                         const std::optional<std::string>& text) {
        if (text) {
            sqlite3_bind_text(statement, index, text->c_str(), -1, SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(statement, index);
        }
    }
};
