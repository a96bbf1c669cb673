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

bool ProcessReader::read(const ProcDirectory& proc, int32_t pid) {
    if (pid < 0) {
        errno = ESRCH;
        return false;
    }
    const ProcDirectory directory = proc.openSubdirectory(PidName(pid).text);
    if (!directory.isOpen() || !directory.readFile("stat", statText_) ||
        !directory.readFile("status", statusText_)) {
        return vanished();
    }
    const std::optional<LinuxProcessStat> stat = parseProcessStat(statText_);
    const std::optional<LinuxProcessStatus> status = parseProcessStatus(statusText_);
    if (!stat || !status || status->tgid != pid) {
        errno = ESRCH; // garbled, or a thread's directory rather than a process's
        return false;
    }
    stat_ = *stat;
    status_ = *status;
    return true;
}

} // namespace darwin
