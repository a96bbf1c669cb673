#include "platform/darwin/Darwin.h"

#include "platform/darwin/linux/LinuxBackend.h"

#include <mutex>

namespace darwin {

namespace {

std::mutex& installMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<Backend>& installedBackend() {
    static std::shared_ptr<Backend> backend;
    return backend;
}

// A call holds its own reference, so a backend replaced meanwhile outlives the call.
std::shared_ptr<Backend> current() {
    std::lock_guard lock(installMutex());
    std::shared_ptr<Backend>& backend = installedBackend();
    if (!backend) {
        backend = std::make_shared<LinuxBackend>("/");
    }
    return backend;
}

} // namespace

int sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp, const void* newp,
           size_t newlen) {
    return current()->sysctl(name, namelen, oldp, oldlenp, newp, newlen);
}

int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, const void* newp, size_t newlen) {
    return current()->sysctlbyname(name, oldp, oldlenp, newp, newlen);
}

std::time_t time(std::time_t* out) {
    const std::time_t now = current()->time();
    if (out != nullptr) {
        *out = now;
    }
    return now;
}

FILE* fopen(const char* path, const char* mode) {
    return current()->fopen(path, mode);
}

int stat(const char* path, struct ::stat* st) {
    return current()->stat(path, st);
}

int proc_pidinfo(int pid, int flavor, uint64_t arg, void* buffer, int buffersize) {
    return current()->proc_pidinfo(pid, flavor, arg, buffer, buffersize);
}

std::optional<std::string> userName(uint32_t uid) {
    return current()->userName(uid);
}

std::optional<std::string> groupName(uint32_t gid) {
    return current()->groupName(gid);
}

uint32_t getuid() {
    return current()->getuid();
}

int32_t getpid() {
    return current()->getpid();
}

int kill(int32_t pid, int sig) {
    return current()->kill(pid, sig);
}

int killProcessStartedAt(int32_t pid, int32_t startSeconds, int sig) {
    return current()->killProcessStartedAt(pid, startSeconds, sig);
}

mach_port_t mach_host_self() {
    return current()->mach_host_self();
}

kern_return_t host_page_size(mach_port_t host, vm_size_t* size) {
    return current()->host_page_size(host, size);
}

kern_return_t host_statistics(mach_port_t host, int flavor, int32_t* info, natural_t* count) {
    return current()->host_statistics(host, flavor, info, count);
}

kern_return_t host_statistics64(mach_port_t host, int flavor, int32_t* info, natural_t* count) {
    return current()->host_statistics64(host, flavor, info, count);
}

int getmntinfo(const unsigned char** mntbufp, int flags) {
    return current()->getmntinfo(mntbufp, flags);
}

int getifaddrs(ifaddrs** list) {
    return current()->getifaddrs(list);
}

// A list is released by the code that made it, whichever backend is installed now.
void freeifaddrs(ifaddrs* list) {
    freeIfaddrsList(list);
}

int socket(int domain, int type, int protocol) {
    return current()->socket(domain, type, protocol);
}

int ioctl(int fd, unsigned long request, void* argument) {
    return current()->ioctl(fd, request, argument);
}

int close(int fd) {
    return current()->close(fd);
}

void install(std::shared_ptr<Backend> backend) {
    std::lock_guard lock(installMutex());
    installedBackend() = std::move(backend);
}

std::shared_ptr<Backend> backend() {
    return current();
}

std::shared_ptr<Backend> installed() {
    std::lock_guard lock(installMutex());
    return installedBackend();
}

} // namespace darwin
