#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace darwin {

// The fields of /proc/PID/stat that the device's records need (numbered as in proc(5)).
struct LinuxProcessStat {
    int32_t pid = 0;        // 1
    std::string_view comm;  // 2, between the first '(' and the last ')'
    char state = 0;         // 3
    int32_t ppid = 0;       // 4
    int32_t pgrp = 0;       // 5
    int32_t ttyNr = 0;      // 7
    uint32_t flags = 0;     // 9, the kernel's PF_* bits
    uint64_t minflt = 0;    // 10
    uint64_t majflt = 0;    // 12
    uint64_t utime = 0;     // 14, clock ticks
    uint64_t stime = 0;     // 15, clock ticks
    int64_t priority = 0;   // 18
    int64_t nice = 0;       // 19
    int64_t numThreads = 0; // 20
    uint64_t starttime = 0; // 22, clock ticks after boot
    uint64_t vsize = 0;     // 23, bytes
    // Field 24 (rss) is not read: proc(5) calls it inaccurate, see parseResidentPages.
};

// Parses /proc/PID/stat. The command name may hold anything, ')' and blanks included,
// so it ends at the last ')'. comm points into text.
std::optional<LinuxProcessStat> parseProcessStat(std::string_view text);

// The lines of /proc/PID/status that the device's records need.
struct LinuxProcessStatus {
    int32_t tgid = 0;
    int32_t tracerPid = 0;
    std::array<uint32_t, 4> uid{}; // real, effective, saved, filesystem
    std::array<uint32_t, 4> gid{};
};

std::optional<LinuxProcessStatus> parseProcessStatus(std::string_view text);

// The resident set in pages: the second field of /proc/PID/statm, what ps(1) shows as rss
// (from status VmRSS, the same count). stat's rss (field 24), which proc(5) calls
// inaccurate, can be a cheaper reading of the kernel's per-CPU counters that lags behind
// and reads low.
std::optional<int64_t> parseResidentPages(std::string_view statm);

// The boot time in seconds since the epoch, from the "btime" line of /proc/stat.
std::optional<int64_t> parseBootTime(std::string_view procStat);

// The 1-, 5- and 15-minute load averages, the first three fields of /proc/loadavg.
// Parsed independently of the C locale (the application may set a decimal comma).
std::optional<std::array<double, 3>> parseLoadAverages(std::string_view procLoadavg);

} // namespace darwin
