#pragma once

#include "platform/darwin/linux/ProcDirectory.h"
#include "platform/darwin/linux/ProcFiles.h"

#include <cstdint>
#include <string>

namespace darwin {

// Reads one process at a time from /proc: its stat and status files, and its statm file
// when the memory is asked for, through the process's own directory, into buffers kept
// from process to process. One reader per thread.
class ProcessReader {
public:
    enum class Files { StatAndStatus, WithMemory };

    // False with errno when the process does not exist (ESRCH, also for a thread that is
    // not a process's main thread and for files that do not parse), is gone part-way
    // (ESRCH), or cannot be read (EACCES…).
    bool read(const ProcDirectory& proc, int32_t pid, Files files = Files::StatAndStatus);

    // Valid after a successful read until the next one (stat's comm points into a buffer).
    const LinuxProcessStat& stat() const { return stat_; }
    const LinuxProcessStatus& status() const { return status_; }
    // Valid after a successful read WithMemory.
    int64_t residentPages() const { return residentPages_; }

private:
    std::string statText_;
    std::string statusText_;
    std::string statmText_;
    LinuxProcessStat stat_;
    LinuxProcessStatus status_;
    int64_t residentPages_ = 0;
};

} // namespace darwin
