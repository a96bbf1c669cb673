#include "update/RegistrySources.h"

#include "common/Resources.h"

#include <QFile>

namespace {

const char* const listFileName = "registry-sources.txt";

bool isWebUrl(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

} // namespace

QList<QUrl> RegistrySources::parseList(const QByteArray& text, const QString& listName,
                                       QString* error) {
    QList<QUrl> urls;
    int number = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++number;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const QUrl url(QString::fromUtf8(line), QUrl::StrictMode);
        if (!isWebUrl(url)) {
            *error = QStringLiteral("%1:%2: not an http or https URL").arg(listName).arg(number);
            return {};
        }
        urls.append(url);
    }
    if (urls.isEmpty()) {
        *error = QStringLiteral("%1 lists no URL").arg(listName);
    }
    return urls;
}

RegistrySources RegistrySources::fromEnvironment(QString* error) {
    RegistrySources sources;
    const QString single = qEnvironmentVariable("ORMEL_REGISTRY_URL");
    if (!single.isEmpty()) {
        const QUrl url(single, QUrl::StrictMode);
        if (!isWebUrl(url)) {
            *error = QStringLiteral("ORMEL_REGISTRY_URL: not an http or https URL");
            return sources;
        }
        sources.urls = {url};
        sources.singleFile = true;
        return sources;
    }
    QString listPath = qEnvironmentVariable("ORMEL_REGISTRY_SOURCES");
    if (listPath.isEmpty()) {
        listPath = Resources::resourcePath() + QLatin1Char('/') + QLatin1String(listFileName);
    }
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(listPath, list.errorString());
        return sources;
    }
    sources.urls = parseList(list.readAll(), listPath, error);
    return sources;
}
