#include "platform/darwin/linux/LinuxBackend.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/MemoryFile.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/SysctlRequest.h"
#include "platform/darwin/Utmpx.h"
#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/LoginAccounting.h"
#include "platform/darwin/linux/ProcFiles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
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

} // namespace

LinuxBackend::LinuxBackend(std::string root) : root_(std::move(root)) {}

int LinuxBackend::sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp,
                         const void* newp, size_t newlen) {
    const SysctlRequest request(name, namelen, oldp, oldlenp, newp, newlen);
    if (!request.nameIsValid()) {
        return SysctlRequest::fail(EINVAL);
    }
    const Producer produce = producerFor(request.mib());
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

LinuxBackend::Producer LinuxBackend::producerFor(const std::vector<int>& mib) {
    if (mib == std::vector<int>{CTL_KERN, KERN_BOOTTIME}) {
        return &LinuxBackend::bootTime;
    }
    if (mib == std::vector<int>{CTL_VM, VM_LOADAVG}) {
        return &LinuxBackend::loadAverage;
    }
    return nullptr;
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
    std::vector<unsigned char> record(timeval32::kSize);
    writeLE<int32_t>(record.data(), timeval32::kSec, static_cast<int32_t>(*seconds));
    writeLE<int32_t>(record.data(), timeval32::kUsec, 0);
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
    std::vector<unsigned char> record(loadavg32::kSize);
    writeLE<uint32_t>(record.data(), loadavg32::kLdavg0, fixedPoint((*averages)[0]));
    writeLE<uint32_t>(record.data(), loadavg32::kLdavg1, fixedPoint((*averages)[1]));
    writeLE<uint32_t>(record.data(), loadavg32::kLdavg2, fixedPoint((*averages)[2]));
    writeLE<int32_t>(record.data(), loadavg32::kFscale, FSCALE);
    return record;
}

std::optional<std::string> LinuxBackend::hostFile(const char* path) const {
    return readHostFile(pathUnderRoot(root_, path));
}

std::time_t LinuxBackend::time() {
    return ::time(nullptr);
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
