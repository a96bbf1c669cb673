#include "platform/darwin/SysctlRequest.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Sysctl.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace darwin {

SysctlRequest::SysctlRequest(const int* name, unsigned namelen, void* oldp, size_t* oldlenp,
                             const void* newp, size_t /*newlen*/)
    : name_(name), namelen_(namelen), oldp_(oldp), oldlenp_(oldlenp), newp_(newp) {}

bool SysctlRequest::nameIsValid() const {
    return name_ != nullptr && namelen_ >= 2 && namelen_ <= CTL_MAXNAME;
}

std::vector<int> SysctlRequest::mib() const {
    if (!nameIsValid()) {
        return {};
    }
    return std::vector<int>(name_, name_ + namelen_);
}

int SysctlRequest::reply(const void* value, size_t size, size_t probeSize) const {
    return replyWritten(size, probeSize, [value, size](unsigned char* to) {
        if (size > 0) {
            std::memcpy(to, value, size);
        }
    });
}

int SysctlRequest::reply(const std::vector<unsigned char>& value) const {
    return reply(value.data(), value.size(), value.size());
}

int SysctlRequest::replyInteger64(int64_t value) const {
    if (oldp_ != nullptr && oldRoom() == sizeof(int32_t)) {
        using Limits = std::numeric_limits<int32_t>;
        const auto narrow =
            static_cast<int32_t>(std::clamp<int64_t>(value, Limits::min(), Limits::max()));
        unsigned char bytes[sizeof narrow];
        writeLE(bytes, 0, narrow);
        return reply(bytes, sizeof bytes, sizeof bytes);
    }
    unsigned char bytes[sizeof value];
    writeLE(bytes, 0, value);
    return reply(bytes, sizeof bytes, sizeof bytes);
}

int SysctlRequest::replyTable(const void* table, size_t size, size_t recordSize,
                              size_t probeSize) const {
    if (offersNewValue() || oldp_ == nullptr || oldlenp_ == nullptr || *oldlenp_ >= size) {
        return reply(table, size, probeSize);
    }
    const size_t fitting = recordSize > 0 ? *oldlenp_ / recordSize * recordSize : 0;
    if (fitting > 0) {
        std::memcpy(oldp_, table, fitting);
    }
    *oldlenp_ = fitting;
    return fail(ENOMEM);
}

int SysctlRequest::replyWrittenTable(size_t size, size_t written, size_t probeSize) const {
    if (offersNewValue()) {
        return fail(EPERM);
    }
    if (oldlenp_ != nullptr) {
        *oldlenp_ = oldp_ == nullptr ? probeSize : written;
    }
    return oldp_ != nullptr && written < size ? fail(ENOMEM) : 0;
}

int SysctlRequest::fail(int error) {
    errno = error;
    return -1;
}

} // namespace darwin
