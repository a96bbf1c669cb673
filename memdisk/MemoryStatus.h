#pragma once

#include "platform/darwin/Mach.h"

#include <cstdint>

// The Memory tab's model: one reading of the kernel's virtual-memory counters and the
// page size. Page counts are the kernel's 32-bit counts; the event counters since boot
// are 64 bits wide where the kernel keeps them so (host_statistics64), else its 32-bit
// counters. Everything is unsigned, as the kernel counts. One instance per process.
class MemoryStatus {
public:
    static MemoryStatus* sharedInstance();

    MemoryStatus(const MemoryStatus&) = delete;
    MemoryStatus& operator=(const MemoryStatus&) = delete;

    // Replaces every counter with a fresh reading; all zero when the kernel refuses.
    void snapshot();

    // Bytes per page.
    uint32_t pagesize() const { return pagesize_; }
    // Pages.
    uint32_t free() const { return free_; }
    uint32_t active() const { return active_; }
    uint32_t inactive() const { return inactive_; }
    uint32_t wired() const { return wired_; }
    // Events since boot.
    uint64_t faults() const { return faults_; }
    uint64_t cow_faults() const { return cow_faults_; }
    uint64_t zero_filled() const { return zero_filled_; }
    uint64_t reactivated() const { return reactivated_; }
    uint64_t pageins() const { return pageins_; }
    uint64_t pageouts() const { return pageouts_; }
    // Object cache hits and lookups, and hits as a whole percentage of lookups (cut off,
    // not rounded; 0 without lookups).
    uint64_t hits() const { return hits_; }
    uint64_t lookups() const { return lookups_; }
    uint32_t hit_rate() const { return hit_rate_; }

private:
    friend struct MemoryStatusTestAccess;
    MemoryStatus();

    // The class-wide state, read once per process: the host port and the page size
    // (4096 when the kernel does not tell).
    static void initialize();
    void take(const darwin::VmStatistics64& statistics);

    static darwin::mach_port_t myHost;
    static darwin::vm_size_t pageSize;

    uint32_t pagesize_ = 0;
    uint32_t free_ = 0;
    uint32_t active_ = 0;
    uint32_t inactive_ = 0;
    uint32_t wired_ = 0;
    uint64_t faults_ = 0;
    uint64_t cow_faults_ = 0;
    uint64_t zero_filled_ = 0;
    uint64_t reactivated_ = 0;
    uint64_t pageins_ = 0;
    uint64_t pageouts_ = 0;
    uint64_t hits_ = 0;
    uint64_t lookups_ = 0;
    uint32_t hit_rate_ = 0;
};
