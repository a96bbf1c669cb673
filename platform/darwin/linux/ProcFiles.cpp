#include "platform/darwin/linux/ProcFiles.h"

#include <charconv>
#include <cmath>

namespace darwin {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

std::string_view nextField(std::string_view& text) {
    size_t start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    size_t end = start;
    while (end < text.size() && !isBlank(text[end])) {
        ++end;
    }
    const std::string_view field = text.substr(start, end - start);
    text.remove_prefix(end);
    return field;
}

template <class T> std::optional<T> parseNumber(std::string_view field) {
    T value{};
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<int64_t> parseBootTime(std::string_view procStat) {
    while (!procStat.empty()) {
        const size_t lineEnd = procStat.find('\n');
        std::string_view line = procStat.substr(0, lineEnd);
        procStat.remove_prefix(lineEnd == std::string_view::npos ? procStat.size() : lineEnd + 1);
        if (nextField(line) == "btime") {
            return parseNumber<int64_t>(nextField(line));
        }
    }
    return std::nullopt;
}

std::optional<std::array<double, 3>> parseLoadAverages(std::string_view procLoadavg) {
    std::array<double, 3> averages{};
    for (double& average : averages) {
        const auto value = parseNumber<double>(nextField(procLoadavg));
        if (!value || !std::isfinite(*value) || *value < 0) {
            return std::nullopt;
        }
        average = *value;
    }
    return averages;
}

} // namespace darwin
