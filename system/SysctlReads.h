#pragma once

#include "platform/darwin/ByteOrder.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>

// The two ways the hardware and kernel queries read a node, each through
// call(buffer, &length), one sysctl or sysctlbyname call.
namespace sysctlreads {

// A 4-byte read; -1 when it fails.
template <class Call> int32_t integer(const Call& call) {
    unsigned char bytes[sizeof(int32_t)] = {};
    size_t length = sizeof bytes;
    if (call(bytes, &length) != 0) {
        return -1;
    }
    return darwin::readLE<int32_t>(bytes, 0);
}

// A size probe, a buffer of that size and the read: the text up to the first NUL, as
// UTF-8. Nothing when the probe, the allocation or the read fails.
template <class Call> std::optional<QString> string(const Call& call) {
    size_t size = 0;
    if (call(nullptr, &size) != 0) {
        return std::nullopt;
    }
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size + 1]);
    if (!buffer || call(buffer.get(), &size) != 0) {
        return std::nullopt;
    }
    buffer[size] = '\0';
    return QString::fromUtf8(buffer.get());
}

} // namespace sysctlreads
