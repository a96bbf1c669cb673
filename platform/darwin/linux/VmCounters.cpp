#include "platform/darwin/linux/VmCounters.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <limits>

namespace darwin {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view nextWord(std::string_view& line) {
    while (!line.empty() && isBlank(line.front())) {
        line.remove_prefix(1);
    }
    size_t end = 0;
    while (end < line.size() && !isBlank(line[end])) {
        ++end;
    }
    const std::string_view word = line.substr(0, end);
    line.remove_prefix(end);
    return word;
}

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
        const size_t lineEnd = text.find('\n');
        std::string_view line = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        std::string_view name = nextWord(line);
        if (!name.empty() && name.back() == ':') {
            name.remove_suffix(1);
        }
        const std::string_view number = nextWord(line);
        uint64_t value = 0;
        const char* end = number.data() + number.size();
        const auto [stop, error] = std::from_chars(number.data(), end, value);
        if (!name.empty() && !number.empty() && error == std::errc() && stop == end) {
            counters.emplace(name, value);
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
