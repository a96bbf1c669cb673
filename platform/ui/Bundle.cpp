#include "platform/ui/Bundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cstdlib>

namespace ui {

namespace {

const char* const kTextContext = "Localizable";

QString executableDir() {
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString locateResourceDir() {
    const QByteArray fromEnvironment = qgetenv("ORMEL_RESOURCE_DIR");
    if (!fromEnvironment.isEmpty()) {
        return QDir(QString::fromLocal8Bit(fromEnvironment)).absolutePath();
    }
    const QString exeDir = executableDir();
    for (const QString& candidate : {exeDir + "/resources", exeDir + "/../share/ormel"}) {
        if (QFileInfo(candidate).isDir()) {
            return QDir(candidate).canonicalPath();
        }
    }
    return exeDir + "/resources";
}

} // namespace

Bundle::Bundle() : resourceDir(locateResourceDir()) {}

Bundle& Bundle::mainBundle() {
    static Bundle bundle;
    return bundle;
}

QString Bundle::resourcePath() const {
    return resourceDir;
}

QString Bundle::pathForResourceOfType(const QString& name, const QString& type) const {
    const QString path =
        type.isEmpty() ? resourceDir + "/" + name : resourceDir + "/" + name + "." + type;
    return QFileInfo::exists(path) ? path : QString();
}

void Bundle::loadTextTable() const {
    // The table for the user's language when the bundle has one, English otherwise.
    const QString language = QLocale().name().section('_', 0, 0);
    if (!translator.load(QStringLiteral("ormel_") + language, resourceDir)) {
        (void)translator.load(QStringLiteral("ormel_en"), resourceDir);
    }
}

QString Bundle::localizedStringForKeyValueTable(const QString& key, const QString& value,
                                                const QString& /*table*/) const {
    std::call_once(textTableLoaded, [this] { loadTextTable(); });
    const QString text = translator.translate(kTextContext, key.toUtf8().constData());
    if (!text.isEmpty()) {
        return text;
    }
    return value.isEmpty() ? key : value;
}

QVariant Bundle::objectForInfoDictionaryKey(const QString& key) const {
    if (key == "CFBundleVersion" || key == "CFBundleShortVersionString") {
        return QStringLiteral(ORMEL_VERSION);
    }
    if (key == "CFBundleDisplayName" || key == "CFBundleName") {
        return QStringLiteral("Ormel");
    }
    return {};
}

QByteArray Bundle::documentsDirectory() {
    const QByteArray chosen = qgetenv("ORMEL_DOCUMENTS_DIR");
    if (!chosen.isEmpty()) {
        return chosen;
    }
    // The XDG base directory rules: a relative data home is ignored.
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (dataHome.startsWith('/')) {
        return dataHome + "/Ormel";
    }
    const QByteArray home = qgetenv("HOME");
    return home.isEmpty() ? QByteArray() : home + "/.local/share/Ormel";
}

QString Bundle::documentsPath() {
    return QFile::decodeName(documentsDirectory());
}

} // namespace ui
