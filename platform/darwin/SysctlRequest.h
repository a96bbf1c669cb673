#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace darwin {

// The arguments of one sysctl call and the kernel's rules for answering it, shared by
// every backend so that all of them probe, refuse and copy alike:
// - a name shorter than 2 or longer than CTL_MAXNAME components: EINVAL;
// - a new value offered to a read-only node: EPERM, nothing copied;
// - no old buffer: *oldlenp receives the size needed, success;
// - an old buffer smaller than the value: ENOMEM, nothing copied, *oldlenp untouched;
// - otherwise the value is copied and *oldlenp receives its size.
// Tables of records (the process table) are copied partly instead; see replyTable.
// Failures return -1 with errno set, as the system call does.
class SysctlRequest {
public:
    SysctlRequest(const int* name, unsigned namelen, void* oldp, size_t* oldlenp, const void* newp,
                  size_t newlen);

    bool nameIsValid() const;
    std::vector<int> mib() const;
    bool offersNewValue() const { return newp_ != nullptr; }
    bool isSizeProbe() const { return oldp_ == nullptr; }

    // Answers with the value of a read-only node. probeSize is what a size probe
    // reports; nodes whose value grows between calls report some slack beyond it.
    int reply(const void* value, size_t size, size_t probeSize) const;
    int reply(const std::vector<unsigned char>& value) const;
    // Answers with a 64-bit node (sizes and frequencies): a probe reports 8 bytes and a
    // buffer of 8 or more receives all of them, little-endian; a buffer of exactly 4, as
    // callers written for 32-bit values offer, receives the value clamped to INT32_MAX
    // (never wrapped to a negative one); any other room fails with ENOMEM.
    int replyInteger64(int64_t value) const;
    // Answers like reply, with the value written straight into the caller's buffer by
    // write(unsigned char*) once that buffer is known to hold size bytes: for values too
    // large to build once and copy again.
    template <class Write> int replyWritten(size_t size, size_t probeSize, Write&& write) const;
    // Answers with a table of records the way the kernel's process table does: a probe
    // reports probeSize; a buffer too small for the whole table receives the whole
    // records that fit, *oldlenp their size, and the call fails with ENOMEM.
    int replyTable(const void* table, size_t size, size_t recordSize, size_t probeSize) const;
    // For tables written straight into the caller's buffer, never built whole elsewhere:
    // the buffer (null for a size probe) and its room. replyWrittenTable then finishes the
    // answer as replyTable does: `size` bytes needed, of which the first `written` (whole
    // records) are in the buffer.
    unsigned char* oldBuffer() const { return static_cast<unsigned char*>(oldp_); }
    size_t oldRoom() const { return oldlenp_ != nullptr ? *oldlenp_ : 0; }
    int replyWrittenTable(size_t size, size_t written, size_t probeSize) const;

    static int fail(int error);

private:
    const int* name_;
    unsigned namelen_;
    void* oldp_;
    size_t* oldlenp_;
    const void* newp_;
};

template <class Write>
int SysctlRequest::replyWritten(size_t size, size_t probeSize, Write&& write) const {
    if (offersNewValue()) {
        return fail(EPERM);
    }
    if (oldp_ == nullptr) {
        if (oldlenp_ != nullptr) {
            *oldlenp_ = probeSize;
        }
        return 0;
    }
    const size_t room = oldlenp_ != nullptr ? *oldlenp_ : 0;
    if (room < size) {
        return fail(ENOMEM);
    }
    write(static_cast<unsigned char*>(oldp_));
    if (oldlenp_ != nullptr) {
        *oldlenp_ = size;
    }
    return 0;
}

} // namespace darwin
