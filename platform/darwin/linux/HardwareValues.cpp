#include "platform/darwin/linux/HardwareValues.h"

#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/TextFields.h"
#include "platform/darwin/linux/VmCounters.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

namespace darwin {

namespace {

constexpr std::string_view kCpu0 = "/sys/devices/system/cpu/cpu0";
constexpr std::string_view kDmi = "/sys/class/dmi/id/";

template <class T> std::optional<T> missingValue(int error) {
    errno = error;
    return std::nullopt;
}

std::string_view withoutBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The value of the first "key : value" line of /proc/cpuinfo with that key.
std::optional<std::string_view> cpuinfoField(std::string_view cpuinfo, std::string_view key) {
    while (!cpuinfo.empty()) {
        const std::string_view line = nextLine(cpuinfo);
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos && withoutBlanks(line.substr(0, colon)) == key) {
            return withoutBlanks(line.substr(colon + 1));
        }
    }
    return std::nullopt;
}

bool hasWord(std::string_view words, std::initializer_list<std::string_view> wanted) {
    for (std::string_view word; !(word = nextField(words)).empty();) {
        if (std::ranges::find(wanted, word) != wanted.end()) {
            return true;
        }
    }
    return false;
}

// RISC-V names its extensions by letter after the base ("rv64imafdc_zicsr"): F and D
// are the single- and double-precision units.
bool riscvHasFloatingPoint(std::string_view isa) {
    if (isa.size() < 4 || !isa.starts_with("rv")) {
        return false;
    }
    std::string_view letters = isa.substr(4);
    letters = letters.substr(0, letters.find('_'));
    return letters.find_first_of("fdg") != std::string_view::npos;
}

} // namespace

HardwareValues::HardwareValues(std::string root) : root_(std::move(root)) {}

std::optional<std::string> HardwareValues::file(std::string_view path) const {
    return readHostFile(pathUnderRoot(root_, path));
}

std::optional<std::string> HardwareValues::firstLine(std::string_view path) const {
    const std::optional<std::string> text = file(path);
    if (!text) {
        return std::nullopt;
    }
    std::string_view rest = *text;
    return std::string(withoutBlanks(nextLine(rest)));
}

// Device-tree strings end in NUL; a string list ("compatible") holds one after another.
std::optional<std::string> HardwareValues::deviceTreeString(std::string_view property) const {
    for (const std::string_view base : {"/proc/device-tree/", "/sys/firmware/devicetree/base/"}) {
        const std::optional<std::string> value = file(std::string(base) + std::string(property));
        if (value) {
            const std::string first(value->c_str());
            return first.empty() ? missingValue<std::string>(EIO) : std::optional(first);
        }
    }
    return missingValue<std::string>(ENOENT);
}

// Firmware leaves fields it does not fill empty or blank; those are left out.
std::optional<std::string> HardwareValues::dmiPair(const char* vendor, const char* name) const {
    std::string text;
    for (const char* field : {vendor, name}) {
        const std::optional<std::string> value = firstLine(std::string(kDmi) + field);
        if (value && !value->empty()) {
            text += (text.empty() ? "" : " ") + *value;
        }
    }
    return text.empty() ? missingValue<std::string>(ENOENT) : std::optional(text);
}

std::optional<std::string> HardwareValues::machine() const {
    if (std::optional<std::string> compatible = deviceTreeString("compatible")) {
        return compatible;
    }
    return dmiPair("sys_vendor", "product_name");
}

std::optional<std::string> HardwareValues::model() const {
    if (std::optional<std::string> model = deviceTreeString("model")) {
        return model;
    }
    if (std::optional<std::string> board = dmiPair("board_vendor", "board_name")) {
        return board;
    }
    return dmiPair("sys_vendor", "product_name");
}

std::optional<int32_t> HardwareValues::onlineCpus() const {
    const std::optional<std::string> list = firstLine("/sys/devices/system/cpu/online");
    if (!list) {
        return std::nullopt;
    }
    const std::optional<int32_t> count = countCpuList(*list);
    return count ? count : missingValue<int32_t>(EIO);
}

std::optional<int32_t> HardwareValues::countCpuList(std::string_view list) {
    int64_t count = 0;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view range = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        const size_t dash = range.find('-');
        const auto first = parseNumber<int32_t>(range.substr(0, dash));
        const auto last =
            dash == std::string_view::npos ? first : parseNumber<int32_t>(range.substr(dash + 1));
        if (!first || !last || *last < *first) {
            return std::nullopt;
        }
        count += int64_t{*last} - *first + 1;
    }
    if (count == 0 || count > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(count);
}

// MemTotal and the other counters of /proc/meminfo, in kB.
std::optional<std::pair<uint64_t, KeyedCounters>> HardwareValues::meminfo() const {
    const std::optional<std::string> text = file("/proc/meminfo");
    if (!text) {
        return std::nullopt;
    }
    KeyedCounters counters = parseKeyedCounters(*text);
    const auto total = counters.find("MemTotal");
    if (total == counters.end()) {
        return missingValue<std::pair<uint64_t, KeyedCounters>>(EIO);
    }
    return std::pair(total->second, std::move(counters));
}

std::optional<int64_t> HardwareValues::memoryBytes() const {
    const auto memory = meminfo();
    return memory ? std::optional(static_cast<int64_t>(memory->first * 1024)) : std::nullopt;
}

// The device's wired memory is the kernel's own and what processes locked: on Linux the
// unreclaimable slab, kernel stacks, page tables, per-CPU areas and unevictable pages
// (mlock, ramfs), which is where Mlocked pages are counted too.
std::optional<int64_t> HardwareValues::userMemoryBytes() const {
    const auto memory = meminfo();
    if (!memory) {
        return std::nullopt;
    }
    const auto& [total, counters] = *memory;
    uint64_t wired = 0;
    for (const char* name : {"SUnreclaim", "KernelStack", "PageTables", "Percpu", "Unevictable"}) {
        const auto counter = counters.find(name);
        wired += counter != counters.end() ? counter->second : 0;
    }
    return static_cast<int64_t>((total - std::min(wired, total)) * 1024);
}

std::optional<int32_t> HardwareValues::floatingPoint() const {
    const std::optional<std::string> cpuinfo = file("/proc/cpuinfo");
    if (!cpuinfo) {
        return std::nullopt;
    }
    const auto flags = cpuinfoField(*cpuinfo, "flags");
    const auto features = cpuinfoField(*cpuinfo, "Features");
    const auto isa = cpuinfoField(*cpuinfo, "isa");
    const bool present = (flags && hasWord(*flags, {"fpu"})) ||
                         (features && hasWord(*features, {"fp", "vfp", "vfpv3", "vfpv4"})) ||
                         (isa && riscvHasFloatingPoint(*isa));
    return present ? 1 : 0;
}

std::optional<int64_t> HardwareValues::cpuFrequency() const {
    const std::optional<std::string> maxKhz =
        firstLine(std::string(kCpu0) + "/cpufreq/cpuinfo_max_freq");
    if (maxKhz) {
        const auto khz = parseNumber<int64_t>(*maxKhz);
        return khz ? std::optional(*khz * 1000) : missingValue<int64_t>(EIO);
    }
    const std::optional<std::string> cpuinfo = file("/proc/cpuinfo");
    if (!cpuinfo) {
        return std::nullopt;
    }
    const auto mhzField = cpuinfoField(*cpuinfo, "cpu MHz");
    if (!mhzField) {
        return missingValue<int64_t>(ENOENT);
    }
    double mhz = 0;
    const char* end = mhzField->data() + mhzField->size();
    const auto [stop, error] = std::from_chars(mhzField->data(), end, mhz);
    if (error != std::errc() || stop != end || !(mhz > 0)) {
        return missingValue<int64_t>(EIO);
    }
    return static_cast<int64_t>(std::llround(mhz * 1e6));
}

std::optional<int32_t> HardwareValues::cacheLine() const {
    const std::string caches = std::string(kCpu0) + "/cache/";
    for (const std::string& index : listHostDirectory(pathUnderRoot(root_, caches))) {
        const auto line = index.starts_with("index")
                              ? firstLine(caches + index + "/coherency_line_size")
                              : std::nullopt;
        if (line) {
            const auto bytes = parseNumber<int32_t>(*line);
            return bytes ? bytes : missingValue<int32_t>(EIO);
        }
    }
    return missingValue<int32_t>(ENOENT);
}

std::optional<int64_t> HardwareValues::l1Cache(std::string_view type) const {
    const std::string caches = std::string(kCpu0) + "/cache/";
    for (const std::string& index : listHostDirectory(pathUnderRoot(root_, caches))) {
        const std::string at = caches + index + "/";
        if (index.starts_with("index") && firstLine(at + "level") == "1" &&
            firstLine(at + "type") == type) {
            const std::optional<std::string> size = firstLine(at + "size");
            const std::optional<int64_t> bytes = size ? parseCacheSize(*size) : std::nullopt;
            return bytes ? bytes : missingValue<int64_t>(EIO);
        }
    }
    return missingValue<int64_t>(ENOENT);
}

std::optional<int32_t> HardwareValues::l1InstructionCache() const {
    const std::optional<int64_t> bytes = l1Cache("Instruction");
    return bytes ? std::optional(static_cast<int32_t>(std::min<int64_t>(*bytes, INT32_MAX)))
                 : std::nullopt;
}

std::optional<int32_t> HardwareValues::l1DataCache() const {
    const std::optional<int64_t> bytes = l1Cache("Data");
    return bytes ? std::optional(static_cast<int32_t>(std::min<int64_t>(*bytes, INT32_MAX)))
                 : std::nullopt;
}

std::optional<int64_t> HardwareValues::parseCacheSize(std::string_view size) {
    int64_t unit = 1;
    if (size.ends_with('K')) {
        unit = 1024;
    } else if (size.ends_with('M')) {
        unit = 1024 * 1024;
    }
    const auto number = parseNumber<int64_t>(unit == 1 ? size : size.substr(0, size.size() - 1));
    if (!number || *number < 0 || *number > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return *number * unit;
}

} // namespace darwin
