#include "platform/darwin/linux/LoginAccounting.h"

#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/HostUtmp.h"
#include "platform/darwin/linux/LogindSessions.h"

namespace darwin {

namespace {

std::string truncated(const std::string& text, size_t fieldSize) {
    return text.substr(0, std::min(text.size(), fieldSize));
}

} // namespace

LoginAccounting::LoginAccounting(std::string root) : root_(std::move(root)) {}

std::vector<UtmpxEntry> LoginAccounting::entries() const {
    std::vector<UtmpxEntry> entries;
    for (const HostLogin& login : hostLogins()) {
        entries.push_back(deviceEntry(login));
    }
    return entries;
}

std::vector<unsigned char> LoginAccounting::file() const {
    return encodeUtmpxFile(entries());
}

std::vector<HostLogin> LoginAccounting::hostLogins() const {
    for (const char* utmp : {"/run/utmp", "/var/run/utmp"}) {
        if (auto logins = readHostUtmp(pathUnderRoot(root_, utmp))) {
            return std::move(*logins);
        }
    }
    return readLogindSessions(pathUnderRoot(root_, "/run/systemd/sessions"));
}

int16_t LoginAccounting::deviceType(LoginKind kind) {
    switch (kind) {
    case LoginKind::RunLevel:
        return utmpx::RUN_LVL;
    case LoginKind::BootTime:
        return utmpx::BOOT_TIME;
    case LoginKind::ClockBeforeChange:
        return utmpx::OLD_TIME;
    case LoginKind::ClockAfterChange:
        return utmpx::NEW_TIME;
    case LoginKind::InitProcess:
        return utmpx::INIT_PROCESS;
    case LoginKind::LoginProcess:
        return utmpx::LOGIN_PROCESS;
    case LoginKind::UserProcess:
        return utmpx::USER_PROCESS;
    case LoginKind::DeadProcess:
        return utmpx::DEAD_PROCESS;
    case LoginKind::Accounting:
        return utmpx::ACCOUNTING;
    case LoginKind::Empty:
    case LoginKind::Unknown:
        break;
    }
    return utmpx::EMPTY;
}

UtmpxEntry LoginAccounting::deviceEntry(const HostLogin& login) {
    UtmpxEntry entry;
    entry.user = truncated(login.user, utmpx::Layout::sizeOf<&UtmpxEntry::user>());
    entry.id = truncated(login.id, utmpx::Layout::sizeOf<&UtmpxEntry::id>());
    entry.line = truncated(login.line, utmpx::Layout::sizeOf<&UtmpxEntry::line>());
    entry.host = truncated(login.host, utmpx::Layout::sizeOf<&UtmpxEntry::host>());
    entry.pid = static_cast<int32_t>(login.pid);
    entry.type = deviceType(login.kind);
    entry.tv = {static_cast<int32_t>(login.tvSec), static_cast<int32_t>(login.tvUsec)};
    return entry;
}

} // namespace darwin
