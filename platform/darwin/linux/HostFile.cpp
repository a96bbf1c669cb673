#include "platform/darwin/linux/HostFile.h"

#include "platform/darwin/Descriptor.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace darwin {

namespace {

bool readAll(int fd, std::string& out) {
    char chunk[8192];
    for (;;) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count > 0) {
            out.append(chunk, static_cast<size_t>(count));
        } else if (count == 0) {
            return true;
        } else if (errno != EINTR) {
            return false;
        }
    }
}

} // namespace

std::string pathUnderRoot(const std::string& root, std::string_view path) {
    std::string base = root;
    while (!base.empty() && base.back() == '/') {
        base.pop_back();
    }
    if (base.empty()) {
        return std::string(path);
    }
    if (path.empty() || path.front() != '/') {
        base += '/';
    }
    return base.append(path);
}

std::optional<std::string> readHostFile(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    const Descriptor file(fd);
    if (file.get() < 0) {
        return std::nullopt;
    }
    struct ::stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    std::string content;
    if (!readAll(file.get(), content)) {
        return std::nullopt;
    }
    return content;
}

std::vector<std::string> listHostDirectory(const std::string& path) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(path.c_str());
    if (directory == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(directory)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace darwin
