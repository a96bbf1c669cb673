#pragma once

#include "network/ServicesDB.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <sqlite3.h>

// A port-name database of the test's own in the documents directory, where it takes
// precedence over the shipped one, reopened by the shared instance; removed (and the
// shipped copy reopened) when the object goes.
class ServicesFile {
public:
    static QString path() { return QDir(testenv::documentsDir()).filePath(ServicesDB::fileName); }

    // The service table with one row a value list: "80, 6, 'http', NULL".
    explicit ServicesFile(const QStringList& rows) {
        QFile::remove(path());
        QString sql = QStringLiteral("CREATE TABLE service(port INTEGER, protocol INTEGER, name "
                                     "TEXT, remarks TEXT); CREATE INDEX service_port_protocol ON "
                                     "service(port, protocol);");
        for (const QString& row : rows) {
            sql += QStringLiteral("INSERT INTO service VALUES(%1);").arg(row);
        }
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path()).constData(), &db);
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
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
};
