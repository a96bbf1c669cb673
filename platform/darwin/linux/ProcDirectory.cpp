#include "platform/darwin/linux/ProcDirectory.h"

#include "platform/darwin/linux/TextFields.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace darwin {

namespace {

constexpr size_t kFirstReadSize = 4096;

int openRetrying(int directory, const char* name, int flags) {
    int fd;
    do {
        fd = ::openat(directory, name, flags | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

void closeKeepingErrno(int fd) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
}

// A read that does not fill the buffer has reached the end: /proc generates a file whole
// on the first read, and regular files return short reads only at their end. This saves
// the extra read of an empty end on every file.
bool readToEnd(int fd, std::string& buffer) {
    buffer.resize(std::max(buffer.capacity(), kFirstReadSize));
    size_t used = 0;
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            buffer.clear();
            return false;
        }
        used += static_cast<size_t>(count);
        if (used < buffer.size()) {
            buffer.resize(used);
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool parsePid(const char* name, int32_t& pid) {
    const std::optional<int32_t> number = parseNumber<int32_t>(name);
    pid = number.value_or(-1);
    return pid >= 0;
}

} // namespace

ProcDirectory ProcDirectory::open(const std::string& path) {
    return ProcDirectory(openRetrying(AT_FDCWD, path.c_str(), O_RDONLY | O_DIRECTORY));
}

ProcDirectory ProcDirectory::openSubdirectory(const char* name) const {
    if (!isOpen()) {
        errno = EBADF;
        return ProcDirectory(-1);
    }
    return ProcDirectory(openRetrying(fd_, name, O_RDONLY | O_DIRECTORY));
}

ProcDirectory::ProcDirectory(ProcDirectory&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

ProcDirectory& ProcDirectory::operator=(ProcDirectory&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            closeKeepingErrno(fd_);
        }
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

ProcDirectory::~ProcDirectory() {
    if (fd_ >= 0) {
        closeKeepingErrno(fd_);
    }
}

bool ProcDirectory::readFile(const char* name, std::string& buffer) const {
    if (!isOpen()) {
        errno = EBADF;
        return false;
    }
    const int fd = openRetrying(fd_, name, O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    const bool read = readToEnd(fd, buffer);
    closeKeepingErrno(fd);
    if (read && buffer.empty()) {
        errno = ESRCH;
        return false;
    }
    return read;
}

std::optional<std::vector<int32_t>> ProcDirectory::pids() const {
    std::vector<int32_t> pids;
    if (!isOpen()) {
        errno = EBADF;
        return std::nullopt;
    }
    const int listing = openRetrying(fd_, ".", O_RDONLY | O_DIRECTORY);
    DIR* directory = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (directory == nullptr) {
        if (listing >= 0) {
            closeKeepingErrno(listing);
        }
        return std::nullopt;
    }
    errno = 0; // readdir ends the listing and fails alike, except for errno
    while (const dirent* entry = ::readdir(directory)) {
        int32_t pid;
        if (parsePid(entry->d_name, pid)) {
            pids.push_back(pid);
        }
    }
    const int listingError = errno;
    ::closedir(directory);
    if (listingError != 0) {
        errno = listingError;
        return std::nullopt;
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

} // namespace darwin
