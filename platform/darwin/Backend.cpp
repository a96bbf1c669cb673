#include "platform/darwin/Backend.h"

#include "platform/darwin/Ifaddrs.h"

#include "platform/darwin/HostStatisticsRequest.h"

#include <cerrno>
#include <cstring>

namespace darwin {

Backend::~Backend() = default;

int Backend::sysctlbyname(const char* /*name*/, void* /*oldp*/, size_t* /*oldlenp*/,
                          const void* /*newp*/, size_t /*newlen*/) {
    errno = ENOENT;
    return -1;
}

int Backend::proc_pidinfo(int /*pid*/, int /*flavor*/, uint64_t /*arg*/, void* /*buffer*/,
                          int /*buffersize*/) {
    errno = ENOSYS;
    return 0;
}

std::optional<std::string> Backend::userName(uint32_t /*uid*/) {
    errno = ENOSYS;
    return std::nullopt;
}

std::optional<std::string> Backend::groupName(uint32_t /*gid*/) {
    errno = ENOSYS;
    return std::nullopt;
}

uint32_t Backend::getuid() {
    errno = ENOSYS;
    return static_cast<uint32_t>(-1);
}

int32_t Backend::getpid() {
    errno = ENOSYS;
    return -1;
}

int Backend::kill(int32_t /*pid*/, int /*sig*/) {
    errno = ENOSYS;
    return -1;
}

int Backend::killProcessStartedAt(int32_t /*pid*/, int32_t /*startSeconds*/, int /*sig*/) {
    errno = ENOSYS;
    return -1;
}

mach_port_t Backend::mach_host_self() {
    return kHostPort;
}

kern_return_t Backend::host_page_size(mach_port_t /*host*/, vm_size_t* /*size*/) {
    return KERN_FAILURE;
}

kern_return_t Backend::host_statistics(mach_port_t host, int flavor, int32_t* info,
                                       natural_t* count) {
    const HostStatisticsRequest request(host, flavor, info, count);
    const kern_return_t refusal = request.check(HOST_VM_INFO);
    return refusal != KERN_SUCCESS ? refusal : answerVmStatistics(request);
}

kern_return_t Backend::host_statistics64(mach_port_t host, int flavor, int32_t* info,
                                         natural_t* count) {
    if (flavor != HOST_VM_INFO64) {
        return host_statistics(host, flavor, info, count);
    }
    const HostStatisticsRequest request(host, flavor, info, count);
    const kern_return_t refusal = request.check(HOST_VM_INFO64);
    return refusal != KERN_SUCCESS ? refusal : answerVmStatistics64(request);
}

kern_return_t Backend::answerVmStatistics(const HostStatisticsRequest& /*request*/) {
    return KERN_FAILURE;
}

kern_return_t Backend::answerVmStatistics64(const HostStatisticsRequest& /*request*/) {
    return KERN_FAILURE;
}

int Backend::getmntinfo(const unsigned char** /*mntbufp*/, int /*flags*/) {
    errno = ENOSYS;
    return 0;
}

int Backend::getifaddrs(ifaddrs** /*list*/) {
    errno = ENOSYS;
    return -1;
}

void Backend::freeifaddrs(ifaddrs* list) {
    freeIfaddrsList(list);
}

int Backend::socket(int /*domain*/, int /*type*/, int /*protocol*/) {
    errno = ENOSYS;
    return -1;
}

int Backend::ioctl(int /*fd*/, unsigned long /*request*/, void* /*argument*/) {
    errno = ENOSYS;
    return -1;
}

int Backend::close(int /*fd*/) {
    errno = ENOSYS;
    return -1;
}

bool Backend::opensForReadingOnly(const char* mode) {
    return mode != nullptr && mode[0] == 'r' && std::strchr(mode, '+') == nullptr;
}

} // namespace darwin
