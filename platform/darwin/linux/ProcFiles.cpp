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

template <class T> bool readNumber(std::string_view& text, T& out) {
    const std::optional<T> value = parseNumber<T>(nextField(text));
    if (value) {
        out = *value;
    }
    return value.has_value();
}

bool skipFields(std::string_view& text, int count) {
    for (int i = 0; i < count; ++i) {
        if (nextField(text).empty()) {
            return false;
        }
    }
    return true;
}

// Fields 4 to 24, after the state letter.
bool parseStatNumbers(std::string_view rest, LinuxProcessStat& stat) {
    return readNumber(rest, stat.ppid) && readNumber(rest, stat.pgrp) && skipFields(rest, 1) &&
           readNumber(rest, stat.ttyNr) && skipFields(rest, 1) && readNumber(rest, stat.flags) &&
           readNumber(rest, stat.minflt) && skipFields(rest, 1) && readNumber(rest, stat.majflt) &&
           skipFields(rest, 1) && readNumber(rest, stat.utime) && readNumber(rest, stat.stime) &&
           skipFields(rest, 2) && readNumber(rest, stat.priority) && readNumber(rest, stat.nice) &&
           readNumber(rest, stat.numThreads) && skipFields(rest, 1) &&
           readNumber(rest, stat.starttime) && readNumber(rest, stat.vsize) &&
           readNumber(rest, stat.rss);
}

bool parseIdQuad(std::string_view values, std::array<uint32_t, 4>& ids) {
    for (uint32_t& id : ids) {
        if (!readNumber(values, id)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<LinuxProcessStat> parseProcessStat(std::string_view text) {
    const size_t open = text.find('(');
    const size_t close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    LinuxProcessStat stat;
    std::string_view head = text.substr(0, open);
    if (!readNumber(head, stat.pid)) {
        return std::nullopt;
    }
    stat.comm = text.substr(open + 1, close - open - 1);
    std::string_view rest = text.substr(close + 1);
    const std::string_view state = nextField(rest);
    if (state.size() != 1 || !parseStatNumbers(rest, stat)) {
        return std::nullopt;
    }
    stat.state = state.front();
    return stat;
}

std::optional<LinuxProcessStatus> parseProcessStatus(std::string_view text) {
    LinuxProcessStatus status;
    bool tgid = false, tracer = false, uid = false, gid = false;
    while (!text.empty() && !(tgid && tracer && uid && gid)) {
        const size_t lineEnd = text.find('\n');
        std::string_view line = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        const std::string_view key = nextField(line);
        if (key == "Tgid:") {
            tgid = readNumber(line, status.tgid);
        } else if (key == "TracerPid:") {
            tracer = readNumber(line, status.tracerPid);
        } else if (key == "Uid:") {
            uid = parseIdQuad(line, status.uid);
        } else if (key == "Gid:") {
            gid = parseIdQuad(line, status.gid);
        }
    }
    if (!(tgid && tracer && uid && gid)) {
        return std::nullopt;
    }
    return status;
}

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
