#include "platform/darwin/linux/ProcessReader.h"

#include <cerrno>
#include <charconv>

namespace darwin {

namespace {

struct PidName {
    char text[16];
    explicit PidName(int32_t pid) {
        const auto [end, error] = std::to_chars(text, text + sizeof text - 1, pid);
        *end = '\0';
        (void)error;
    }
};

// A directory or file gone, or an empty read, all mean the process has exited.
bool vanished() {
    if (errno == ENOENT || errno == ESRCH) {
        errno = ESRCH;
    }
    return false;
}

} // namespace

bool ProcessReader::read(const ProcDirectory& proc, int32_t pid, Files files) {
    if (pid < 0) {
        errno = ESRCH;
        return false;
    }
    const ProcDirectory directory = proc.openSubdirectory(PidName(pid).text);
    if (!directory.isOpen() || !directory.readFile("stat", statText_) ||
        !directory.readFile("status", statusText_)) {
        return vanished();
    }
    const bool withMemory = files == Files::WithMemory;
    if (withMemory && !directory.readFile("statm", statmText_)) {
        return vanished();
    }
    const std::optional<LinuxProcessStat> stat = parseProcessStat(statText_);
    const std::optional<LinuxProcessStatus> status = parseProcessStatus(statusText_);
    const std::optional<int64_t> resident =
        withMemory ? parseResidentPages(statmText_) : std::optional<int64_t>(0);
    if (!stat || !status || !resident || status->tgid != pid) {
        errno = ESRCH; // garbled, or a thread's directory rather than a process's
        return false;
    }
    stat_ = *stat;
    status_ = *status;
    residentPages_ = *resident;
    return true;
}

} // namespace darwin
