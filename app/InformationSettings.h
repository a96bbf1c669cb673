#pragma once

#include <QString>
#include <QUrl>

// What the Information screen may point at. Nothing is assumed: the problem report
// needs a recipient (ORMEL_REPORT_ADDRESS) and the donation button a page
// (ORMEL_DONATION_URL); the change log and the known problems are documents shipped in
// the bundle, offered when they are there. A target left empty leaves its row out.
struct InformationSettings {
    // The upstream project of the flag images (Debian's iso-flags-svg).
    static constexpr const char* kFlagProjectURL = "https://github.com/linuxmint/flags";

    QString reportAddress;
    QUrl donationURL;
    QUrl changeLogURL;
    QUrl knownProblemsURL;
    QUrl flagProjectURL;

    // From the environment and the bundle's resource directory.
    static InformationSettings fromEnvironment();
};
