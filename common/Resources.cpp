#include "common/Resources.h"

#include "platform/ui/Bundle.h"

#include <QFile>
#include <QFileInfo>

QString Resources::text(const QString& key) {
    return ui::Bundle::mainBundle().localizedStringForKeyValueTable(key, QString(), QString());
}

ui::Image Resources::image(const QString& name) {
    return ui::Image::imageNamed(name);
}

QString Resources::resourcePath() {
    return ui::Bundle::mainBundle().resourcePath();
}

QString Resources::documentsPath() {
    return ui::Bundle::documentsPath();
}

QByteArray Resources::documentsFilePath(const QString& name) {
    const QByteArray directory = ui::Bundle::documentsDirectory();
    return directory.isEmpty() ? QByteArray() : directory + '/' + QFile::encodeName(name);
}

QString Resources::dataFilePath(const QString& name) {
    const QByteArray downloaded = documentsFilePath(name);
    if (!downloaded.isEmpty() && QFileInfo(QFile::decodeName(downloaded)).isFile()) {
        return QFile::decodeName(downloaded);
    }
    const QString shipped = resourcePath() + "/" + name;
    return QFileInfo(shipped).isFile() ? shipped : QString();
}
