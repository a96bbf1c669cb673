#pragma once

#include <cerrno>
#include <unistd.h>

namespace darwin {

// Owns a file descriptor: closes it on every path out, keeping the errno of the
// failure that led there. Linux releases a descriptor even when close reports an
// error, so it is never closed twice.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            const int saved = errno;
            ::close(fd_);
            errno = saved;
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace darwin
