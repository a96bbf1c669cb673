#pragma once

#include "platform/darwin/Backend.h"
#include "platform/darwin/Ifaddrs.h"
#include "platform/darwin/Mach.h"
#include "platform/darwin/Statfs.h"

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

// The device's kernel and C library calls that the application makes, with the device's
// signatures and error conventions (-1 or null, and errno). Each call goes to the
// installed backend.
namespace darwin {

int sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp, const void* newp,
           size_t newlen);
int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, const void* newp, size_t newlen);
std::time_t time(std::time_t* out);
FILE* fopen(const char* path, const char* mode);
int stat(const char* path, struct ::stat* st);

// Bytes written (proc_taskinfo::Layout::kSize for PROC_PIDTASKINFO), or 0 with errno: ESRCH for
// no such process (zombies included, as on the device), EINVAL for another flavour,
// ENOMEM for a buffer too small.
int proc_pidinfo(int pid, int flavor, uint64_t arg, void* buffer, int buffersize);
// The account databases (getpwuid, getgrgid): nothing when there is no entry.
std::optional<std::string> userName(uint32_t uid);
std::optional<std::string> groupName(uint32_t gid);
// The application's own ids.
uint32_t getuid();
int32_t getpid();
// kill(2). Signal numbers are the host's <csignal> ones.
int kill(int32_t pid, int sig);
// kill(2) of the process shown to the user: fails with ESRCH unless pid still belongs to
// the process whose kinfo_proc start time (p_starttime.tv_sec) is startSeconds, so a
// pid reused meanwhile is never signalled. Other failures as kill(2) (EPERM, EINVAL).
int killProcessStartedAt(int32_t pid, int32_t startSeconds, int sig);

// The Mach host interface (Mach.h). mach_host_self gives the host port.
mach_port_t mach_host_self();
// The page size in bytes.
kern_return_t host_page_size(mach_port_t host, vm_size_t* size);
// HOST_VM_INFO: *count holds the words info has room for (HOST_VM_INFO_COUNT) and
// receives the words written; a count short of the record gives KERN_FAILURE (see
// HostStatisticsRequest for the exact rules).
kern_return_t host_statistics(mach_port_t host, int flavor, int32_t* info, natural_t* count);
// HOST_VM_INFO64, with HOST_VM_INFO64_COUNT words; other flavours as host_statistics.
kern_return_t host_statistics64(mach_port_t host, int flavor, int32_t* info, natural_t* count);

// The mounted file systems: the number of statfs64::Layout::kSize-byte records at *mntbufp, in a
// buffer the layer owns, valid until the calling thread's next getmntinfo; 0 with errno
// on failure. flags: MNT_NOWAIT (never wait for a file server) or MNT_WAIT.
int getmntinfo(const unsigned char** mntbufp, int flags);

// The network interfaces' addresses (Ifaddrs.h): 0 and a list to release with
// freeifaddrs, or -1 with errno.
int getifaddrs(ifaddrs** list);
void freeifaddrs(ifaddrs* list);
// A socket for the interface requests: socket(AF_INET_DARWIN, SOCK_DGRAM_DARWIN, 0), then
// ioctl with SIOCGIFADDR_DARWIN, SIOCGIFBRDADDR_DARWIN, SIOCGIFDSTADDR_DARWIN or
// SIOCGIFNETMASK_DARWIN on a 32-byte ifreq (ifreq::Layout), then close.
int socket(int domain, int type, int protocol);
int ioctl(int fd, unsigned long request, void* argument);
int close(int fd);

// Chooses the backend, once at start-up (tests install their own). Installing null
// returns to the default.
void install(std::shared_ptr<Backend> backend);

// The installed backend; the Linux backend over "/" when none was installed.
// Thread-safe; the caller shares ownership, so a later install() cannot free it.
std::shared_ptr<Backend> backend();

// The installed backend (the default one once backend() has made it), or null.
std::shared_ptr<Backend> installed();

} // namespace darwin
