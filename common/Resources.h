#pragma once

#include "platform/ui/Image.h"

#include <QString>

// The application's resources: display texts by key, images by name, and the two
// directories data files come from. Data files are looked up in the user's documents
// directory first, so that a downloaded copy takes precedence over the shipped one.
class Resources {
public:
    // The text of a key in the text table, or the key itself when the table has none.
    static QString text(const QString& key);
    static ui::Image image(const QString& name);
    static QString resourcePath();
    static QString documentsPath();
    // "<documents>/<name>" as the file system names it; empty without a documents
    // directory.
    static QByteArray documentsFilePath(const QString& name);
    // "<documents>/<name>" when that file exists, else "<resources>/<name>" when that
    // exists, else an empty string.
    static QString dataFilePath(const QString& name);
};
