#pragma once

#include "platform/darwin/linux/ProcDirectory.h"
#include "platform/darwin/linux/ProcFiles.h"

#include <cstdint>
#include <string>

namespace darwin {

// Reads one process at a time from /proc: its stat and status files, through the
// process's own directory, into buffers kept from process to process. One reader per
// thread.
class ProcessReader {
public:
    // False with errno when the process does not exist (ESRCH, also for a thread that is
    // not a process's main thread and for files that do not parse), is gone part-way
    // (ESRCH), or cannot be read (EACCES…).
    bool read(const ProcDirectory& proc, int32_t pid);

    // Valid after a successful read until the next one (stat's comm points into a buffer).
    const LinuxProcessStat& stat() const { return stat_; }
    const LinuxProcessStatus& status() const { return status_; }

private:
    std::string statText_;
    std::string statusText_;
    LinuxProcessStat stat_;
    LinuxProcessStatus status_;
};

} // namespace darwin
