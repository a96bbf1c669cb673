#pragma once

#include "platform/darwin/RecordLayout.h"
#include "platform/darwin/Sysctl.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The device's process records: struct kinfo_proc (492 bytes, from sysctl KERN_PROC) and
// struct proc_taskinfo (96 bytes, from proc_pidinfo PROC_PIDTASKINFO), as a 32-bit
// process sees them, with the constants that fill them. Every reader and writer goes
// through their layouts.
namespace darwin {

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
    Timeval32 starttime;
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

// Offsets are absolute within the record: kp_proc (struct extern_proc) at 0, kp_eproc
// (struct eproc) at 196. p_comm is copied as the kernel does: cut to 16 bytes, byte 16
// always NUL (a 16-character name has no other NUL).
namespace kinfo_proc {
using Layout = RecordLayout<KinfoProc, 492,                                     // struct kinfo_proc
                            Field<&KinfoProc::starttime, 0, timeval32::Layout>, // p_starttime
                            Field<&KinfoProc::flag, 16>,                        // p_flag
                            Field<&KinfoProc::stat, 20>,                        // p_stat (+3 pad)
                            Field<&KinfoProc::pid, 24>,                         // p_pid
                            Field<&KinfoProc::priority, 160>,                   // p_priority
                            Field<&KinfoProc::usrpri, 161>,                     // p_usrpri
                            Field<&KinfoProc::nice, 162>,                       // p_nice
                            Field<&KinfoProc::comm, 163, Text<17, TextEnd::LastByteNul>>,
                            Field<&KinfoProc::ruid, 280>,     // e_pcred.p_ruid
                            Field<&KinfoProc::uid, 304>,      // e_ucred.cr_uid
                            Field<&KinfoProc::ngroups, 308>,  // e_ucred.cr_ngroups (+2 pad)
                            Field<&KinfoProc::gid0, 312>,     // e_ucred.cr_groups[0]
                            Field<&KinfoProc::ppid, 416>,     // e_ppid
                            Field<&KinfoProc::pgid, 420>,     // e_pgid
                            Field<&KinfoProc::tdev, 428>,     // e_tdev
                            Field<&KinfoProc::xsize, 448>,    // e_xsize
                            Field<&KinfoProc::xrssize, 452>>; // e_xrssize
} // namespace kinfo_proc

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

namespace proc_taskinfo {
using Layout = RecordLayout<ProcTaskInfo, 96,                           // struct proc_taskinfo
                            Field<&ProcTaskInfo::virtualSize, 0>,       // pti_virtual_size
                            Field<&ProcTaskInfo::residentSize, 8>,      // pti_resident_size
                            Field<&ProcTaskInfo::totalUser, 16>,        // pti_total_user
                            Field<&ProcTaskInfo::totalSystem, 24>,      // pti_total_system
                            Field<&ProcTaskInfo::threadsUser, 32>,      // pti_threads_user
                            Field<&ProcTaskInfo::threadsSystem, 40>,    // pti_threads_system
                            Field<&ProcTaskInfo::policy, 48>,           // pti_policy
                            Field<&ProcTaskInfo::faults, 52>,           // pti_faults
                            Field<&ProcTaskInfo::pageins, 56>,          // pti_pageins
                            Field<&ProcTaskInfo::cowFaults, 60>,        // pti_cow_faults
                            Field<&ProcTaskInfo::messagesSent, 64>,     // pti_messages_sent
                            Field<&ProcTaskInfo::messagesReceived, 68>, // pti_messages_received
                            Field<&ProcTaskInfo::syscallsMach, 72>,     // pti_syscalls_mach
                            Field<&ProcTaskInfo::syscallsUnix, 76>,     // pti_syscalls_unix
                            Field<&ProcTaskInfo::csw, 80>,              // pti_csw
                            Field<&ProcTaskInfo::threadnum, 84>,        // pti_threadnum
                            Field<&ProcTaskInfo::numrunning, 88>,       // pti_numrunning
                            Field<&ProcTaskInfo::priority, 92>>;        // pti_priority
} // namespace proc_taskinfo

// The argument rules of proc_pidinfo(…, PROC_PIDTASKINFO, …) that every backend applies:
// true when the request may be answered; otherwise false with errno set (EINVAL for
// another flavour, ENOMEM for a buffer shorter than the record, EFAULT for none).
bool taskInfoRequestIsValid(int flavor, const void* buffer, int buffersize);

} // namespace darwin
