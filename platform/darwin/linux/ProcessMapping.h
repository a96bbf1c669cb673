#pragma once

#include "platform/darwin/Proc.h"
#include "platform/darwin/linux/ProcFiles.h"

#include <cstdint>

// How the device's kernel would describe a Linux process: the mapping from /proc/PID/stat
// and status to struct kinfo_proc and struct proc_taskinfo.
namespace darwin {

// The kernel's PF_* task flags that the mapping reads.
constexpr uint32_t kLinuxExiting = 0x4;           // PF_EXITING
constexpr uint32_t kLinuxForkedNoExec = 0x40;     // PF_FORKNOEXEC
constexpr uint32_t kLinuxKernelThread = 0x200000; // PF_KTHREAD

// BSD's base priority of user processes.
constexpr int PUSER = 50;

// What turns /proc's clock ticks since boot into wall-clock time.
struct ProcessClock {
    int64_t bootTime = 0;      // seconds since the epoch, /proc/stat "btime"
    long ticksPerSecond = 100; // sysconf(_SC_CLK_TCK)
};

// Fills every field of out (its comm keeps its capacity from call to call).
void mapLinuxProcess(const LinuxProcessStat& stat, const LinuxProcessStatus& status,
                     const ProcessClock& clock, KinfoProc& out);

int8_t deviceState(char linuxState);
int32_t deviceFlags(const LinuxProcessStat& stat, const LinuxProcessStatus& status);
uint8_t devicePriority(int64_t linuxPriority, int64_t nice);
int32_t deviceTerminal(int32_t ttyNr);

// p_starttime: whole seconds, and the rest of the tick count in microseconds.
struct DeviceStartTime {
    int32_t seconds = 0;
    int32_t microseconds = 0;
};
DeviceStartTime deviceStartTime(uint64_t startTicks, const ProcessClock& clock);

// Sizes, times, faults and thread count; the other fields have no Linux counterpart.
// residentPages comes from statm (see parseResidentPages).
ProcTaskInfo mapLinuxTaskInfo(const LinuxProcessStat& stat, int64_t residentPages, long pageSize,
                              long ticksPerSecond);

} // namespace darwin
