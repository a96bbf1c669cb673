#pragma once

#include <QByteArray>
#include <QString>
#include <QTranslator>
#include <QVariant>

#include <mutex>

namespace ui {

// The application bundle: the read-only resource directory that ships beside the
// executable (text table, images, data files) and the user's documents directory.
class Bundle {
public:
    static Bundle& mainBundle();

    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;

    // The bundle's resource directory: $ORMEL_RESOURCE_DIR, else resources/ beside the
    // executable (build tree), else ../share/ormel beside it (installed).
    QString resourcePath() const;

    // "<resourcePath>/<name>.<type>" when that file exists, else an empty string.
    QString pathForResourceOfType(const QString& name, const QString& type) const;

    // The text of `key` in the text table; `value` when the table has none and `value`
    // is not empty; otherwise the key itself.
    QString localizedStringForKeyValueTable(const QString& key, const QString& value,
                                            const QString& table) const;

    // "CFBundleVersion", "CFBundleShortVersionString", "CFBundleDisplayName",
    // "CFBundleName"; an invalid QVariant for other keys.
    QVariant objectForInfoDictionaryKey(const QString& key) const;

    // The user's documents directory as the file system names it: $ORMEL_DOCUMENTS_DIR
    // when set, else "Ormel" in the XDG data home ($XDG_DATA_HOME, else
    // $HOME/.local/share). Empty when neither names one. Bytes, not text: a directory
    // whose name is not UTF-8 is still that directory. Reading never creates it; what
    // writes a file there makes it.
    static QByteArray documentsDirectory();
    // The same for display.
    static QString documentsPath();

private:
    Bundle();
    void loadTextTable() const;

    QString resourceDir;
    mutable std::once_flag textTableLoaded;
    mutable QTranslator translator;
};

} // namespace ui
