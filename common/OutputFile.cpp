#include "common/OutputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isDirectory(const QByteArray& path) {
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// ".<name>.<pid>.part" beside the file: hidden, and apart from what other runs write.
QByteArray temporaryPathFor(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = path.left(slash + 1);
    const QByteArray name = path.mid(slash + 1);
    return folder + '.' + name + '.' + QByteArray::number(::getpid()) + ".part";
}

bool writeAndFlush(int fd, QByteArrayView contents) {
    return OutputFile::writeAll(fd, contents) && ::fsync(fd) == 0;
}

} // namespace

bool OutputFile::writeAll(int fd, QByteArrayView bytes) {
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return false;
        }
        if (written == 0) {
            errno = EIO; // no progress and no error: do not spin
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

bool OutputFile::makeDirectories(const QByteArray& path) {
    if (path.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    for (qsizetype end = path.indexOf('/', 1); end != -1; end = path.indexOf('/', end + 1)) {
        const QByteArray parent = path.left(end);
        if (::mkdir(parent.constData(), 0777) != 0 && errno != EEXIST) {
            return false;
        }
    }
    if (::mkdir(path.constData(), 0777) == 0) {
        return true;
    }
    const int error = errno;
    if (error != EEXIST) {
        return false;
    }
    if (isDirectory(path)) {
        return true;
    }
    errno = ENOTDIR;
    return false;
}

bool OutputFile::replaceContents(const QByteArray& path, QByteArrayView contents) {
    const QByteArray temporary = temporaryPathFor(path);
    const int fd =
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    bool done = writeAndFlush(fd, contents);
    int error = errno;
    if (::close(fd) != 0 && done) {
        done = false;
        error = errno;
    }
    if (done && ::rename(temporary.constData(), path.constData()) == 0) {
        return true;
    }
    error = done ? errno : error;
    ::unlink(temporary.constData());
    errno = error;
    return false;
}
