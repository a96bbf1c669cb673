#pragma once

#include "platform/darwin/Backend.h"

#include <cstdio>
#include <optional>
#include <vector>

// Reads through a backend the way the application does.
namespace backendreads {

using Bytes = std::vector<unsigned char>;

inline Bytes readStream(FILE* file) {
    Bytes bytes;
    unsigned char chunk[1000];
    for (size_t count; (count = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
    return bytes;
}

// Probe for the size, then fetch. Null (errno set) when either call fails.
inline std::optional<Bytes> sysctlValue(darwin::Backend& backend, int top, int second) {
    const int mib[] = {top, second};
    size_t length = 0;
    if (backend.sysctl(mib, 2, nullptr, &length, nullptr, 0) != 0) {
        return std::nullopt;
    }
    Bytes value(length);
    if (backend.sysctl(mib, 2, value.data(), &length, nullptr, 0) != 0) {
        return std::nullopt;
    }
    value.resize(length);
    return value;
}

inline std::optional<Bytes> fileContent(darwin::Backend& backend, const char* path) {
    FILE* file = backend.fopen(path, "r");
    if (file == nullptr) {
        return std::nullopt;
    }
    Bytes bytes = readStream(file);
    std::fclose(file);
    return bytes;
}

} // namespace backendreads
