#pragma once

#include <cstdint>
#include <string>

namespace darwin {

// What a host login record says, by meaning: the host and the device number some
// kinds differently (the two clock-change records are swapped), so records are
// translated through this and never number to number.
enum class LoginKind {
    Empty,
    RunLevel,
    BootTime,
    ClockBeforeChange, // the time just before the clock was set
    ClockAfterChange,  // the time just after the clock was set
    InitProcess,
    LoginProcess,
    UserProcess,
    DeadProcess,
    Accounting,
    Unknown,
};

// One login record of the host, in host widths.
struct HostLogin {
    LoginKind kind = LoginKind::Empty;
    std::string user;
    std::string id;
    std::string line;
    std::string host;
    int64_t pid = 0;
    int64_t tvSec = 0;
    int64_t tvUsec = 0;
};

} // namespace darwin
