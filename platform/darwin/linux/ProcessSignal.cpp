#include "platform/darwin/linux/ProcessSignal.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace darwin {

namespace {

int openPidFd(int32_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0u));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

int sendThroughPidFd(int pidfd, int sig) {
#ifdef SYS_pidfd_send_signal
    return static_cast<int>(::syscall(SYS_pidfd_send_signal, pidfd, sig, nullptr, 0u));
#else
    (void)pidfd;
    (void)sig;
    errno = ENOSYS;
    return -1;
#endif
}

bool startedAt(int32_t pid, int32_t startSeconds, const StartTimeOf& startOf) {
    const std::optional<int32_t> start = startOf(pid);
    if (!start || *start != startSeconds) {
        errno = ESRCH;
        return false;
    }
    return true;
}

int checkThenKill(int32_t pid, int32_t startSeconds, int sig, const StartTimeOf& startOf) {
    if (!startedAt(pid, startSeconds, startOf)) {
        return -1;
    }
    return ::kill(pid, sig);
}

} // namespace

int signalProcessStartedAt(int32_t pid, int32_t startSeconds, int sig, const StartTimeOf& startOf) {
    if (pid <= 0) {
        errno = ESRCH; // process groups and "everyone" are not one process
        return -1;
    }
    const int pidfd = openPidFd(pid);
    if (pidfd < 0) {
        if (errno == ENOSYS) {
            return checkThenKill(pid, startSeconds, sig, startOf);
        }
        if (errno == EINVAL) {
            errno = ESRCH; // a thread id, not a process
        }
        return -1;
    }
    int result = -1;
    if (startedAt(pid, startSeconds, startOf)) {
        result = sendThroughPidFd(pidfd, sig);
    }
    const int saved = errno;
    ::close(pidfd);
    errno = saved;
    return result;
}

} // namespace darwin
