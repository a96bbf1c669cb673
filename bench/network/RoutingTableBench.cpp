// What the Network tab's routing refresh costs against the running host, step by step:
// the kernel layer's size probe and read of {CTL_NET, PF_ROUTE, 0, 0, NET_RT_DUMP, 0},
// then what the model adds on top. bench/network-routes-vs-ip.py runs this in a
// namespace holding 100 000 routes, beside `ip -4 route`.
#include "network/NetworkStatus.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Route.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// The routing table as the device's programs read it: probe, allocate, read.
std::vector<unsigned char> probeAndRead() {
    const int mib[] = {darwin::CTL_NET, darwin::PF_ROUTE_DARWIN, 0, 0, darwin::NET_RT_DUMP, 0};
    size_t length = 0;
    if (darwin::sysctl(mib, 6, nullptr, &length, nullptr, 0) != 0) {
        std::perror("probe");
        return {};
    }
    std::vector<unsigned char> table(length);
    if (darwin::sysctl(mib, 6, table.data(), &length, nullptr, 0) != 0) {
        std::perror("read");
        return {};
    }
    table.resize(length);
    return table;
}

size_t messagesIn(const std::vector<unsigned char>& table) {
    size_t count = 0;
    for (size_t at = 0; at + 2 <= table.size(); ++count) {
        const size_t length = table[at] | size_t{table[at + 1]} << 8;
        at += length != 0 ? length : table.size();
    }
    return count;
}

// One step of a refresh; it returns how many routes it handled.
struct Step {
    const char* name;
    std::function<size_t()> run;
};

// The table is kept until the next read, as the program that asked for it holds it.
size_t probeAndReadRouteDump() {
    static std::vector<unsigned char> table;
    table = probeAndRead();
    return messagesIn(table);
}

// The model's snapshot: probe, read and the walk that makes the route records.
size_t snapshotOfRouting() {
    NetworkStatus* netstat = NetworkStatus::sharedInstance();
    netstat->snapshotOfRouting();
    return static_cast<size_t>(netstat->routing().size());
}

const Step kSteps[] = {
    {"BM_ProbeAndReadRouteDump", probeAndReadRouteDump},
    {"BM_SnapshotOfRouting", snapshotOfRouting},
};

// The resident-set high-water mark in KiB (VmHWM of /proc/self/status).
double residentHighWaterKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string word; status >> word;) {
        if (word == "VmHWM:") {
            double kib = 0;
            status >> kib;
            return kib;
        }
    }
    return 0;
}

// Allocated heap, large blocks (which malloc maps on their own) included.
double heapInUseKiB() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / 1024.0;
}

struct Footprint {
    double heapHeldKiB = 0;
    double peakGrowthKiB = 0;
};

// The heap a step's result holds once it is done, and how far the process's resident set
// grew during it (its transient peak): measured at its first run, before the library's
// own runs.
Footprint footprintOf(const Step& step) {
    const double highWaterBefore = residentHighWaterKiB();
    const double heapBefore = heapInUseKiB();
    step.run();
    return {heapInUseKiB() - heapBefore, residentHighWaterKiB() - highWaterBefore};
}

void runStep(benchmark::State& state, const Step& step, Footprint footprint) {
    size_t routes = 0;
    for (auto _ : state) {
        routes = step.run();
        benchmark::DoNotOptimize(routes);
    }
    state.counters["routes"] = static_cast<double>(routes);
    state.counters["heap_held_KiB"] = footprint.heapHeldKiB;
    state.counters["peak_growth_KiB"] = footprint.peakGrowthKiB;
}

} // namespace

int main(int argc, char** argv) {
    for (const Step& step : kSteps) {
        benchmark::RegisterBenchmark(step.name, runStep, step, footprintOf(step))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
