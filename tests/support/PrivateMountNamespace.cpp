#include "support/PrivateMountNamespace.h"

#include <fcntl.h>
#include <net/if.h>
#include <poll.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool bringLoopbackUp() {
    const int control = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (control < 0) {
        return false;
    }
    ifreq request{};
    std::strcpy(request.ifr_name, "lo");
    bool up = ::ioctl(control, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    up = up && ::ioctl(control, SIOCSIFFLAGS, &request) == 0;
    ::close(control);
    return up;
}

// In the child: the kind as one letter, then the text. _exit, so that nothing of the
// test process (its temporary folders) is torn down here.
[[noreturn]] void runChild(const std::function<std::string()>& body, int namespaces, int out) {
    ::setpgid(0, 0);
    std::string reply;
    if (::unshare(namespaces) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ((namespaces & CLONE_NEWNET) != 0 && !bringLoopbackUp())) {
        reply = std::string("U") + std::strerror(errno);
    } else {
        reply = "R" + body();
    }
    for (size_t at = 0; at < reply.size();) {
        const ssize_t written = ::write(out, reply.data() + at, reply.size() - at);
        if (written <= 0) {
            break;
        }
        at += static_cast<size_t>(written);
    }
    ::_exit(0);
}

// What the child writes until it closes its end or the deadline passes; false then.
bool readUntil(int in, std::chrono::steady_clock::time_point deadline, std::string& text) {
    char buffer[4096];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{in, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) == 0) {
            return false;
        }
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0) {
            return true;
        }
        if (got > 0) {
            text.append(buffer, static_cast<size_t>(got));
        } else if (errno != EINTR) {
            return true;
        }
    }
}

} // namespace

PrivateMountNamespace::Outcome PrivateMountNamespace::run(const std::function<std::string()>& body,
                                                          std::chrono::seconds limit) {
    return runIn(CLONE_NEWNS, body, limit);
}

PrivateMountNamespace::Outcome
PrivateMountNamespace::runWithPrivateNetwork(const std::function<std::string()>& body,
                                             std::chrono::seconds limit) {
    return runIn(CLONE_NEWNS | CLONE_NEWNET, body, limit);
}

PrivateMountNamespace::Outcome
PrivateMountNamespace::runIn(int namespaces, const std::function<std::string()>& body,
                             std::chrono::seconds limit) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return {Outcome::Kind::Failed, std::string("pipe: ") + std::strerror(errno)};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        runChild(body, namespaces, ends[1]);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        return {Outcome::Kind::Failed, std::string("fork: ") + std::strerror(errno)};
    }
    ::setpgid(child, child);
    std::string text;
    const bool finished = readUntil(ends[0], std::chrono::steady_clock::now() + limit, text);
    ::close(ends[0]);
    // Whatever of the group is left goes, before the child is reaped and its group's
    // number can be taken by another.
    ::kill(-child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished) {
        return {Outcome::Kind::Failed,
                "still running after " + std::to_string(limit.count()) + " s; killed: " + text};
    }
    if (text.empty()) {
        return {Outcome::Kind::Failed, "the child died, status " + std::to_string(status)};
    }
    const Outcome::Kind kind = text[0] == 'R' ? Outcome::Kind::Ran : Outcome::Kind::Unavailable;
    return {kind, text.substr(1)};
}

bool PrivateMountNamespace::Outcome::skips() const {
    const char* ci = std::getenv("CI");
    return kind == Kind::Unavailable && (ci == nullptr || *ci == '\0');
}
