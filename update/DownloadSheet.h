#pragma once

#include "platform/ui/ActionSheet.h"
#include "platform/ui/ProgressView.h"
#include "update/RegistryUpdate.h"
#include "update/RegistryUpdateDelegate.h"

#include <QPointer>

#include <memory>

class DownloadSheetDelegate;

// The sheet titled "NowDownloading" with a progress bar that runs the registry
// update: the bar follows the bytes of all sources; a failure dismisses it and
// says why in an alert ("BackupFailed", "DownloadFailed" or "UpdateFailed" and
// the reason). Deletes itself once dismissed, like any action sheet.
class DownloadSheet : public ui::ActionSheet, public RegistryUpdateDelegate {
public:
    explicit DownloadSheet(RegistryUpdate::Options options);
    ~DownloadSheet() override;

    DownloadSheetDelegate* sheetDelegate() const { return sheetDelegate_; }
    void setSheetDelegate(DownloadSheetDelegate* delegate) { sheetDelegate_ = delegate; }
    ui::ProgressView* progressView() const { return progressView_; }

    // Shows the sheet and starts the update.
    void start();
    // Ends the update, leaving the installed file as it was, and takes the sheet off
    // without a word.
    void cancel();
    // The alert's text key of a failure stage.
    static QString failureKey(RegistryUpdateDelegate::Stage stage);

private:
    void registryUpdateProgress(qint64 received, qint64 total) override;
    void registryUpdateDidSucceed(const Installed& installed) override;
    void registryUpdateDidFail(Stage stage, const QString& message) override;
    void end();

    DownloadSheetDelegate* sheetDelegate_ = nullptr;
    QPointer<ui::ProgressView> progressView_;
    std::unique_ptr<RegistryUpdate> update_;
};
