#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace darwin {

// The boot time in seconds since the epoch, from the "btime" line of /proc/stat.
std::optional<int64_t> parseBootTime(std::string_view procStat);

// The 1-, 5- and 15-minute load averages, the first three fields of /proc/loadavg.
// Parsed independently of the C locale (the application may set a decimal comma).
std::optional<std::array<double, 3>> parseLoadAverages(std::string_view procLoadavg);

} // namespace darwin
