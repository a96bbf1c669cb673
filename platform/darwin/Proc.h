#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The device's process records: struct kinfo_proc (492 bytes, from sysctl KERN_PROC) and
// struct proc_taskinfo (96 bytes, from proc_pidinfo PROC_PIDTASKINFO), as a 32-bit
// process sees them, with the constants that fill them. Offsets are absolute within the
// record; every reader and writer goes through these.
namespace darwin {

namespace kinfo_proc {
constexpr size_t kSize = 492;
// kp_proc (struct extern_proc, offset 0).
constexpr size_t kStartSec = 0;   // int32 p_starttime.tv_sec
constexpr size_t kStartUsec = 4;  // int32 p_starttime.tv_usec
constexpr size_t kFlag = 16;      // int32 p_flag
constexpr size_t kStat = 20;      // signed char p_stat, then 3 bytes of padding
constexpr size_t kPid = 24;       // int32 p_pid
constexpr size_t kPriority = 160; // u8 p_priority
constexpr size_t kUsrpri = 161;   // u8 p_usrpri
constexpr size_t kNice = 162;     // signed char p_nice
constexpr size_t kComm = 163;     // char p_comm[MAXCOMLEN + 1]
constexpr size_t kCommSize = 17;
// kp_eproc (struct eproc, offset 196).
constexpr size_t kRuid = 280;    // u32 e_pcred.p_ruid
constexpr size_t kUid = 304;     // u32 e_ucred.cr_uid
constexpr size_t kNgroups = 308; // int16 e_ucred.cr_ngroups, then 2 bytes of padding
constexpr size_t kGroups0 = 312; // u32 e_ucred.cr_groups[0]
constexpr size_t kPpid = 416;    // int32 e_ppid
constexpr size_t kPgid = 420;    // int32 e_pgid
constexpr size_t kTdev = 428;    // int32 e_tdev
constexpr size_t kXsize = 448;   // int32 e_xsize
constexpr size_t kXrssize = 452; // int16 e_xrssize
} // namespace kinfo_proc

namespace proc_taskinfo {
constexpr size_t kSize = 96;
constexpr size_t kVirtualSize = 0;    // u64
constexpr size_t kResidentSize = 8;   // u64
constexpr size_t kTotalUser = 16;     // u64
constexpr size_t kTotalSystem = 24;   // u64
constexpr size_t kThreadsUser = 32;   // u64
constexpr size_t kThreadsSystem = 40; // u64
constexpr size_t kPolicy = 48;        // int32, like every field from here on
constexpr size_t kFaults = 52;
constexpr size_t kPageins = 56;
constexpr size_t kCowFaults = 60;
constexpr size_t kMessagesSent = 64;
constexpr size_t kMessagesReceived = 68;
constexpr size_t kSyscallsMach = 72;
constexpr size_t kSyscallsUnix = 76;
constexpr size_t kCsw = 80;
constexpr size_t kThreadnum = 84;
constexpr size_t kNumrunning = 88;
constexpr size_t kPriority = 92;
} // namespace proc_taskinfo

// p_stat.
constexpr int8_t SIDL = 1;
constexpr int8_t SRUN = 2;
constexpr int8_t SSLEEP = 3;
constexpr int8_t SSTOP = 4;
constexpr int8_t SZOMB = 5;

// p_flag.
constexpr int32_t P_ADVLOCK = 0x1;
constexpr int32_t P_CONTROLT = 0x2;
constexpr int32_t P_LP64 = 0x4;
constexpr int32_t P_NOCLDSTOP = 0x8;
constexpr int32_t P_PPWAIT = 0x10;
constexpr int32_t P_PROFIL = 0x20;
constexpr int32_t P_SELECT = 0x40;
constexpr int32_t P_CONTINUED = 0x80;
constexpr int32_t P_SUGID = 0x100;
constexpr int32_t P_SYSTEM = 0x200;
constexpr int32_t P_TIMEOUT = 0x400;
constexpr int32_t P_TRACED = 0x800;
constexpr int32_t P_RESV3 = 0x1000;
constexpr int32_t P_WEXIT = 0x2000;
constexpr int32_t P_EXEC = 0x4000;
constexpr int32_t P_OWEUPC = 0x8000;
constexpr int32_t P_AFFINITY = 0x10000;
constexpr int32_t P_TRANSLATED = 0x20000;
constexpr int32_t P_CHECKOPENEVT = 0x80000;
constexpr int32_t P_DEPENDENCY_CAPABLE = 0x100000;
constexpr int32_t P_REBOOT = 0x200000;
constexpr int32_t P_TBE = 0x400000;
constexpr int32_t P_THCWD = 0x1000000;
constexpr int32_t P_NOSHLIB = 0x10000000;
constexpr int32_t P_FORCEQUOTA = 0x20000000;
constexpr int32_t P_NOCLDWAIT = 0x40000000;

constexpr int PROC_PIDTASKINFO = 4;
constexpr size_t MAXCOMLEN = 16;
constexpr size_t NGROUPS = 16;
// The device's NODEV: "no terminal" in e_tdev. (The host's NODEV is a macro.)
constexpr int32_t NODEV_DARWIN = -1;
// Records the kernel adds to a size probe of the process table (xnu's KERN_PROCSLOP), so
// that a process born between probe and fill still fits.
constexpr size_t kProcessTableSlack = 5;

// What a sysctl name {CTL_KERN, KERN_PROC, …} asks for, by the kernel's rules: {…,
// KERN_PROC_ALL} with at most one more (unused) word, or {…, KERN_PROC_PID, pid}.
struct ProcessQuery {
    bool all = false;
    int32_t pid = 0;
};
// Null with errno: EINVAL for a malformed name, ENOENT for the selections no backend
// serves (by group, session, terminal or user).
std::optional<ProcessQuery> processQueryOf(const std::vector<int>& mib);
bool isProcessTableName(const std::vector<int>& mib);

// The fields of struct kinfo_proc that the device's programs read; everything else in
// the record is zero.
struct KinfoProc {
    int32_t startSec = 0;
    int32_t startUsec = 0;
    int32_t flag = 0;
    int8_t stat = 0;
    int32_t pid = 0;
    uint8_t priority = 0;
    uint8_t usrpri = 0;
    int8_t nice = 0;
    std::string comm; // at most MAXCOMLEN bytes are kept
    uint32_t ruid = 0;
    uint32_t uid = 0; // effective
    int16_t ngroups = 0;
    uint32_t gid0 = 0; // cr_groups[0]: the effective gid
    int32_t ppid = 0;
    int32_t pgid = 0;
    int32_t tdev = 0;
    int32_t xsize = 0;
    int16_t xrssize = 0;

    bool operator==(const KinfoProc&) const = default;
};

// Writes all 492 bytes as the kernel does: zero first, p_comm cut to 16 bytes with byte
// 16 always NUL (a 16-character name has no other NUL).
void encodeKinfoProc(const KinfoProc& process, unsigned char* record492);
KinfoProc decodeKinfoProc(const unsigned char* record492);

struct ProcTaskInfo {
    uint64_t virtualSize = 0;
    uint64_t residentSize = 0;
    uint64_t totalUser = 0;   // nanoseconds
    uint64_t totalSystem = 0; // nanoseconds
    uint64_t threadsUser = 0;
    uint64_t threadsSystem = 0;
    int32_t policy = 0;
    int32_t faults = 0;
    int32_t pageins = 0;
    int32_t cowFaults = 0;
    int32_t messagesSent = 0;
    int32_t messagesReceived = 0;
    int32_t syscallsMach = 0;
    int32_t syscallsUnix = 0;
    int32_t csw = 0;
    int32_t threadnum = 0;
    int32_t numrunning = 0;
    int32_t priority = 0;

    bool operator==(const ProcTaskInfo&) const = default;
};

void encodeProcTaskInfo(const ProcTaskInfo& info, unsigned char* record96);
ProcTaskInfo decodeProcTaskInfo(const unsigned char* record96);

// The argument rules of proc_pidinfo(…, PROC_PIDTASKINFO, …) that every backend applies:
// true when the request may be answered; otherwise false with errno set (EINVAL for
// another flavour, ENOMEM for a buffer shorter than the record, EFAULT for none).
bool taskInfoRequestIsValid(int flavor, const void* buffer, int buffersize);

} // namespace darwin
