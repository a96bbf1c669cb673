#include "update/ExclusiveFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int ExclusiveFile::create(const QByteArray& path) {
    if (::unlink(path.constData()) != 0 && errno != ENOENT) {
        return -1;
    }
    int fd = -1;
    do {
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool ExclusiveFile::syncAndClose(int fd) {
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced) {
        errno = syncError;
    }
    return synced && closed;
}
