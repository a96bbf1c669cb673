#include "update/DownloadSheet.h"

#include "common/Resources.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ProgressView.h"
#include "update/DownloadSheetDelegate.h"

DownloadSheet::DownloadSheet(RegistryUpdate::Options options)
    : ui::ActionSheet(Resources::text(QStringLiteral("NowDownloading")), nullptr, QString(),
                      QString(), {}),
      progressView_(new ui::ProgressView(ui::ProgressViewStyle::Default)),
      update_(std::make_unique<RegistryUpdate>(this, std::move(options))) {
    setActionSheetStyle(ui::ActionSheetStyle::BlackOpaque);
    progressView_->setFixedSize(300, 32);
    addContentView(progressView_);
}

DownloadSheet::~DownloadSheet() {
    update_.reset();
    if (progressView_ && progressView_->parent() == nullptr) {
        delete progressView_.data();
    }
}

QString DownloadSheet::failureKey(RegistryUpdateDelegate::Stage stage) {
    switch (stage) {
    case RegistryUpdateDelegate::Stage::Backup:
        return QStringLiteral("BackupFailed");
    case RegistryUpdateDelegate::Stage::Download:
        return QStringLiteral("DownloadFailed");
    case RegistryUpdateDelegate::Stage::Install:
        break;
    }
    return QStringLiteral("UpdateFailed");
}

void DownloadSheet::start() {
    showInView(nullptr);
    update_->start();
}

void DownloadSheet::registryUpdateProgress(qint64 received, qint64 total) {
    if (progressView_ && total > 0) {
        progressView_->setProgress(float(double(received) / double(total)));
    }
}

void DownloadSheet::registryUpdateDidSucceed(const Installed& /*installed*/) {
    if (progressView_) {
        progressView_->setProgress(1.0F);
    }
    end();
    if (sheetDelegate_ != nullptr) {
        sheetDelegate_->downloadDidSucceed();
    }
}

void DownloadSheet::registryUpdateDidFail(Stage stage, const QString& message) {
    end();
    auto* alert =
        new ui::AlertView(Resources::text(QStringLiteral("Error")),
                          Resources::text(failureKey(stage)) + QLatin1Char('\n') + message, nullptr,
                          QString(), {Resources::text(QStringLiteral("OK"))});
    alert->show();
    if (sheetDelegate_ != nullptr) {
        sheetDelegate_->downloadDidFail();
    }
}

void DownloadSheet::cancel() {
    if (update_) {
        update_->cancel();
    }
    end();
}

void DownloadSheet::end() {
    dismissWithClickedButtonIndexAnimated(-1, true);
}
