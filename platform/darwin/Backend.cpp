#include "platform/darwin/Backend.h"

#include <cerrno>
#include <cstring>

namespace darwin {

Backend::~Backend() = default;

int Backend::sysctlbyname(const char* /*name*/, void* /*oldp*/, size_t* /*oldlenp*/,
                          const void* /*newp*/, size_t /*newlen*/) {
    errno = ENOENT;
    return -1;
}

bool Backend::opensForReadingOnly(const char* mode) {
    return mode != nullptr && mode[0] == 'r' && std::strchr(mode, '+') == nullptr;
}

} // namespace darwin
