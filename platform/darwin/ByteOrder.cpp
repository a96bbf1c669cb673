#include "platform/darwin/ByteOrder.h"

#include <algorithm>

namespace darwin {

std::string readCString(const void* base, size_t offset, size_t maxLength) {
    const char* field = static_cast<const char*>(base) + offset;
    return std::string(field, ::strnlen(field, maxLength));
}

void writeCString(void* base, size_t offset, size_t fieldSize, std::string_view text) {
    char* field = static_cast<char*>(base) + offset;
    const size_t length = std::min(text.size(), fieldSize);
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, fieldSize - length);
}

} // namespace darwin
