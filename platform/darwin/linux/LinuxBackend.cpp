#include "platform/darwin/linux/LinuxBackend.h"

#include "platform/darwin/HostStatisticsRequest.h"
#include "platform/darwin/MemoryFile.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/SysctlRequest.h"
#include "platform/darwin/Utmpx.h"
#include "platform/darwin/linux/AccountNames.h"
#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/InterfaceRequest.h"
#include "platform/darwin/linux/LoginAccounting.h"
#include "platform/darwin/linux/MountTable.h"
#include "platform/darwin/linux/NetlinkAnswers.h"
#include "platform/darwin/linux/NetlinkSocket.h"
#include "platform/darwin/linux/ProcFiles.h"
#include "platform/darwin/linux/ProcessSignal.h"
#include "platform/darwin/linux/ProcessTable.h"
#include "platform/darwin/linux/VmCounters.h"

#include <fcntl.h>
#include <linux/netlink.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <limits>

namespace darwin {

namespace {

// A load average in the kernel's fixed point, saturated to the field.
uint32_t fixedPoint(double average) {
    const double scaled = std::round(average * FSCALE);
    constexpr double largest = std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(std::min(scaled, largest));
}

size_t probeSize(size_t records) {
    return (records + kProcessTableSlack) * kinfo_proc::Layout::kSize;
}

vm_size_t hostPageSize() {
    return static_cast<vm_size_t>(::sysconf(_SC_PAGESIZE));
}

} // namespace

LinuxBackend::LinuxBackend(std::string root, RecentProcessTable::Clock now,
                           NetlinkConnector sockDiag)
    : root_(std::move(root)), recentTable_(now), netlink_(NetlinkSocket::connector(NETLINK_ROUTE)),
      socketLists_(root_, std::move(sockDiag), now), identity_(root_) {}

NetlinkConnector LinuxBackend::defaultSockDiag() {
    return NetlinkSocket::connector(NETLINK_SOCK_DIAG);
}

int LinuxBackend::sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp,
                         const void* newp, size_t newlen) {
    const SysctlRequest request(name, namelen, oldp, oldlenp, newp, newlen);
    if (!request.nameIsValid()) {
        return SysctlRequest::fail(EINVAL);
    }
    const std::vector<int> mib = request.mib();
    if (isProcessTableName(mib)) {
        return processTable(request, mib);
    }
    if (isRoutingSocketName(mib)) {
        return answerRoutingSocket(request, mib, netlink_);
    }
    if (const std::optional<int> result = identity_.answer(request, mib)) {
        return *result;
    }
    const Producer produce = producerFor(mib);
    if (produce == nullptr) {
        return SysctlRequest::fail(ENOENT);
    }
    if (request.offersNewValue()) {
        return SysctlRequest::fail(EPERM);
    }
    const Value value = (this->*produce)();
    if (!value) {
        return -1;
    }
    return request.reply(*value);
}

// Names are not checked against CTL_MAXNAME: the call has none of that form.
int LinuxBackend::sysctlbyname(const char* name, void* oldp, size_t* oldlenp, const void* newp,
                               size_t newlen) {
    const SysctlRequest request(nullptr, 0, oldp, oldlenp, newp, newlen);
    if (name != nullptr) {
        if (const std::optional<int> result = identity_.answerNamed(request, name)) {
            return *result;
        }
    }
    const std::optional<PcbListKind> list = SocketLists::listNamed(name);
    if (!list) {
        return SysctlRequest::fail(ENOENT);
    }
    return socketLists_.answer(*list, request);
}

LinuxBackend::Producer LinuxBackend::producerFor(const std::vector<int>& mib) {
    if (mib == std::vector<int>{CTL_KERN, KERN_BOOTTIME}) {
        return &LinuxBackend::bootTime;
    }
    if (mib == std::vector<int>{CTL_VM, VM_LOADAVG}) {
        return &LinuxBackend::loadAverage;
    }
    return nullptr;
}

int LinuxBackend::processTable(const SysctlRequest& request, const std::vector<int>& mib) const {
    const std::optional<ProcessQuery> query = processQueryOf(mib);
    if (!query) {
        return -1;
    }
    if (request.offersNewValue()) {
        return SysctlRequest::fail(EPERM);
    }
    return query->all ? allProcesses(request) : oneProcess(request, query->pid);
}

// A size probe only counts the process directories; the fill reads every process.
int LinuxBackend::allProcesses(const SysctlRequest& request) const {
    ProcessTable table(root_);
    if (!table.isOpen()) {
        return SysctlRequest::fail(table.openError());
    }
    if (request.isSizeProbe()) {
        const std::optional<size_t> count = table.count();
        return count ? request.reply(nullptr, 0, probeSize(*count)) : -1;
    }
    const std::optional<std::vector<unsigned char>> records = table.records();
    if (!records) {
        return -1;
    }
    recentTable_.keep(*records);
    return request.replyTable(records->data(), records->size(), kinfo_proc::Layout::kSize,
                              probeSize(records->size() / kinfo_proc::Layout::kSize));
}

// A process that does not exist, or is gone part-way, answers with no record at all.
int LinuxBackend::oneProcess(const SysctlRequest& request, int32_t pid) const {
    unsigned char record[kinfo_proc::Layout::kSize];
    if (recentTable_.find(pid, record)) {
        if (!processExists(pid)) {
            return request.reply(nullptr, 0, probeSize(0));
        }
        return request.replyTable(record, sizeof record, kinfo_proc::Layout::kSize, probeSize(1));
    }
    ProcessTable table(root_);
    if (!table.isOpen()) {
        return SysctlRequest::fail(table.openError());
    }
    const std::optional<KinfoProc> process = table.process(pid);
    if (!process) {
        return errno == ESRCH ? request.reply(nullptr, 0, probeSize(0)) : -1;
    }
    kinfo_proc::Layout::encode(*process, record);
    return request.replyTable(record, sizeof record, kinfo_proc::Layout::kSize, probeSize(1));
}

// The process's directory: there until the process has been reaped.
bool LinuxBackend::processExists(int32_t pid) const {
    const std::string directory = pathUnderRoot(root_, "/proc/" + std::to_string(pid));
    return ::faccessat(AT_FDCWD, directory.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) == 0;
}

// The device's kernel keeps the boot time in whole seconds: tv_usec is always 0.
LinuxBackend::Value LinuxBackend::bootTime() const {
    const std::optional<std::string> procStat = hostFile("/proc/stat");
    if (!procStat) {
        return std::nullopt;
    }
    const std::optional<int64_t> seconds = parseBootTime(*procStat);
    if (!seconds) {
        errno = EIO;
        return std::nullopt;
    }
    std::vector<unsigned char> record(timeval32::Layout::kSize);
    timeval32::Layout::encode(Timeval32{static_cast<int32_t>(*seconds), 0}, record.data());
    return record;
}

LinuxBackend::Value LinuxBackend::loadAverage() const {
    const std::optional<std::string> procLoadavg = hostFile("/proc/loadavg");
    if (!procLoadavg) {
        return std::nullopt;
    }
    const auto averages = parseLoadAverages(*procLoadavg);
    if (!averages) {
        errno = EIO;
        return std::nullopt;
    }
    const Loadavg32 loadavg{
        {fixedPoint((*averages)[0]), fixedPoint((*averages)[1]), fixedPoint((*averages)[2])},
        FSCALE};
    std::vector<unsigned char> record(loadavg32::Layout::kSize);
    loadavg32::Layout::encode(loadavg, record.data());
    return record;
}

std::optional<std::string> LinuxBackend::hostFile(const char* path) const {
    return readHostFile(pathUnderRoot(root_, path));
}

kern_return_t LinuxBackend::host_page_size(mach_port_t host, vm_size_t* size) {
    return replyPageSize(host, size, hostPageSize());
}

kern_return_t LinuxBackend::answerVmStatistics(const HostStatisticsRequest& request) {
    const std::optional<VmStatistics64> statistics = vmStatistics();
    return statistics ? request.reply(truncatedVmStatistics(*statistics)) : KERN_FAILURE;
}

kern_return_t LinuxBackend::answerVmStatistics64(const HostStatisticsRequest& request) {
    const std::optional<VmStatistics64> statistics = vmStatistics();
    return statistics ? request.reply(*statistics) : KERN_FAILURE;
}

std::optional<VmStatistics64> LinuxBackend::vmStatistics() const {
    const std::optional<std::string> meminfo = hostFile("/proc/meminfo");
    const std::optional<std::string> vmstat = hostFile("/proc/vmstat");
    if (!meminfo || !vmstat) {
        return std::nullopt;
    }
    return linuxVmStatistics(parseKeyedCounters(*meminfo), parseKeyedCounters(*vmstat),
                             hostPageSize());
}

int LinuxBackend::getmntinfo(const unsigned char** mntbufp, int flags) {
    if (mntbufp == nullptr) {
        errno = EFAULT;
        return 0;
    }
    const std::optional<std::vector<StatfsRecord>> records =
        MountTable(root_).records(mountTableWaits(flags));
    return records ? handOutMountTable(*records, mntbufp) : 0;
}

int LinuxBackend::getifaddrs(ifaddrs** list) {
    return answerGetifaddrs(list, netlink_);
}

int LinuxBackend::socket(int domain, int type, int protocol) {
    return openInterfaceRequestSocket(domain, type, protocol);
}

int LinuxBackend::ioctl(int fd, unsigned long request, void* argument) {
    return answerInterfaceRequest(fd, request, argument);
}

int LinuxBackend::close(int fd) {
    return ::close(fd);
}

std::time_t LinuxBackend::time() {
    return ::time(nullptr);
}

// Failures return 0, as the device's C library does.
int LinuxBackend::proc_pidinfo(int pid, int flavor, uint64_t /*arg*/, void* buffer,
                               int buffersize) {
    if (!taskInfoRequestIsValid(flavor, buffer, buffersize)) {
        return 0;
    }
    ProcessTable table(root_);
    if (!table.isOpen()) {
        errno = table.openError();
        return 0;
    }
    const std::optional<ProcTaskInfo> info = table.taskInfo(pid);
    if (!info) {
        return 0;
    }
    proc_taskinfo::Layout::encode(*info, static_cast<unsigned char*>(buffer));
    return static_cast<int>(proc_taskinfo::Layout::kSize);
}

std::optional<std::string> LinuxBackend::userName(uint32_t uid) {
    return AccountNames(root_).userName(uid);
}

std::optional<std::string> LinuxBackend::groupName(uint32_t gid) {
    return AccountNames(root_).groupName(gid);
}

uint32_t LinuxBackend::getuid() {
    return ::getuid();
}

int32_t LinuxBackend::getpid() {
    return ::getpid();
}

int LinuxBackend::kill(int32_t pid, int sig) {
    if (!servesHostProcesses()) {
        errno = EPERM;
        return -1;
    }
    return ::kill(pid, sig);
}

int LinuxBackend::killProcessStartedAt(int32_t pid, int32_t startSeconds, int sig) {
    if (!servesHostProcesses()) {
        errno = EPERM;
        return -1;
    }
    ProcessTable table(root_);
    return signalProcessStartedAt(pid, startSeconds, sig,
                                  [&table](int32_t of) { return table.startSeconds(of); });
}

bool LinuxBackend::servesHostProcesses() const {
    return pathUnderRoot(root_, "/") == "/";
}

FILE* LinuxBackend::fopen(const char* path, const char* mode) {
    if (path == nullptr) {
        errno = EFAULT;
        return nullptr;
    }
    if (!opensForReadingOnly(mode)) {
        errno = EACCES;
        return nullptr;
    }
    if (std::strcmp(path, utmpx::kPath) == 0) {
        return openMemoryFile(LoginAccounting(root_).file());
    }
    return ::fopen(pathUnderRoot(root_, path).c_str(), "re");
}

int LinuxBackend::stat(const char* path, struct ::stat* st) {
    if (path == nullptr) {
        errno = EFAULT;
        return -1;
    }
    return ::stat(pathUnderRoot(root_, path).c_str(), st);
}

} // namespace darwin
