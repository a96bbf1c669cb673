#pragma once

#include <cstddef>

namespace darwin {

// Where the messages of a routing-socket answer go: straight into the caller's buffer as
// far as it has room, or nowhere for a size probe; the bytes needed are counted either
// way. Written in place, a table of 100 000 routes is never built a second time.
class MessageSink {
public:
    MessageSink(unsigned char* buffer, size_t room) : buffer_(buffer), room_(room) {}

    // Where to write the next message, `size` bytes, zeroed; null when it does not fit
    // (or there is no buffer). Once one message did not fit, no later one is written:
    // the buffer holds whole messages only.
    unsigned char* claim(size_t size);
    // Starts the answer again, for a dump read again.
    void restart();

    size_t needed() const { return needed_; }
    size_t written() const { return written_; }

private:
    unsigned char* buffer_;
    size_t room_;
    size_t needed_ = 0;
    size_t written_ = 0;
    bool full_ = false;
};

} // namespace darwin
