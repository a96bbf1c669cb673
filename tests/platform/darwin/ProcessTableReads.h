#pragma once

#include "platform/darwin/Backend.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/Sysctl.h"

#include <cerrno>
#include <optional>
#include <vector>

// Process-table reads through a backend, the way the application makes them.
namespace processreads {

inline int allProcesses(darwin::Backend& backend, void* buffer, size_t* length) {
    const int mib[] = {darwin::CTL_KERN, darwin::KERN_PROC, darwin::KERN_PROC_ALL};
    errno = 0;
    return backend.sysctl(mib, 3, buffer, length, nullptr, 0);
}

// Probe, then fill a buffer of exactly the probed size; the records, decoded.
inline std::optional<std::vector<darwin::KinfoProc>> processTable(darwin::Backend& backend) {
    size_t length = 0;
    if (allProcesses(backend, nullptr, &length) != 0) {
        return std::nullopt;
    }
    std::vector<unsigned char> buffer(length);
    if (allProcesses(backend, buffer.data(), &length) != 0) {
        return std::nullopt;
    }
    std::vector<darwin::KinfoProc> processes;
    for (size_t at = 0; at + darwin::kinfo_proc::Layout::kSize <= length;
         at += darwin::kinfo_proc::Layout::kSize) {
        processes.push_back(darwin::kinfo_proc::Layout::decode(buffer.data() + at));
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

} // namespace processreads
