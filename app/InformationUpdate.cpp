#include "app/InformationUpdate.h"

#include "app/InformationViewController.h"
#include "common/AppState.h"
#include "common/Resources.h"
#include "platform/ui/AlertView.h"
#include "registry/TarnelDB.h"
#include "update/DownloadSheet.h"
#include "update/RegistrySources.h"
#include "update/UpdateDB.h"

InformationUpdate& InformationUpdate::instance() {
    static InformationUpdate update;
    return update;
}

void InformationUpdate::start(InformationViewController* screen) {
    const AppState* app = AppState::ofSharedApplication();
    const bool reachable = app != nullptr && app->networkReachable();
    if (!reachable || !UpdateDB::needsUpdateElapsed(QString::fromLatin1(TarnelDB::fileName),
                                                    UpdateDB::updateInterval)) {
        return;
    }
    instance().screen_ = screen;
    UpdateDB::sharedInstance()->setDelegate(&instance());
    UpdateDB::sharedInstance()->confirmUpdate();
}

void InformationUpdate::updateDatabase() {
    QString error;
    RegistryUpdate::Options options{RegistrySources::fromEnvironment(&error), {}, 0, 0};
    if (options.sources.urls.isEmpty()) {
        // A sources list that cannot be read: say so rather than show an empty sheet.
        auto* alert =
            new ui::AlertView(Resources::text("Error"), error, nullptr, Resources::text("OK"), {});
        alert->show();
        return;
    }
    auto* sheet = new DownloadSheet(std::move(options));
    sheet->setSheetDelegate(this);
    sheet->start();
}

void InformationUpdate::downloadDidSucceed() {
    if (screen_) {
        screen_->reloadRecords();
    }
}
