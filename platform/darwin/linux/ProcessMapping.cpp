#include "platform/darwin/linux/ProcessMapping.h"

#include <algorithm>
#include <limits>

namespace darwin {

namespace {

int32_t saturatedInt32(uint64_t value) {
    return static_cast<int32_t>(std::min<uint64_t>(value, std::numeric_limits<int32_t>::max()));
}

uint64_t ticksToNanoseconds(uint64_t ticks, long ticksPerSecond) {
    const auto hz = static_cast<uint64_t>(std::max(ticksPerSecond, 1L));
    return ticks / hz * 1000000000u + ticks % hz * 1000000000u / hz;
}

bool credentialsDiffer(const std::array<uint32_t, 4>& ids) {
    return ids[0] != ids[1] || ids[1] != ids[2];
}

} // namespace

void mapLinuxProcess(const LinuxProcessStat& stat, const LinuxProcessStatus& status,
                     const ProcessClock& clock, KinfoProc& out) {
    const DeviceStartTime start = deviceStartTime(stat.starttime, clock);
    out.starttime = {start.seconds, start.microseconds};
    out.flag = deviceFlags(stat, status);
    out.stat = deviceState(stat.state);
    out.pid = stat.pid;
    out.priority = devicePriority(stat.priority, stat.nice);
    out.usrpri = 0; // the device's kernel never fills it
    out.nice = static_cast<int8_t>(std::clamp<int64_t>(stat.nice, -128, 127));
    out.comm.assign(stat.comm.substr(0, MAXCOMLEN));
    out.ruid = status.uid[0];
    out.uid = status.uid[1];
    out.ngroups = 1;
    out.gid0 = status.gid[1];
    out.ppid = stat.ppid;
    out.pgid = stat.pgrp;
    out.tdev = deviceTerminal(stat.ttyNr);
    out.xsize = 0; // written as 0 by the device's kernel too
    out.xrssize = 0;
}

int8_t deviceState(char linuxState) {
    switch (linuxState) {
    case 'R':
        return SRUN;
    case 'S': // interruptible sleep
    case 'D': // uninterruptible (disk) sleep
    case 'I': // idle kernel thread
    case 'P': // parked kernel thread
    case 'W': // paging (before 2.6) or waking (2.6.33 to 3.13)
    case 'K': // wake-kill (2.6.33 to 3.13)
        return SSLEEP;
    case 'T': // stopped by a signal
    case 't': // stopped by its tracer
        return SSTOP;
    case 'Z':
    case 'X': // dead, being reaped
    case 'x':
        return SZOMB;
    default:
        return 0;
    }
}

int32_t deviceFlags(const LinuxProcessStat& stat, const LinuxProcessStatus& status) {
    const bool kernelThread = (stat.flags & kLinuxKernelThread) != 0;
    int32_t flags = 0;
    if (kernelThread) {
        flags |= P_SYSTEM;
    } else if ((stat.flags & kLinuxForkedNoExec) == 0) {
        flags |= P_EXEC;
    }
    if (stat.ttyNr != 0) {
        flags |= P_CONTROLT;
    }
    if (status.tracerPid != 0) {
        flags |= P_TRACED;
    }
    if ((stat.flags & kLinuxExiting) != 0) {
        flags |= P_WEXIT;
    }
    if (credentialsDiffer(status.uid) || credentialsDiffer(status.gid)) {
        flags |= P_SUGID;
    }
    return flags;
}

// Time-shared tasks (Linux priority 0..39) get 4.4BSD's user priority without the CPU
// estimate, PUSER + 2 × nice. Real-time tasks (priority -2..-100, -101 for deadline) rank
// above every time-shared one: 49 for real-time priority 1 down to 0.
uint8_t devicePriority(int64_t linuxPriority, int64_t nice) {
    if (linuxPriority >= 0) {
        return static_cast<uint8_t>(std::clamp<int64_t>(PUSER + 2 * nice, 0, 127));
    }
    const int64_t realtime = std::min<int64_t>(-linuxPriority - 1, 100);
    return static_cast<uint8_t>(std::max<int64_t>(PUSER - 1 - realtime * (PUSER - 1) / 100, 0));
}

// Linux packs a device number as minor bits 0-7 and 20-31, major bits 8-19; the device's
// dev_t is major << 24 | minor.
int32_t deviceTerminal(int32_t ttyNr) {
    if (ttyNr == 0) {
        return NODEV_DARWIN;
    }
    const auto bits = static_cast<uint32_t>(ttyNr);
    const uint32_t major = (bits >> 8) & 0xfffu;
    const uint32_t minor = (bits & 0xffu) | ((bits >> 12) & 0xfff00u);
    return static_cast<int32_t>(((major & 0xffu) << 24) | (minor & 0xffffffu));
}

DeviceStartTime deviceStartTime(uint64_t startTicks, const ProcessClock& clock) {
    const auto hz = static_cast<uint64_t>(std::max(clock.ticksPerSecond, 1L));
    const int64_t seconds = clock.bootTime + static_cast<int64_t>(startTicks / hz);
    DeviceStartTime start;
    start.seconds = static_cast<int32_t>(seconds);
    start.microseconds = static_cast<int32_t>(startTicks % hz * 1000000u / hz);
    return start;
}

ProcTaskInfo mapLinuxTaskInfo(const LinuxProcessStat& stat, int64_t residentPages, long pageSize,
                              long ticksPerSecond) {
    ProcTaskInfo info;
    info.virtualSize = stat.vsize;
    info.residentSize = static_cast<uint64_t>(std::max<int64_t>(residentPages, 0)) *
                        static_cast<uint64_t>(std::max(pageSize, 0L));
    info.totalUser = ticksToNanoseconds(stat.utime, ticksPerSecond);
    info.totalSystem = ticksToNanoseconds(stat.stime, ticksPerSecond);
    info.faults = saturatedInt32(stat.minflt + stat.majflt);
    info.pageins = saturatedInt32(stat.majflt);
    info.threadnum = static_cast<int32_t>(std::clamp<int64_t>(stat.numThreads, 0, INT32_MAX));
    return info;
}

} // namespace darwin
