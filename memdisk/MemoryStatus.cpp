#include "memdisk/MemoryStatus.h"

#include "common/LogCategories.h"
#include "platform/darwin/Darwin.h"

#include <array>
#include <mutex>

namespace {

constexpr darwin::vm_size_t kFallbackPageSize = 4096;

// The 32-bit record in the shape of the 64-bit one: the same counts, zero-extended.
darwin::VmStatistics64 widened(const darwin::VmStatistics& narrow) {
    darwin::VmStatistics64 wide;
    wide.freeCount = narrow.freeCount;
    wide.activeCount = narrow.activeCount;
    wide.inactiveCount = narrow.inactiveCount;
    wide.wireCount = narrow.wireCount;
    wide.zeroFillCount = narrow.zeroFillCount;
    wide.reactivations = narrow.reactivations;
    wide.pageins = narrow.pageins;
    wide.pageouts = narrow.pageouts;
    wide.faults = narrow.faults;
    wide.cowFaults = narrow.cowFaults;
    wide.lookups = narrow.lookups;
    wide.hits = narrow.hits;
    wide.purges = narrow.purges;
    wide.purgeableCount = narrow.purgeableCount;
    wide.speculativeCount = narrow.speculativeCount;
    return wide;
}

} // namespace

darwin::mach_port_t MemoryStatus::myHost = darwin::MACH_PORT_NULL;
darwin::vm_size_t MemoryStatus::pageSize = kFallbackPageSize;

void MemoryStatus::initialize() {
    myHost = darwin::mach_host_self();
    if (darwin::host_page_size(darwin::mach_host_self(), &pageSize) != darwin::KERN_SUCCESS) {
        qCWarning(lcMemDisk, "memory: host_page_size failed; counting %u-byte pages",
                  static_cast<unsigned>(kFallbackPageSize));
        pageSize = kFallbackPageSize;
    }
}

MemoryStatus::MemoryStatus() {
    static std::once_flag initialized;
    std::call_once(initialized, initialize);
    pagesize_ = pageSize;
    snapshot();
}

MemoryStatus* MemoryStatus::sharedInstance() {
    static MemoryStatus* instance = new MemoryStatus();
    return instance;
}

void MemoryStatus::snapshot() {
    // The 64-bit counters do not wrap; kernels without them answer the 32-bit call.
    std::array<int32_t, darwin::HOST_VM_INFO64_COUNT> info{};
    darwin::natural_t count = darwin::HOST_VM_INFO64_COUNT;
    if (darwin::host_statistics64(myHost, darwin::HOST_VM_INFO64, info.data(), &count) ==
        darwin::KERN_SUCCESS) {
        take(darwin::vm_statistics64::Layout::decode(info.data()));
        return;
    }
    info.fill(0);
    count = darwin::HOST_VM_INFO_COUNT;
    if (darwin::host_statistics(myHost, darwin::HOST_VM_INFO, info.data(), &count) ==
        darwin::KERN_SUCCESS) {
        take(widened(darwin::vm_statistics::Layout::decode(info.data())));
        return;
    }
    qCWarning(lcMemDisk, "memory: host_statistics64 and host_statistics failed");
    take(darwin::VmStatistics64{});
}

void MemoryStatus::take(const darwin::VmStatistics64& statistics) {
    free_ = statistics.freeCount;
    active_ = statistics.activeCount;
    inactive_ = statistics.inactiveCount;
    wired_ = statistics.wireCount;
    faults_ = statistics.faults;
    cow_faults_ = statistics.cowFaults;
    zero_filled_ = statistics.zeroFillCount;
    reactivated_ = statistics.reactivations;
    pageins_ = statistics.pageins;
    pageouts_ = statistics.pageouts;
    hits_ = statistics.hits;
    lookups_ = statistics.lookups;
    hit_rate_ = lookups_ == 0 ? 0
                              : static_cast<uint32_t>(static_cast<double>(hits_) * 100.0 /
                                                      static_cast<double>(lookups_));
}
