#pragma once

#include "platform/services/PlatformProfile.h"
#include "process/ProcessInfo.h"

#include <QString>

#include <cstdint>

// How the Process tab sorts processes: the device's main applications first, then the
// processes of the device's user, then everything else. The device's own names and ids
// come first; the Linux counterparts of the platform profile stand beside them.
class ProcessGroups {
public:
    enum Group { MainApps = 0, MobileProcs = 1, OtherProcs = 2, GroupCount = 3 };

    // The device's user: uid 501, account "mobile".
    static constexpr uint32_t kMobileUid = 501;

    // The first rule that holds decides: a main application by name, then a process of
    // the mobile user, else the others. `sessionUid` is the desktop session's user.
    static Group groupOf(const ProcessInfo& info, uint32_t sessionUid);
    // The role of a program by its command name: the device's five applications, or a
    // Linux program of the same role; None for any other name.
    static services::MainApplication mainApplicationOf(const QString& name);
    // Root never counts as the session's user: a session user of 0 means nobody is logged
    // in, and root's processes are the system's.
    static bool isMobileUser(uint32_t uid, const QString& user, uint32_t sessionUid);
    // The icon of a role ("Phone.png", …), or empty text for None.
    static QString iconNameOf(services::MainApplication role);
};
