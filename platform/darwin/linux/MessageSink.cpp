#include "platform/darwin/linux/MessageSink.h"

#include <cstring>

namespace darwin {

unsigned char* MessageSink::claim(size_t size) {
    needed_ += size;
    full_ = full_ || buffer_ == nullptr || size > room_ - written_;
    if (full_) {
        return nullptr;
    }
    unsigned char* at = buffer_ + written_;
    written_ += size;
    std::memset(at, 0, size);
    return at;
}

void MessageSink::restart() {
    needed_ = 0;
    written_ = 0;
    full_ = false;
}

} // namespace darwin
