#include "system/UIDevice_Kernel.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Sysctl.h"
#include "system/SysctlReads.h"

#include <QTimeZone>

namespace {

int kernelSysctl(int n, void* buffer, size_t* length) {
    const int mib[] = {darwin::CTL_KERN, n};
    return darwin::sysctl(mib, 2, buffer, length, nullptr, 0);
}

// An 8-byte time value through call(buffer, &length): its 32-bit seconds, the
// microseconds after them ignored.
template <class Call> std::optional<QDateTime> dateRead(const Call& call) {
    unsigned char bytes[darwin::timeval32::Layout::kSize] = {};
    size_t length = sizeof bytes;
    if (call(bytes, &length) != 0) {
        return std::nullopt;
    }
    const auto seconds = darwin::timeval32::Layout::read<&darwin::Timeval32::sec>(bytes);
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
}

} // namespace

int32_t UIDevice_Kernel::getKernelIntegerValue(int n) {
    return sysctlreads::integer(
        [n](void* buffer, size_t* length) { return kernelSysctl(n, buffer, length); });
}

std::optional<QString> UIDevice_Kernel::getKernelStringValue(int n) {
    return sysctlreads::string(
        [n](void* buffer, size_t* length) { return kernelSysctl(n, buffer, length); });
}

std::optional<QDateTime> UIDevice_Kernel::getDateValue(int n) {
    return dateRead([n](void* buffer, size_t* length) { return kernelSysctl(n, buffer, length); });
}

std::optional<QDateTime> UIDevice_Kernel::getDateValueByName(const char* name) {
    return dateRead([name](void* buffer, size_t* length) {
        return darwin::sysctlbyname(name, buffer, length, nullptr, 0);
    });
}

std::optional<QString> UIDevice_Kernel::ostype() {
    return getKernelStringValue(darwin::KERN_OSTYPE);
}

std::optional<QString> UIDevice_Kernel::osrelease() {
    return getKernelStringValue(darwin::KERN_OSRELEASE);
}

int32_t UIDevice_Kernel::osrevision() {
    return getKernelIntegerValue(darwin::KERN_OSREV);
}

std::optional<QString> UIDevice_Kernel::version() {
    return getKernelStringValue(darwin::KERN_VERSION);
}

std::optional<QString> UIDevice_Kernel::hostname() {
    return getKernelStringValue(darwin::KERN_HOSTNAME);
}

std::optional<QString> UIDevice_Kernel::osversion() {
    return getKernelStringValue(darwin::KERN_OSVERSION);
}

std::optional<QDateTime> UIDevice_Kernel::boottime() {
    return getDateValue(darwin::KERN_BOOTTIME);
}

std::optional<QDateTime> UIDevice_Kernel::sleeptime() {
    return getDateValueByName("kern.sleeptime");
}

std::optional<QDateTime> UIDevice_Kernel::waketime() {
    return getDateValueByName("kern.waketime");
}
