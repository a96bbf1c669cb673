#include "common/Resources.h"

#include "platform/ui/Bundle.h"

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

QString Resources::dataFilePath(const QString& name) {
    for (const QString& dir : {documentsPath(), resourcePath()}) {
        const QString path = dir + "/" + name;
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return {};
}
