#pragma once

#include "platform/darwin/linux/VmCounters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace darwin {

// The machine's hardware as the host describes it under root: the device tree or the
// firmware's DMI tables, /proc/meminfo, /proc/cpuinfo and the CPU directories of /sys.
// docs/PLATFORM-LINUX.md ("Hardware and kernel") gives each source and its reason.
// A value the host does not have is nothing, with errno set (ENOENT when no source
// holds it, EIO when one is garbled).
class HardwareValues {
public:
    explicit HardwareValues(std::string root);

    // The machine class: the first "compatible" entry of the device tree, else the DMI
    // system vendor and product name ("LENOVO 20XWCTO1WW").
    std::optional<std::string> machine() const;
    // The board: the device tree's "model", else the DMI board vendor and name.
    std::optional<std::string> model() const;
    // CPUs online now.
    std::optional<int32_t> onlineCpus() const;
    // MemTotal, and MemTotal less what the kernel keeps for itself, in bytes.
    std::optional<int64_t> memoryBytes() const;
    std::optional<int64_t> userMemoryBytes() const;
    // 1 when the processor has a floating-point unit, else 0.
    std::optional<int32_t> floatingPoint() const;
    // cpu0's highest frequency, else the "cpu MHz" /proc/cpuinfo reports, in Hz.
    std::optional<int64_t> cpuFrequency() const;
    // cpu0's cache line, and its level-1 instruction and data caches, in bytes.
    std::optional<int32_t> cacheLine() const;
    std::optional<int32_t> l1InstructionCache() const;
    std::optional<int32_t> l1DataCache() const;

    // The number of CPUs a /sys CPU list ("0-3,6") names.
    static std::optional<int32_t> countCpuList(std::string_view list);
    // A /sys cache size ("32K", "8M", "512") in bytes.
    static std::optional<int64_t> parseCacheSize(std::string_view size);

private:
    std::optional<std::string> file(std::string_view path) const;
    std::optional<std::string> firstLine(std::string_view path) const;
    std::optional<std::string> deviceTreeString(std::string_view property) const;
    std::optional<std::string> dmiPair(const char* vendor, const char* name) const;
    std::optional<int64_t> l1Cache(std::string_view type) const;
    std::optional<std::pair<uint64_t, KeyedCounters>> meminfo() const;

    std::string root_;
};

} // namespace darwin
