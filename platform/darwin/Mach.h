#pragma once

#include "platform/darwin/RecordLayout.h"

#include <bit>
#include <cstddef>
#include <cstdint>

// The device's Mach host interface for virtual-memory statistics: the types and return
// codes of a 32-bit process, and struct vm_statistics (host_statistics, HOST_VM_INFO) and
// struct vm_statistics64 (host_statistics64, HOST_VM_INFO64) as arrays of natural_t words,
// the way the kernel copies them out. Every reader and writer goes through their
// layouts.
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

// Page counts, then event counters since boot.
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

// host_statistics hands its records out as arrays of natural_t words in the caller's own
// byte order; a field is placed by its word index.
template <auto Member, size_t Word>
using WordField = Field<Member, Word * sizeof(natural_t), Integer<natural_t, std::endian::native>>;
template <auto Member, size_t Word>
using WordPairField = Field<Member, Word * sizeof(natural_t), WordPair<std::endian::native>>;

// struct vm_statistics (HOST_VM_INFO): 15 words.
namespace vm_statistics {
using Layout = RecordLayout<VmStatistics, HOST_VM_INFO_COUNT * sizeof(natural_t),
                            WordField<&VmStatistics::freeCount, 0>,          // free_count
                            WordField<&VmStatistics::activeCount, 1>,        // active_count
                            WordField<&VmStatistics::inactiveCount, 2>,      // inactive_count
                            WordField<&VmStatistics::wireCount, 3>,          // wire_count
                            WordField<&VmStatistics::zeroFillCount, 4>,      // zero_fill_count
                            WordField<&VmStatistics::reactivations, 5>,      // reactivations
                            WordField<&VmStatistics::pageins, 6>,            // pageins
                            WordField<&VmStatistics::pageouts, 7>,           // pageouts
                            WordField<&VmStatistics::faults, 8>,             // faults
                            WordField<&VmStatistics::cowFaults, 9>,          // cow_faults
                            WordField<&VmStatistics::lookups, 10>,           // lookups
                            WordField<&VmStatistics::hits, 11>,              // hits
                            WordField<&VmStatistics::purgeableCount, 12>,    // revision 1 from here
                            WordField<&VmStatistics::purges, 13>,            // purges
                            WordField<&VmStatistics::speculativeCount, 14>>; // revision 2
} // namespace vm_statistics

// struct vm_statistics64 (HOST_VM_INFO64) as xnu declares it (osfmk/mach/vm_statistics.h,
// the first form, 24 words): four natural_t page counts, nine uint64_t event counters,
// two natural_t page counts. A 32-bit process aligns uint64_t to 4 bytes, but the first
// one already sits at byte 16, so every field lies where 8-byte alignment would put it
// too and the record has no padding. A uint64_t occupies two words, the low word first
// (the device is little-endian). Later kernels append further counters (compressor,
// swap); the device's kernels stop at speculative_count.
namespace vm_statistics64 {
using Layout = RecordLayout<VmStatistics64, HOST_VM_INFO64_COUNT * sizeof(natural_t),
                            WordField<&VmStatistics64::freeCount, 0>,          // free_count
                            WordField<&VmStatistics64::activeCount, 1>,        // active_count
                            WordField<&VmStatistics64::inactiveCount, 2>,      // inactive_count
                            WordField<&VmStatistics64::wireCount, 3>,          // wire_count
                            WordPairField<&VmStatistics64::zeroFillCount, 4>,  // zero_fill_count
                            WordPairField<&VmStatistics64::reactivations, 6>,  // reactivations
                            WordPairField<&VmStatistics64::pageins, 8>,        // pageins
                            WordPairField<&VmStatistics64::pageouts, 10>,      // pageouts
                            WordPairField<&VmStatistics64::faults, 12>,        // faults
                            WordPairField<&VmStatistics64::cowFaults, 14>,     // cow_faults
                            WordPairField<&VmStatistics64::lookups, 16>,       // lookups
                            WordPairField<&VmStatistics64::hits, 18>,          // hits
                            WordPairField<&VmStatistics64::purges, 20>,        // purges
                            WordField<&VmStatistics64::purgeableCount, 22>,    // purgeable_count
                            WordField<&VmStatistics64::speculativeCount, 23>>; // speculative_count
} // namespace vm_statistics64

// The 32-bit record the kernel derives from its 64-bit counters: each counter cut to its
// low 32 bits (xnu's VM_STATISTICS_TRUNCATE_TO_32_BIT), so a counter wraps past 2^32.
VmStatistics truncatedVmStatistics(const VmStatistics64& statistics);

// Answers host_page_size with pageSize as the kernel does: KERN_INVALID_ARGUMENT for a
// port other than the host port (or a null size), nothing written.
kern_return_t replyPageSize(mach_port_t host, vm_size_t* size, vm_size_t pageSize);

} // namespace darwin
