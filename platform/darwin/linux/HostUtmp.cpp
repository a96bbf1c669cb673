// This file reads the host's own utmp layout. It must not see the device's accounting
// header: both name their record types EMPTY, USER_PROCESS, … and the host's are macros.
#include "platform/darwin/linux/HostUtmp.h"

#include "platform/darwin/linux/HostFile.h"

#include <utmpx.h>

#include <cstring>

namespace darwin {

namespace {

LoginKind kindOf(short hostType) {
    switch (hostType) {
    case EMPTY:
        return LoginKind::Empty;
    case RUN_LVL:
        return LoginKind::RunLevel;
    case BOOT_TIME:
        return LoginKind::BootTime;
    case OLD_TIME:
        return LoginKind::ClockBeforeChange;
    case NEW_TIME:
        return LoginKind::ClockAfterChange;
    case INIT_PROCESS:
        return LoginKind::InitProcess;
    case LOGIN_PROCESS:
        return LoginKind::LoginProcess;
    case USER_PROCESS:
        return LoginKind::UserProcess;
    case DEAD_PROCESS:
        return LoginKind::DeadProcess;
    case ACCOUNTING:
        return LoginKind::Accounting;
    default:
        return LoginKind::Unknown;
    }
}

template <size_t N> std::string fieldText(const char (&field)[N]) {
    return std::string(field, ::strnlen(field, N));
}

HostLogin loginOf(const struct utmpx& record) {
    HostLogin login;
    login.kind = kindOf(record.ut_type);
    login.user = fieldText(record.ut_user);
    login.id = fieldText(record.ut_id);
    login.line = fieldText(record.ut_line);
    login.host = fieldText(record.ut_host);
    login.pid = record.ut_pid;
    login.tvSec = record.ut_tv.tv_sec;
    login.tvUsec = record.ut_tv.tv_usec;
    return login;
}

} // namespace

std::optional<std::vector<HostLogin>> readHostUtmp(const std::string& path) {
    const std::optional<std::string> content = readHostFile(path);
    if (!content) {
        return std::nullopt;
    }
    std::vector<HostLogin> logins;
    const size_t count = content->size() / sizeof(struct utmpx);
    logins.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        struct utmpx record;
        std::memcpy(&record, content->data() + i * sizeof record, sizeof record);
        logins.push_back(loginOf(record));
    }
    return logins;
}

} // namespace darwin
