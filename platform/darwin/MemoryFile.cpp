#include "platform/darwin/MemoryFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace darwin {

namespace {

struct MemoryStream {
    std::vector<unsigned char> bytes;
    size_t position = 0;
};

ssize_t readStream(void* cookie, char* buffer, size_t size) {
    auto* stream = static_cast<MemoryStream*>(cookie);
    const size_t available =
        stream->position < stream->bytes.size() ? stream->bytes.size() - stream->position : 0;
    const size_t count = std::min(size, available);
    std::memcpy(buffer, stream->bytes.data() + stream->position, count);
    stream->position += count;
    return static_cast<ssize_t>(count);
}

int seekStream(void* cookie, off64_t* offset, int whence) {
    auto* stream = static_cast<MemoryStream*>(cookie);
    off64_t base = 0;
    switch (whence) {
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = static_cast<off64_t>(stream->position);
        break;
    case SEEK_END:
        base = static_cast<off64_t>(stream->bytes.size());
        break;
    default:
        errno = EINVAL;
        return -1;
    }
    const off64_t target = base + *offset;
    if (target < 0) {
        errno = EINVAL;
        return -1;
    }
    stream->position = static_cast<size_t>(target);
    *offset = target;
    return 0;
}

int closeStream(void* cookie) {
    delete static_cast<MemoryStream*>(cookie);
    return 0;
}

} // namespace

FILE* openMemoryFile(std::vector<unsigned char> bytes) {
    auto stream = std::make_unique<MemoryStream>();
    stream->bytes = std::move(bytes);
    cookie_io_functions_t functions{};
    functions.read = readStream;
    functions.seek = seekStream;
    functions.close = closeStream;
    FILE* file = ::fopencookie(stream.get(), "r", functions);
    if (file != nullptr) {
        stream.release(); // now owned by the stream, freed by closeStream
    }
    return file;
}

} // namespace darwin
