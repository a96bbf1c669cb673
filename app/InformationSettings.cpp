#include "app/InformationSettings.h"

#include "common/Resources.h"

#include <QFileInfo>

namespace {

QString environment(const char* name) {
    return qEnvironmentVariable(name).trimmed();
}

// The bundle's document `name`, or an empty URL when it was not shipped.
QUrl shippedDocument(const QString& name) {
    const QString path = Resources::resourcePath() + QStringLiteral("/docs/") + name;
    return QFileInfo(path).isFile() ? QUrl::fromLocalFile(path) : QUrl();
}

} // namespace

InformationSettings InformationSettings::fromEnvironment() {
    InformationSettings settings;
    settings.reportAddress = environment("ORMEL_REPORT_ADDRESS");
    const QUrl donation(environment("ORMEL_DONATION_URL"), QUrl::StrictMode);
    if (donation.isValid() && !donation.scheme().isEmpty()) {
        settings.donationURL = donation;
    }
    settings.changeLogURL = shippedDocument(QStringLiteral("CHANGELOG.md"));
    settings.knownProblemsURL = shippedDocument(QStringLiteral("KNOWN-PROBLEMS.md"));
    settings.flagProjectURL = QUrl(QString::fromLatin1(kFlagProjectURL));
    return settings;
}
