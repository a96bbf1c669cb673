#pragma once

#include "platform/ui/AlertViewDelegate.h"

#include <QDateTime>
#include <QString>

#include <optional>

class UpdateDBDelegate;

// Whether the registry file in use is old enough to offer an update, and the
// question to the user. Main thread only.
class UpdateDB : public ui::AlertViewDelegate {
public:
    // An update is offered once the data in use is older than this (25 hours): an
    // installed file carries its server's Last-Modified date, so this is the age of
    // the registries' data, not of the download.
    static constexpr double updateInterval = 90000;

    static UpdateDB* sharedInstance();

    UpdateDBDelegate* delegate() const { return delegate_; }
    void setDelegate(UpdateDBDelegate* delegate) { delegate_ = delegate; }

    // The modification time of the copy of `fileName` in use: the documents copy, else
    // the shipped one; no value when neither exists.
    static std::optional<QDateTime> modificationDate(const QString& fileName);
    // True when that copy was last modified more than `seconds` before `now`.
    static bool needsUpdateElapsed(const QString& fileName, double seconds,
                                   const QDateTime& now = QDateTime::currentDateTimeUtc());

    // Asks "Confirmation"/"DownloadConfirmation" with Cancel (0) and OK (1); OK calls
    // the delegate's updateDatabase.
    void confirmUpdate();
    void alertViewDidDismissWithButtonIndex(ui::AlertView* alertView, int buttonIndex) override;

private:
    UpdateDB() = default;
    UpdateDBDelegate* delegate_ = nullptr;
};
