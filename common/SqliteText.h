#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// Texts out of SQLite as the databases of this program read them.
class SqliteText {
public:
    // A column of the current row; a NULL column reads as the empty text.
    static QString column(sqlite3_stmt* statement, int column);
    // The connection's last error message.
    static QString error(sqlite3* connection);
};
