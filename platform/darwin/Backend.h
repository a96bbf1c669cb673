#pragma once

#include "platform/darwin/Mach.h"

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

namespace darwin {

class HostStatisticsRequest;
struct ifaddrs;

// The source of everything the device's kernel and C library answer. Every operation
// follows the device's conventions: failures return -1 (or null) with errno set.
// Operations added for later needs get default bodies that fail with ENOSYS, so that
// existing backends keep compiling.
class Backend {
public:
    virtual ~Backend();

    virtual int sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp,
                       const void* newp, size_t newlen) = 0;
    // Default: no node of that name (ENOENT).
    virtual int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, const void* newp,
                             size_t newlen);
    virtual std::time_t time() = 0;
    virtual FILE* fopen(const char* path, const char* mode) = 0;
    virtual int stat(const char* path, struct ::stat* st) = 0;

    // Processes. proc_pidinfo follows the C library: the bytes written on success, 0 with
    // errno on failure. Signal numbers are the host's (SIGKILL and SIGTERM are the same on
    // both systems). Defaults fail with ENOSYS; the ids then read as -1.
    virtual int proc_pidinfo(int pid, int flavor, uint64_t arg, void* buffer, int buffersize);
    virtual std::optional<std::string> userName(uint32_t uid);
    virtual std::optional<std::string> groupName(uint32_t gid);
    virtual uint32_t getuid();
    virtual int32_t getpid();
    virtual int kill(int32_t pid, int sig);
    // Signals pid only while it still belongs to the process that started at startSeconds
    // (kinfo_proc's p_starttime.tv_sec): a vanished or reused pid fails with ESRCH.
    virtual int killProcessStartedAt(int32_t pid, int32_t startSeconds, int sig);

    // Memory. Mach calls return kern_return_t, not errno. Defaults: mach_host_self gives
    // the host port (it cannot fail); the others fail with KERN_FAILURE.
    virtual mach_port_t mach_host_self();
    virtual kern_return_t host_page_size(mach_port_t host, vm_size_t* size);
    // The kernel's argument rules (HostStatisticsRequest) are applied here, for every
    // backend; host_statistics64 passes flavours other than HOST_VM_INFO64 on to
    // host_statistics, as xnu does. Accepted requests go to the answer operations below.
    kern_return_t host_statistics(mach_port_t host, int flavor, int32_t* info, natural_t* count);
    kern_return_t host_statistics64(mach_port_t host, int flavor, int32_t* info, natural_t* count);

    // Mounted file systems: the number of struct statfs records (Statfs.h) at *mntbufp,
    // in the calling thread's buffer (handOutMountTable); 0 with errno on failure.
    // Default: ENOSYS.
    virtual int getmntinfo(const unsigned char** mntbufp, int flags);

    // Network interfaces (Ifaddrs.h). getifaddrs answers a list made by makeIfaddrsList,
    // which freeifaddrs releases. socket, ioctl and close serve the SIOCGIF*_DARWIN
    // requests on an AF_INET_DARWIN datagram socket; other requests fail with ENOTTY.
    // Defaults: ENOSYS.
    virtual int getifaddrs(ifaddrs** list);
    virtual void freeifaddrs(ifaddrs* list);
    virtual int socket(int domain, int type, int protocol);
    virtual int ioctl(int fd, unsigned long request, void* argument);
    virtual int close(int fd);

protected:
    // Fill an accepted HOST_VM_INFO or HOST_VM_INFO64 request. Default: KERN_FAILURE.
    virtual kern_return_t answerVmStatistics(const HostStatisticsRequest& request);
    virtual kern_return_t answerVmStatistics64(const HostStatisticsRequest& request);

    // The device's files are served for reading only: "r" or "rb", never "r+".
    static bool opensForReadingOnly(const char* mode);

    Backend() = default;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;
};

} // namespace darwin
