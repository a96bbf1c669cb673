#include "common/SqliteText.h"

#include <sqlite3.h>

QString SqliteText::column(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (text == nullptr) {
        return QStringLiteral("");
    }
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

QString SqliteText::error(sqlite3* connection) {
    return QString::fromUtf8(sqlite3_errmsg(connection));
}
