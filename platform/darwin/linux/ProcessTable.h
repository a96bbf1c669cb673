#pragma once

#include "platform/darwin/Proc.h"
#include "platform/darwin/linux/ProcDirectory.h"
#include "platform/darwin/linux/ProcessMapping.h"
#include "platform/darwin/linux/ProcessReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace darwin {

// The host's processes as the device's kernel reports them, read from <root>/proc (see
// ProcessReader). A process that is gone part-way is left out, as if it had exited
// before the call; any other failure to read one (no descriptor left) fails the table. Made for one
// request: the boot time and clock tick are read once, on first need.
class ProcessTable {
public:
    explicit ProcessTable(const std::string& root);

    bool isOpen() const { return proc_.isOpen(); }
    // Why <root>/proc could not be opened.
    int openError() const { return openError_; }

    // The number of process directories: what a size probe counts. Null (errno set)
    // when /proc cannot be listed.
    std::optional<size_t> count() const;

    // Every process, ascending by pid, as 492-byte records. Large tables are read by a
    // few threads, each taking a run of pids. Null (errno set) when the boot time or a
    // process cannot be read.
    std::optional<std::vector<unsigned char>> records();

    // One process; null with errno ESRCH when it does not exist (a thread that is not a
    // process's main thread included) or is gone, other errno when /proc fails.
    std::optional<KinfoProc> process(int32_t pid);
    std::optional<ProcTaskInfo> taskInfo(int32_t pid);
    // p_starttime.tv_sec of the process.
    std::optional<int32_t> startSeconds(int32_t pid);

private:
    // Encodes the processes among pids that still exist into out; returns how many.
    // Sets error and stops at a failure other than a process gone.
    size_t encodeRecords(const int32_t* pids, size_t count, unsigned char* out, int& error) const;
    bool readClock();

    ProcDirectory proc_;
    int openError_ = 0;
    ProcessReader reader_;
    std::optional<ProcessClock> clock_;
    std::string root_;
};

} // namespace darwin
