#include "platform/darwin/Mach.h"

namespace darwin {

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
