#include "platform/darwin/Proc.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Sysctl.h"

#include <cerrno>
#include <cstring>

namespace darwin {

// The fields that follow in the record, as a check on the offsets above.
static_assert(kinfo_proc::kComm + kinfo_proc::kCommSize == 180, "p_pgrp follows p_comm");
static_assert(kinfo_proc::kGroups0 + 4 * NGROUPS == 376, "e_vm follows cr_groups");
static_assert(kinfo_proc::kXrssize + 2 + 2 + 4 + 4 + 12 + 16 == kinfo_proc::kSize);
static_assert(proc_taskinfo::kPriority + 4 == proc_taskinfo::kSize);

bool isProcessTableName(const std::vector<int>& mib) {
    return mib.size() >= 2 && mib[0] == CTL_KERN && mib[1] == KERN_PROC;
}

std::optional<ProcessQuery> processQueryOf(const std::vector<int>& mib) {
    if (!isProcessTableName(mib) || mib.size() < 3) {
        errno = EINVAL;
        return std::nullopt;
    }
    if (mib[2] == KERN_PROC_ALL && mib.size() <= 4) {
        return ProcessQuery{true, 0};
    }
    if (mib[2] == KERN_PROC_PID && mib.size() == 4) {
        return ProcessQuery{false, mib[3]};
    }
    errno = mib[2] == KERN_PROC_ALL || mib[2] == KERN_PROC_PID ? EINVAL : ENOENT;
    return std::nullopt;
}

void encodeKinfoProc(const KinfoProc& process, unsigned char* record) {
    using namespace kinfo_proc;
    std::memset(record, 0, kSize);
    writeLE<int32_t>(record, kStartSec, process.startSec);
    writeLE<int32_t>(record, kStartUsec, process.startUsec);
    writeLE<int32_t>(record, kFlag, process.flag);
    writeLE<int8_t>(record, kStat, process.stat);
    writeLE<int32_t>(record, kPid, process.pid);
    writeLE<uint8_t>(record, kPriority, process.priority);
    writeLE<uint8_t>(record, kUsrpri, process.usrpri);
    writeLE<int8_t>(record, kNice, process.nice);
    writeCString(record, kComm, MAXCOMLEN, process.comm); // byte 16 stays NUL
    writeLE<uint32_t>(record, kRuid, process.ruid);
    writeLE<uint32_t>(record, kUid, process.uid);
    writeLE<int16_t>(record, kNgroups, process.ngroups);
    writeLE<uint32_t>(record, kGroups0, process.gid0);
    writeLE<int32_t>(record, kPpid, process.ppid);
    writeLE<int32_t>(record, kPgid, process.pgid);
    writeLE<int32_t>(record, kTdev, process.tdev);
    writeLE<int32_t>(record, kXsize, process.xsize);
    writeLE<int16_t>(record, kXrssize, process.xrssize);
}

KinfoProc decodeKinfoProc(const unsigned char* record) {
    using namespace kinfo_proc;
    KinfoProc process;
    process.startSec = readLE<int32_t>(record, kStartSec);
    process.startUsec = readLE<int32_t>(record, kStartUsec);
    process.flag = readLE<int32_t>(record, kFlag);
    process.stat = readLE<int8_t>(record, kStat);
    process.pid = readLE<int32_t>(record, kPid);
    process.priority = readLE<uint8_t>(record, kPriority);
    process.usrpri = readLE<uint8_t>(record, kUsrpri);
    process.nice = readLE<int8_t>(record, kNice);
    process.comm = readCString(record, kComm, MAXCOMLEN);
    process.ruid = readLE<uint32_t>(record, kRuid);
    process.uid = readLE<uint32_t>(record, kUid);
    process.ngroups = readLE<int16_t>(record, kNgroups);
    process.gid0 = readLE<uint32_t>(record, kGroups0);
    process.ppid = readLE<int32_t>(record, kPpid);
    process.pgid = readLE<int32_t>(record, kPgid);
    process.tdev = readLE<int32_t>(record, kTdev);
    process.xsize = readLE<int32_t>(record, kXsize);
    process.xrssize = readLE<int16_t>(record, kXrssize);
    return process;
}

void encodeProcTaskInfo(const ProcTaskInfo& info, unsigned char* record) {
    using namespace proc_taskinfo;
    writeLE<uint64_t>(record, kVirtualSize, info.virtualSize);
    writeLE<uint64_t>(record, kResidentSize, info.residentSize);
    writeLE<uint64_t>(record, kTotalUser, info.totalUser);
    writeLE<uint64_t>(record, kTotalSystem, info.totalSystem);
    writeLE<uint64_t>(record, kThreadsUser, info.threadsUser);
    writeLE<uint64_t>(record, kThreadsSystem, info.threadsSystem);
    writeLE<int32_t>(record, kPolicy, info.policy);
    writeLE<int32_t>(record, kFaults, info.faults);
    writeLE<int32_t>(record, kPageins, info.pageins);
    writeLE<int32_t>(record, kCowFaults, info.cowFaults);
    writeLE<int32_t>(record, kMessagesSent, info.messagesSent);
    writeLE<int32_t>(record, kMessagesReceived, info.messagesReceived);
    writeLE<int32_t>(record, kSyscallsMach, info.syscallsMach);
    writeLE<int32_t>(record, kSyscallsUnix, info.syscallsUnix);
    writeLE<int32_t>(record, kCsw, info.csw);
    writeLE<int32_t>(record, kThreadnum, info.threadnum);
    writeLE<int32_t>(record, kNumrunning, info.numrunning);
    writeLE<int32_t>(record, kPriority, info.priority);
}

ProcTaskInfo decodeProcTaskInfo(const unsigned char* record) {
    using namespace proc_taskinfo;
    ProcTaskInfo info;
    info.virtualSize = readLE<uint64_t>(record, kVirtualSize);
    info.residentSize = readLE<uint64_t>(record, kResidentSize);
    info.totalUser = readLE<uint64_t>(record, kTotalUser);
    info.totalSystem = readLE<uint64_t>(record, kTotalSystem);
    info.threadsUser = readLE<uint64_t>(record, kThreadsUser);
    info.threadsSystem = readLE<uint64_t>(record, kThreadsSystem);
    info.policy = readLE<int32_t>(record, kPolicy);
    info.faults = readLE<int32_t>(record, kFaults);
    info.pageins = readLE<int32_t>(record, kPageins);
    info.cowFaults = readLE<int32_t>(record, kCowFaults);
    info.messagesSent = readLE<int32_t>(record, kMessagesSent);
    info.messagesReceived = readLE<int32_t>(record, kMessagesReceived);
    info.syscallsMach = readLE<int32_t>(record, kSyscallsMach);
    info.syscallsUnix = readLE<int32_t>(record, kSyscallsUnix);
    info.csw = readLE<int32_t>(record, kCsw);
    info.threadnum = readLE<int32_t>(record, kThreadnum);
    info.numrunning = readLE<int32_t>(record, kNumrunning);
    info.priority = readLE<int32_t>(record, kPriority);
    return info;
}

bool taskInfoRequestIsValid(int flavor, const void* buffer, int buffersize) {
    if (flavor != PROC_PIDTASKINFO) {
        errno = EINVAL;
        return false;
    }
    if (buffersize < static_cast<int>(proc_taskinfo::kSize)) {
        errno = ENOMEM;
        return false;
    }
    if (buffer == nullptr) {
        errno = EFAULT;
        return false;
    }
    return true;
}

} // namespace darwin
