#include "update/UpdateDB.h"

#include "common/Resources.h"
#include "platform/ui/AlertView.h"
#include "update/UpdateDBDelegate.h"

#include <QFileInfo>

UpdateDB* UpdateDB::sharedInstance() {
    static UpdateDB* instance = new UpdateDB();
    return instance;
}

std::optional<QDateTime> UpdateDB::modificationDate(const QString& fileName) {
    const QString path = Resources::dataFilePath(fileName);
    if (path.isEmpty()) {
        return std::nullopt;
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
