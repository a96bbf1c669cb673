#include "process/ProcessGroups.h"

#include <QHash>

using services::MainApplication;

namespace {

const QHash<QString, MainApplication>& deviceApplications() {
    static const QHash<QString, MainApplication> names = {
        {"MobilePhone", MainApplication::Phone},
        {"MobileMusicPlayer", MainApplication::MusicPlayer},
        {"MobileMail", MainApplication::Mail},
        {"MobileSMS", MainApplication::SMS},
        {"MobileSafari", MainApplication::WebBrowser},
    };
    return names;
}

} // namespace

ProcessGroups::Group ProcessGroups::groupOf(const ProcessInfo& info, uint32_t sessionUid) {
    if (mainApplicationOf(info.name()) != MainApplication::None) {
        return MainApps;
    }
    if (isMobileUser(info.uid(), info.user(), sessionUid)) {
        return MobileProcs;
    }
    return OtherProcs;
}

MainApplication ProcessGroups::mainApplicationOf(const QString& name) {
    const MainApplication device = deviceApplications().value(name, MainApplication::None);
    if (device != MainApplication::None) {
        return device;
    }
    return services::PlatformProfile::mainApplicationOfCommand(name);
}

bool ProcessGroups::isMobileUser(uint32_t uid, const QString& user, uint32_t sessionUid) {
    return uid == kMobileUid || user == QLatin1String("mobile") ||
           (sessionUid != 0 && uid == sessionUid);
}

QString ProcessGroups::iconNameOf(MainApplication role) {
    switch (role) {
    case MainApplication::Phone:
        return QStringLiteral("Phone.png");
    case MainApplication::MusicPlayer:
        return QStringLiteral("iPod.png");
    case MainApplication::Mail:
        return QStringLiteral("Mail.png");
    case MainApplication::SMS:
        return QStringLiteral("SMS.png");
    case MainApplication::WebBrowser:
        return QStringLiteral("Safari.png");
    case MainApplication::None:
        break;
    }
    return {};
}
