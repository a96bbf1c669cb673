#pragma once

#include "platform/darwin/Backend.h"
#include "platform/darwin/Mach.h"
#include "platform/darwin/linux/HardwareKernelNodes.h"
#include "platform/darwin/linux/NetlinkSource.h"
#include "platform/darwin/linux/RecentProcessTable.h"
#include "platform/darwin/linux/SocketLists.h"

#include <optional>
#include <string>
#include <vector>

namespace darwin {

class SysctlRequest;

// Answers the device's interface from the running Linux host. Every host file is read
// under root, so tests can point it at a fake tree holding proc/ and run/ files.
// Known sysctl nodes: {CTL_KERN, KERN_BOOTTIME} from the btime of /proc/stat,
// {CTL_VM, VM_LOADAVG} from /proc/loadavg, and the process table {CTL_KERN, KERN_PROC,
// KERN_PROC_ALL} and {…, KERN_PROC_PID, pid} from /proc/PID (see ProcessTable). The
// accounting file /var/run/utmpx is made from the host's utmp or logind sessions; other
// paths open under root, read-only. The Mach memory statistics come from /proc/meminfo
// and /proc/vmstat (see linuxVmStatistics), the mount table from /proc/self/mountinfo
// and statfs(2) of each mount point (see MountTable). Signals reach host processes only under the
// host root "/"; under any other root they fail with EPERM. The routing table
// {CTL_NET, PF_ROUTE, 0, 0, NET_RT_DUMP, 0}, the interface list {…, AF_LINK,
// NET_RT_IFLIST2, 0} and getifaddrs come from rtnetlink (see NetlinkAnswers), whatever
// the root; the SIOCGIF* requests from the host's own (InterfaceRequest). sysctlbyname
// serves the control-block lists net.inet.{tcp,udp,raw}.pcblist from socket dumps of
// the process's network namespace (see SocketLists). The hardware and kernel
// identification nodes, by number and by name, come from HardwareKernelNodes.
class LinuxBackend : public Backend {
public:
    // now dates the kept process table (RecentProcessTable) and socket dumps; sockDiag
    // opens the source of the socket dumps (a NETLINK_SOCK_DIAG NetlinkSocket). Tests may
    // pass their own.
    explicit LinuxBackend(std::string root = "/",
                          RecentProcessTable::Clock now = RecentProcessTable::steadyNow,
                          NetlinkConnector sockDiag = defaultSockDiag());

    const std::string& root() const { return root_; }
    // Opens a NETLINK_SOCK_DIAG socket per list read.
    static NetlinkConnector defaultSockDiag();

    int sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp, const void* newp,
               size_t newlen) override;
    int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, const void* newp,
                     size_t newlen) override;
    std::time_t time() override;
    FILE* fopen(const char* path, const char* mode) override;
    int stat(const char* path, struct ::stat* st) override;

    int proc_pidinfo(int pid, int flavor, uint64_t arg, void* buffer, int buffersize) override;
    std::optional<std::string> userName(uint32_t uid) override;
    std::optional<std::string> groupName(uint32_t gid) override;
    uint32_t getuid() override;
    int32_t getpid() override;
    int kill(int32_t pid, int sig) override;
    int killProcessStartedAt(int32_t pid, int32_t startSeconds, int sig) override;

    kern_return_t host_page_size(mach_port_t host, vm_size_t* size) override;
    int getmntinfo(const unsigned char** mntbufp, int flags) override;

    int getifaddrs(ifaddrs** list) override;
    int socket(int domain, int type, int protocol) override;
    int ioctl(int fd, unsigned long request, void* argument) override;
    int close(int fd) override;
    // Where the rtnetlink dumps come from: the kernel unless a test gives recorded ones.
    void setNetlink(NetlinkConnector connect) { netlink_ = std::move(connect); }

protected:
    kern_return_t answerVmStatistics(const HostStatisticsRequest& request) override;
    kern_return_t answerVmStatistics64(const HostStatisticsRequest& request) override;

private:
    using Value = std::optional<std::vector<unsigned char>>; // null: errno tells why
    using Producer = Value (LinuxBackend::*)() const;

    static Producer producerFor(const std::vector<int>& mib);
    int processTable(const SysctlRequest& request, const std::vector<int>& mib) const;
    int allProcesses(const SysctlRequest& request) const;
    int oneProcess(const SysctlRequest& request, int32_t pid) const;
    bool servesHostProcesses() const;
    bool processExists(int32_t pid) const;
    Value bootTime() const;
    Value loadAverage() const;
    std::optional<std::string> hostFile(const char* path) const;
    std::optional<VmStatistics64> vmStatistics() const;

    std::string root_;
    mutable RecentProcessTable recentTable_;
    NetlinkConnector netlink_;
    SocketLists socketLists_;
    HardwareKernelNodes identity_;
};

} // namespace darwin
