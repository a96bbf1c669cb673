#include "update/UpdateDB.h"

#include "registry/RegistryTexts.h"
#include "registry/TarnelDB.h"

#include "common/Resources.h"
#include "platform/ui/AlertView.h"
#include "update/UpdateDBDelegate.h"

#include <QFileInfo>

UpdateDB* UpdateDB::sharedInstance() {
    static UpdateDB* instance = new UpdateDB();
    return instance;
}

namespace {

// The newest registry date the open registry file records, as an instant.
std::optional<QDateTime> newestRegistryDate() {
    std::optional<QDate> newest;
    for (const tl_registry_info& info : TarnelDB::sharedInstance()->registryRecords()) {
        const std::optional<QDate> day = RegistryTexts::dayOf(info.date);
        if (day && (!newest || *day > *newest)) {
            newest = day;
        }
    }
    return newest ? std::optional(QDateTime(*newest, QTime(0, 0), Qt::UTC)) : std::nullopt;
}

} // namespace

// A downloaded copy carries its server's Last-Modified date. The shipped copy's file
// time is only when it was installed with Ormel: its registries' own dates tell how old
// its data is.
std::optional<QDateTime> UpdateDB::modificationDate(const QString& fileName) {
    const QString path = Resources::dataFilePath(fileName);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    const bool shipped = !path.startsWith(Resources::documentsPath() + QLatin1Char('/'));
    if (shipped && fileName == QLatin1String(TarnelDB::fileName) &&
        TarnelDB::sharedInstance()->openPath() == path) {
        if (const std::optional<QDateTime> dated = newestRegistryDate()) {
            return dated;
        }
    }
    return QFileInfo(path).lastModified().toUTC();
}

bool UpdateDB::needsUpdateElapsed(const QString& fileName, double seconds, const QDateTime& now) {
    const std::optional<QDateTime> modified = modificationDate(fileName);
    // Without any copy there is nothing to look up in: an update is due.
    if (!modified) {
        return true;
    }
    return double(modified->msecsTo(now)) / 1000.0 > seconds;
}

void UpdateDB::confirmUpdate() {
    auto* alert = new ui::AlertView(Resources::text(QStringLiteral("Confirmation")),
                                    Resources::text(QStringLiteral("DownloadConfirmation")), this,
                                    Resources::text(QStringLiteral("Cancel")),
                                    {Resources::text(QStringLiteral("OK"))});
    alert->show();
}

void UpdateDB::alertViewDidDismissWithButtonIndex(ui::AlertView* /*alertView*/, int buttonIndex) {
    if (buttonIndex == 1 && delegate_ != nullptr) {
        delegate_->updateDatabase();
    }
}
