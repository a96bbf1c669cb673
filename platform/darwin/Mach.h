#pragma once

#include <cstddef>
#include <cstdint>

// The device's Mach host interface for virtual-memory statistics: the types and return
// codes of a 32-bit process, and struct vm_statistics (host_statistics, HOST_VM_INFO) and
// struct vm_statistics64 (host_statistics64, HOST_VM_INFO64) as arrays of natural_t words,
// the way the kernel copies them out. Every reader and writer goes through the word
// indexes below.
namespace darwin {

using kern_return_t = int;
using mach_port_t = uint32_t;
using natural_t = uint32_t;
using vm_size_t = uint32_t; // 32 bits in a 32-bit process

constexpr kern_return_t KERN_SUCCESS = 0;
constexpr kern_return_t KERN_INVALID_ARGUMENT = 4;
constexpr kern_return_t KERN_FAILURE = 5;
constexpr kern_return_t KERN_INVALID_HOST = 22;

constexpr mach_port_t MACH_PORT_NULL = 0;
// The name under which every backend hands out the host port (mach_host_self). The
// device's kernel chooses some such name per task; only its identity matters.
constexpr mach_port_t kHostPort = 0x103;

constexpr int HOST_VM_INFO = 2;
constexpr int HOST_VM_INFO_COUNT = 15; // = HOST_VM_INFO_REV2_COUNT
constexpr int HOST_VM_INFO_REV1_COUNT = 14;
constexpr int HOST_VM_INFO_REV0_COUNT = 12;
constexpr int HOST_VM_INFO64 = 4;
constexpr int HOST_VM_INFO64_COUNT = 24;

// struct vm_statistics: 15 natural_t words. Page counts, then event counters since boot.
namespace vm_statistics {
constexpr size_t kWords = 15;
constexpr size_t kFreeCount = 0;
constexpr size_t kActiveCount = 1;
constexpr size_t kInactiveCount = 2;
constexpr size_t kWireCount = 3;
constexpr size_t kZeroFillCount = 4;
constexpr size_t kReactivations = 5;
constexpr size_t kPageins = 6;
constexpr size_t kPageouts = 7;
constexpr size_t kFaults = 8;
constexpr size_t kCowFaults = 9;
constexpr size_t kLookups = 10;
constexpr size_t kHits = 11;
constexpr size_t kPurgeableCount = 12; // from here on: revision 1
constexpr size_t kPurges = 13;
constexpr size_t kSpeculativeCount = 14; // revision 2
} // namespace vm_statistics

// struct vm_statistics64 as xnu declares it (osfmk/mach/vm_statistics.h, the first form,
// 96 bytes): four natural_t page counts, nine uint64_t event counters, two natural_t page
// counts. A 32-bit process aligns uint64_t to 4 bytes, but the first one already sits at
// byte 16, so every field lies where 8-byte alignment would put it too and the record has
// no padding. A uint64_t occupies two words, the low word first (the device is
// little-endian). Later kernels append further counters (compressor, swap); the device's
// kernels stop at speculative_count.
namespace vm_statistics64 {
constexpr size_t kWords = 24;
constexpr size_t kFreeCount = 0;
constexpr size_t kActiveCount = 1;
constexpr size_t kInactiveCount = 2;
constexpr size_t kWireCount = 3;
constexpr size_t kZeroFillCount = 4; // uint64_t from here (two words each) …
constexpr size_t kReactivations = 6;
constexpr size_t kPageins = 8;
constexpr size_t kPageouts = 10;
constexpr size_t kFaults = 12;
constexpr size_t kCowFaults = 14;
constexpr size_t kLookups = 16;
constexpr size_t kHits = 18;
constexpr size_t kPurges = 20;           // … to here
constexpr size_t kPurgeableCount = 22;   // natural_t
constexpr size_t kSpeculativeCount = 23; // natural_t
} // namespace vm_statistics64

struct VmStatistics {
    natural_t freeCount = 0;     // pages
    natural_t activeCount = 0;   // pages
    natural_t inactiveCount = 0; // pages
    natural_t wireCount = 0;     // pages
    natural_t zeroFillCount = 0;
    natural_t reactivations = 0;
    natural_t pageins = 0;
    natural_t pageouts = 0;
    natural_t faults = 0;
    natural_t cowFaults = 0;
    natural_t lookups = 0; // object cache lookups
    natural_t hits = 0;    // object cache hits
    natural_t purgeableCount = 0;
    natural_t purges = 0;
    natural_t speculativeCount = 0;

    bool operator==(const VmStatistics&) const = default;
};

struct VmStatistics64 {
    natural_t freeCount = 0;
    natural_t activeCount = 0;
    natural_t inactiveCount = 0;
    natural_t wireCount = 0;
    uint64_t zeroFillCount = 0;
    uint64_t reactivations = 0;
    uint64_t pageins = 0;
    uint64_t pageouts = 0;
    uint64_t faults = 0;
    uint64_t cowFaults = 0;
    uint64_t lookups = 0;
    uint64_t hits = 0;
    uint64_t purges = 0;
    natural_t purgeableCount = 0;
    natural_t speculativeCount = 0;

    bool operator==(const VmStatistics64&) const = default;
};

// words15 holds vm_statistics::kWords words; words24 holds vm_statistics64::kWords.
void encodeVmStatistics(const VmStatistics& statistics, natural_t* words15);
VmStatistics decodeVmStatistics(const natural_t* words15);
void encodeVmStatistics64(const VmStatistics64& statistics, natural_t* words24);
VmStatistics64 decodeVmStatistics64(const natural_t* words24);

// The 32-bit record the kernel derives from its 64-bit counters: each counter cut to its
// low 32 bits (xnu's VM_STATISTICS_TRUNCATE_TO_32_BIT), so a counter wraps past 2^32.
VmStatistics truncatedVmStatistics(const VmStatistics64& statistics);

// Answers host_page_size with pageSize as the kernel does: KERN_INVALID_ARGUMENT for a
// port other than the host port (or a null size), nothing written.
kern_return_t replyPageSize(mach_port_t host, vm_size_t* size, vm_size_t pageSize);

} // namespace darwin
