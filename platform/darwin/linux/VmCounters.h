#pragma once

#include "platform/darwin/Mach.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace darwin {

// Counters by name from "name value [unit]" lines: /proc/meminfo ("MemFree:   123 kB"
// gives MemFree = 123, in kB) and /proc/vmstat ("pgfault 123"). Lines that do not parse
// are left out.
using KeyedCounters = std::map<std::string, uint64_t, std::less<>>;
KeyedCounters parseKeyedCounters(std::string_view text);

// The device's virtual-memory statistics from the host's counters, in pages of pageSize
// bytes (a multiple of 1024); docs/PLATFORM-LINUX.md gives every mapping and its reason.
// Null when meminfo lacks MemFree, Active or Inactive; other counters a kernel does not
// keep read as 0.
std::optional<VmStatistics64> linuxVmStatistics(const KeyedCounters& meminfo,
                                                const KeyedCounters& vmstat, uint64_t pageSize);

} // namespace darwin
