#include "system/SystemStatus.h"

#include "common/ElapsedTimeText.h"
#include "common/LogCategories.h"
#include "common/NameText.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/Utmpx.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The login record a kept accounting entry stands for.
LoginRecord loginRecordOf(const darwin::UtmpxEntry& entry, std::time_t now) {
    LoginRecord login;
    login.user = NameText::fromBytes(entry.user);
    login.line = NameText::fromBytes(entry.line);
    login.host = entry.host.empty() ? QStringLiteral("-") : NameText::fromBytes(entry.host);
    char device[38];
    std::snprintf(device, sizeof device, "/dev/%.32s", entry.line.c_str());
    struct stat status {};
    long long idle = 0;
    if (darwin::stat(device, &status) == 0) {
        // A terminal touched after `now` (a clock step) has not been idle at all.
        idle = std::max<long long>(0, now - status.st_mtime);
    }
    login.idle = SystemStatus::stringWithIdleTime(idle);
    login.loginTime = QDateTime::fromSecsSinceEpoch(entry.tv.sec, Qt::UTC);
    return login;
}

} // namespace

SystemStatus::SystemStatus() {
    snapshotOfWho();
    snapshotOfUptime();
    snapshotOfLoadAvg();
}

SystemStatus* SystemStatus::sharedInstance() {
    static SystemStatus* instance = new SystemStatus();
    return instance;
}

double SystemStatus::loadavg(unsigned index) const {
    return index < 3 ? vm_loadavg[index] : 0.0;
}

QString SystemStatus::stringWithUptime(long long seconds) {
    return ElapsedTimeText::fromSeconds(seconds, ElapsedTimeText::HoursPadding::Blank);
}

QString SystemStatus::stringWithIdleTime(long long idle) {
    if (idle <= 86399) {
        return QString::asprintf("%02lld:%02lld:%02lld", idle / 3600, (idle / 60) % 60, idle % 60);
    }
    return QString::asprintf("%llddays", idle / 86400);
}

void SystemStatus::snapshotOfUptime() {
    int mib[2] = {darwin::CTL_KERN, darwin::KERN_BOOTTIME};
    std::array<unsigned char, darwin::timeval32::Layout::kSize> boottime{};
    size_t size = boottime.size();
    if (darwin::sysctl(mib, 2, boottime.data(), &size, nullptr, 0) == -1) {
        qCWarning(lcSystem, "uptime: sysctl kern.boottime: %s", std::strerror(errno));
        return;
    }
    const int32_t bootSeconds =
        darwin::timeval32::Layout::read<&darwin::Timeval32::sec>(boottime.data());
    uptime_ = stringWithUptime(static_cast<long long>(darwin::time(nullptr)) - bootSeconds);
}

void SystemStatus::snapshotOfLoadAvg() {
    int mib[2] = {darwin::CTL_VM, darwin::VM_LOADAVG};
    std::array<unsigned char, darwin::loadavg32::Layout::kSize> loadavg{};
    size_t size = loadavg.size();
    if (darwin::sysctl(mib, 2, loadavg.data(), &size, nullptr, 0) == -1) {
        qCWarning(lcSystem, "load averages: sysctl vm.loadavg: %s", std::strerror(errno));
        return;
    }
    const darwin::Loadavg32 averages = darwin::loadavg32::Layout::decode(loadavg.data());
    const double scale = averages.fscale;
    if (scale <= 0) {
        return; // a reply without a scale carries no load averages
    }
    for (int i = 0; i < 3; ++i) {
        vm_loadavg[i] = averages.ldavg[i] / scale;
    }
}

void SystemStatus::snapshotOfWho() {
    who_.clear();
    FILE* file = darwin::fopen(darwin::utmpx::kPath, "r");
    if (file == nullptr) {
        // A machine that keeps no login records has no one to list.
        if (errno != ENOENT) {
            qCWarning(lcSystem, "users: %s: %s", darwin::utmpx::kPath, std::strerror(errno));
        }
        return;
    }
    const std::time_t now = darwin::time(nullptr);
    std::array<unsigned char, darwin::utmpx::Layout::kSize> record{};
    while (std::fread(record.data(), record.size(), 1, file) == 1) {
        const darwin::UtmpxEntry entry = darwin::utmpx::Layout::decode(record.data());
        // The file opens with a signature record and keeps logged-out sessions as dead
        // records; only user-process records are users logged in now.
        if (entry.type != darwin::utmpx::USER_PROCESS || entry.user.empty()) {
            continue;
        }
        who_.append(loginRecordOf(entry, now));
    }
    std::fclose(file);
}
