#pragma once

#include "platform/darwin/Backend.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/Statfs.h"
#include "platform/darwin/Sysctl.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>

// Reads through a backend the way the application makes them.
namespace backendreads {

using Bytes = std::vector<unsigned char>;

// Probe for the size, then fetch, each through call(buffer, &length). Null (errno set)
// when either call fails.
template <class Call> std::optional<Bytes> probedValue(const Call& call) {
    size_t length = 0;
    errno = 0;
    if (call(nullptr, &length) != 0) {
        return std::nullopt;
    }
    Bytes value(length);
    if (call(value.data(), &length) != 0) {
        return std::nullopt;
    }
    value.resize(length);
    return value;
}

inline std::optional<Bytes> sysctlValue(darwin::Backend& backend, const std::vector<int>& mib) {
    return probedValue([&](void* buffer, size_t* length) {
        return backend.sysctl(mib.data(), static_cast<unsigned>(mib.size()), buffer, length,
                              nullptr, 0);
    });
}

inline std::optional<Bytes> sysctlValue(darwin::Backend& backend, const char* name) {
    return probedValue([&](void* buffer, size_t* length) {
        return backend.sysctlbyname(name, buffer, length, nullptr, 0);
    });
}

inline std::optional<Bytes> fileContent(darwin::Backend& backend, const char* path) {
    FILE* file = backend.fopen(path, "r");
    if (file == nullptr) {
        return std::nullopt;
    }
    Bytes bytes;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        bytes.push_back(static_cast<unsigned char>(c));
    }
    std::fclose(file);
    return bytes;
}

inline std::vector<darwin::StatfsRecord> mountTable(darwin::Backend& backend, int flags) {
    const unsigned char* records = nullptr;
    const int count = backend.getmntinfo(&records, flags);
    std::vector<darwin::StatfsRecord> mounts;
    for (int i = 0; i < count; ++i) {
        mounts.push_back(
            darwin::statfs64::Layout::decode(records + i * darwin::statfs64::Layout::kSize));
    }
    return mounts;
}

// {CTL_KERN, KERN_PROC, KERN_PROC_ALL} into the given buffer.
inline int allProcesses(darwin::Backend& backend, void* buffer, size_t* length) {
    const int mib[] = {darwin::CTL_KERN, darwin::KERN_PROC, darwin::KERN_PROC_ALL};
    errno = 0;
    return backend.sysctl(mib, 3, buffer, length, nullptr, 0);
}

// The process table, probed then read, decoded.
inline std::optional<std::vector<darwin::KinfoProc>> processTable(darwin::Backend& backend) {
    using Layout = darwin::kinfo_proc::Layout;
    const auto table =
        sysctlValue(backend, {darwin::CTL_KERN, darwin::KERN_PROC, darwin::KERN_PROC_ALL});
    if (!table) {
        return std::nullopt;
    }
    std::vector<darwin::KinfoProc> processes;
    for (size_t at = 0; at + Layout::kSize <= table->size(); at += Layout::kSize) {
        processes.push_back(Layout::decode(table->data() + at));
    }
    return processes;
}

// {KERN_PROC_PID, pid} into a 492-byte record: the call's result and the bytes written.
struct OneProcess {
    int result = -1;
    size_t length = 0;
    darwin::KinfoProc process;
};

inline OneProcess oneProcess(darwin::Backend& backend, int32_t pid) {
    const int mib[] = {darwin::CTL_KERN, darwin::KERN_PROC, darwin::KERN_PROC_PID, pid};
    unsigned char record[darwin::kinfo_proc::Layout::kSize] = {};
    OneProcess answer;
    answer.length = sizeof record;
    errno = 0;
    answer.result = backend.sysctl(mib, 4, record, &answer.length, nullptr, 0);
    answer.process = darwin::kinfo_proc::Layout::decode(record);
    return answer;
}

} // namespace backendreads
