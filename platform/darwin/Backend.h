#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdio>
#include <ctime>

namespace darwin {

// The source of everything the device's kernel and C library answer. Every operation
// follows the device's conventions: failures return -1 (or null) with errno set.
// Operations added for later needs get default bodies that fail with ENOSYS, so that
// existing backends keep compiling.
class Backend {
public:
    virtual ~Backend();

    virtual int sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp,
                       const void* newp, size_t newlen) = 0;
    // Default: no node of that name (ENOENT).
    virtual int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, const void* newp,
                             size_t newlen);
    virtual std::time_t time() = 0;
    virtual FILE* fopen(const char* path, const char* mode) = 0;
    virtual int stat(const char* path, struct ::stat* st) = 0;

protected:
    // The device's files are served for reading only: "r" or "rb", never "r+".
    static bool opensForReadingOnly(const char* mode);

    Backend() = default;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;
};

} // namespace darwin
