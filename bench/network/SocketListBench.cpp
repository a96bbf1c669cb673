// The TCP control-block list of the running namespace, read the way the Network tab
// reads it: a size probe, then the fill into a buffer of the probed size.
// bench/network-tcp-vs-ss.py runs this beside `ss -tan4` over 10 000 loopback
// connections.
#include "platform/darwin/InPcb.h"
#include "platform/darwin/linux/LinuxBackend.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

size_t heapInUse() {
    return mallinfo2().uordblks;
}

// Probe and fill; the list's size, 0 when either call fails.
size_t probeAndFill(darwin::LinuxBackend& backend, std::vector<unsigned char>& list) {
    size_t length = 0;
    if (backend.sysctlbyname(darwin::kTcpPcblist, nullptr, &length, nullptr, 0) != 0) {
        return 0;
    }
    list.resize(length);
    if (backend.sysctlbyname(darwin::kTcpPcblist, list.data(), &length, nullptr, 0) != 0) {
        return 0;
    }
    return length;
}

void BM_TcpListProbeAndFill(benchmark::State& state) {
    darwin::LinuxBackend backend;
    std::vector<unsigned char> list;
    size_t length = 0;
    for (auto _ : state) {
        std::vector<unsigned char>().swap(list); // each read gets its buffer afresh
        length = probeAndFill(backend, list);
        if (length == 0) {
            state.SkipWithError(std::strerror(errno));
            return;
        }
        benchmark::DoNotOptimize(list.data());
    }
    darwin::Xinpgen header = darwin::xinpgen::Layout::decode(list.data());
    state.counters["sockets"] = header.count;
    state.counters["list_KiB"] = static_cast<double>(length) / 1024.0;
    // What the backend holds between probe and fill (the probe's sockets), and after.
    size_t probed = 0;
    const size_t before = heapInUse();
    backend.sysctlbyname(darwin::kTcpPcblist, nullptr, &probed, nullptr, 0);
    state.counters["held_after_probe_KiB"] = static_cast<double>(heapInUse() - before) / 1024.0;
    list.resize(probed);
    backend.sysctlbyname(darwin::kTcpPcblist, list.data(), &probed, nullptr, 0);
    state.counters["held_after_fill_KiB"] = static_cast<double>(heapInUse() - before) / 1024.0;
}
BENCHMARK(BM_TcpListProbeAndFill)->Unit(benchmark::kMillisecond)->UseRealTime();

// NetworkStatus::snapshotOfTCP (probe, fill and the model's walk) joins here once the
// model is in: BENCHMARK(BM_SnapshotOfTCP) over NetworkStatus::sharedInstance().

} // namespace

BENCHMARK_MAIN();
