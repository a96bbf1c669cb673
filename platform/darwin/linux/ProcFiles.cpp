#include "platform/darwin/linux/ProcFiles.h"

#include "platform/darwin/linux/TextFields.h"

#include <cmath>

namespace darwin {

namespace {

template <class T> bool readNumber(std::string_view& text, T& out) {
    return parseNumber(nextField(text), out);
}

bool skipFields(std::string_view& text, int count) {
    for (int i = 0; i < count; ++i) {
        if (nextField(text).empty()) {
            return false;
        }
    }
    return true;
}

// Fields 4 to 23, after the state letter.
bool parseStatNumbers(std::string_view rest, LinuxProcessStat& stat) {
    return readNumber(rest, stat.ppid) && readNumber(rest, stat.pgrp) && skipFields(rest, 1) &&
           readNumber(rest, stat.ttyNr) && skipFields(rest, 1) && readNumber(rest, stat.flags) &&
           readNumber(rest, stat.minflt) && skipFields(rest, 1) && readNumber(rest, stat.majflt) &&
           skipFields(rest, 1) && readNumber(rest, stat.utime) && readNumber(rest, stat.stime) &&
           skipFields(rest, 2) && readNumber(rest, stat.priority) && readNumber(rest, stat.nice) &&
           readNumber(rest, stat.numThreads) && skipFields(rest, 1) &&
           readNumber(rest, stat.starttime) && readNumber(rest, stat.vsize);
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
        std::string_view line = nextLine(text);
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

std::optional<int64_t> parseResidentPages(std::string_view statm) {
    int64_t pages = 0;
    if (!skipFields(statm, 1) || !readNumber(statm, pages) || pages < 0) {
        return std::nullopt;
    }
    return pages;
}

std::optional<int64_t> parseBootTime(std::string_view procStat) {
    while (!procStat.empty()) {
        std::string_view line = nextLine(procStat);
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
