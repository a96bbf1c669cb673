#include "platform/darwin/Mach.h"

namespace darwin {

static_assert(vm_statistics::kSpeculativeCount + 1 == vm_statistics::kWords);
static_assert(vm_statistics::kWords == HOST_VM_INFO_COUNT);
static_assert(vm_statistics64::kSpeculativeCount + 1 == vm_statistics64::kWords);
static_assert(vm_statistics64::kWords == HOST_VM_INFO64_COUNT);
static_assert(vm_statistics64::kWords * 4 == 96, "the first form of struct vm_statistics64");

namespace {

void writeWide(natural_t* words, size_t index, uint64_t value) {
    words[index] = static_cast<natural_t>(value);
    words[index + 1] = static_cast<natural_t>(value >> 32);
}

uint64_t readWide(const natural_t* words, size_t index) {
    return words[index] | static_cast<uint64_t>(words[index + 1]) << 32;
}

} // namespace

void encodeVmStatistics(const VmStatistics& statistics, natural_t* words) {
    using namespace vm_statistics;
    words[kFreeCount] = statistics.freeCount;
    words[kActiveCount] = statistics.activeCount;
    words[kInactiveCount] = statistics.inactiveCount;
    words[kWireCount] = statistics.wireCount;
    words[kZeroFillCount] = statistics.zeroFillCount;
    words[kReactivations] = statistics.reactivations;
    words[kPageins] = statistics.pageins;
    words[kPageouts] = statistics.pageouts;
    words[kFaults] = statistics.faults;
    words[kCowFaults] = statistics.cowFaults;
    words[kLookups] = statistics.lookups;
    words[kHits] = statistics.hits;
    words[kPurgeableCount] = statistics.purgeableCount;
    words[kPurges] = statistics.purges;
    words[kSpeculativeCount] = statistics.speculativeCount;
}

VmStatistics decodeVmStatistics(const natural_t* words) {
    using namespace vm_statistics;
    VmStatistics statistics;
    statistics.freeCount = words[kFreeCount];
    statistics.activeCount = words[kActiveCount];
    statistics.inactiveCount = words[kInactiveCount];
    statistics.wireCount = words[kWireCount];
    statistics.zeroFillCount = words[kZeroFillCount];
    statistics.reactivations = words[kReactivations];
    statistics.pageins = words[kPageins];
    statistics.pageouts = words[kPageouts];
    statistics.faults = words[kFaults];
    statistics.cowFaults = words[kCowFaults];
    statistics.lookups = words[kLookups];
    statistics.hits = words[kHits];
    statistics.purgeableCount = words[kPurgeableCount];
    statistics.purges = words[kPurges];
    statistics.speculativeCount = words[kSpeculativeCount];
    return statistics;
}

void encodeVmStatistics64(const VmStatistics64& statistics, natural_t* words) {
    using namespace vm_statistics64;
    words[kFreeCount] = statistics.freeCount;
    words[kActiveCount] = statistics.activeCount;
    words[kInactiveCount] = statistics.inactiveCount;
    words[kWireCount] = statistics.wireCount;
    writeWide(words, kZeroFillCount, statistics.zeroFillCount);
    writeWide(words, kReactivations, statistics.reactivations);
    writeWide(words, kPageins, statistics.pageins);
    writeWide(words, kPageouts, statistics.pageouts);
    writeWide(words, kFaults, statistics.faults);
    writeWide(words, kCowFaults, statistics.cowFaults);
    writeWide(words, kLookups, statistics.lookups);
    writeWide(words, kHits, statistics.hits);
    writeWide(words, kPurges, statistics.purges);
    words[kPurgeableCount] = statistics.purgeableCount;
    words[kSpeculativeCount] = statistics.speculativeCount;
}

VmStatistics64 decodeVmStatistics64(const natural_t* words) {
    using namespace vm_statistics64;
    VmStatistics64 statistics;
    statistics.freeCount = words[kFreeCount];
    statistics.activeCount = words[kActiveCount];
    statistics.inactiveCount = words[kInactiveCount];
    statistics.wireCount = words[kWireCount];
    statistics.zeroFillCount = readWide(words, kZeroFillCount);
    statistics.reactivations = readWide(words, kReactivations);
    statistics.pageins = readWide(words, kPageins);
    statistics.pageouts = readWide(words, kPageouts);
    statistics.faults = readWide(words, kFaults);
    statistics.cowFaults = readWide(words, kCowFaults);
    statistics.lookups = readWide(words, kLookups);
    statistics.hits = readWide(words, kHits);
    statistics.purges = readWide(words, kPurges);
    statistics.purgeableCount = words[kPurgeableCount];
    statistics.speculativeCount = words[kSpeculativeCount];
    return statistics;
}

VmStatistics truncatedVmStatistics(const VmStatistics64& wide) {
    const auto low = [](uint64_t counter) { return static_cast<natural_t>(counter); };
    VmStatistics statistics;
    statistics.freeCount = wide.freeCount;
    statistics.activeCount = wide.activeCount;
    statistics.inactiveCount = wide.inactiveCount;
    statistics.wireCount = wide.wireCount;
    statistics.zeroFillCount = low(wide.zeroFillCount);
    statistics.reactivations = low(wide.reactivations);
    statistics.pageins = low(wide.pageins);
    statistics.pageouts = low(wide.pageouts);
    statistics.faults = low(wide.faults);
    statistics.cowFaults = low(wide.cowFaults);
    statistics.lookups = low(wide.lookups);
    statistics.hits = low(wide.hits);
    statistics.purgeableCount = wide.purgeableCount;
    statistics.purges = low(wide.purges);
    statistics.speculativeCount = wide.speculativeCount;
    return statistics;
}

kern_return_t replyPageSize(mach_port_t host, vm_size_t* size, vm_size_t pageSize) {
    if (host != kHostPort || size == nullptr) {
        return KERN_INVALID_ARGUMENT;
    }
    *size = pageSize;
    return KERN_SUCCESS;
}

} // namespace darwin
