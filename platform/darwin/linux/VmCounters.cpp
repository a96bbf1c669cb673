#include "platform/darwin/linux/VmCounters.h"

#include "platform/darwin/linux/TextFields.h"

#include <algorithm>
#include <initializer_list>
#include <limits>

namespace darwin {

namespace {

uint64_t counter(const KeyedCounters& counters, std::string_view name) {
    const auto found = counters.find(name);
    return found != counters.end() ? found->second : 0;
}

uint64_t sum(const KeyedCounters& counters, std::initializer_list<std::string_view> names) {
    uint64_t total = 0;
    for (const std::string_view name : names) {
        total += counter(counters, name);
    }
    return total;
}

// Page counts are natural_t on the device too; a host beyond 2^32 pages saturates.
natural_t pageCount(uint64_t pages) {
    return static_cast<natural_t>(std::min<uint64_t>(pages, std::numeric_limits<natural_t>::max()));
}

} // namespace

KeyedCounters parseKeyedCounters(std::string_view text) {
    KeyedCounters counters;
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        std::string_view name = nextField(line);
        if (!name.empty() && name.back() == ':') {
            name.remove_suffix(1);
        }
        const std::optional<uint64_t> value = parseNumber<uint64_t>(nextField(line));
        if (!name.empty() && value) {
            counters.emplace(name, *value);
        }
    }
    return counters;
}

std::optional<VmStatistics64> linuxVmStatistics(const KeyedCounters& meminfo,
                                                const KeyedCounters& vmstat, uint64_t pageSize) {
    if (!meminfo.contains("MemFree") || !meminfo.contains("Active") ||
        !meminfo.contains("Inactive") || pageSize < 1024) {
        return std::nullopt;
    }
    const uint64_t kibPerPage = pageSize / 1024;
    const auto pages = [&](uint64_t kib) { return pageCount(kib / kibPerPage); };
    const uint64_t faults = counter(vmstat, "pgfault");
    const uint64_t majorFaults = std::min(counter(vmstat, "pgmajfault"), faults);

    VmStatistics64 statistics;
    statistics.freeCount = pages(counter(meminfo, "MemFree"));
    statistics.activeCount = pages(counter(meminfo, "Active"));
    statistics.inactiveCount = pages(counter(meminfo, "Inactive"));
    statistics.wireCount = pages(sum(meminfo, {"SUnreclaim", "KernelStack", "PageTables",
                                               "SecPageTables", "Percpu", "Unevictable"}));
    statistics.reactivations = counter(vmstat, "pgactivate");
    statistics.pageins = counter(vmstat, "pgpgin") / kibPerPage;
    statistics.pageouts = counter(vmstat, "pgpgout") / kibPerPage;
    statistics.faults = faults;
    statistics.lookups = faults;
    statistics.hits = faults - majorFaults;
    statistics.purges = counter(vmstat, "pglazyfreed");
    return statistics;
}

} // namespace darwin
