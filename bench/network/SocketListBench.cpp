// The TCP control-block list of the running namespace, read the way the Network tab
// reads it: a size probe, then the fill into a buffer of the probed size; then the
// model's snapshot over it, and the TCP screen opened.
// bench/network-tcp-vs-ss.py runs this beside `ss -tan4` over 10 000 loopback
// connections.
#include "network/NetworkStatus.h"
#include "network/TCPStatusViewController.h"
#include "platform/darwin/InPcb.h"
#include "platform/darwin/linux/LinuxBackend.h"

#include "platform/ui/TableView.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cerrno>
#include <cstdlib>
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

// The model's snapshot: probe, fill and the walk that makes the records.
void BM_SnapshotOfTCP(benchmark::State& state) {
    NetworkStatus* netstat = NetworkStatus::sharedInstance();
    for (auto _ : state) {
        netstat->snapshotOfTCP();
        benchmark::DoNotOptimize(netstat->protocol().size());
    }
    state.counters["records"] = static_cast<double>(netstat->protocol().size());
    netstat->removeAllData();
    const size_t before = heapInUse();
    netstat->snapshotOfTCP();
    state.counters["records_held_KiB"] = static_cast<double>(heapInUse() - before) / 1024.0;
    netstat->removeAllData();
}
BENCHMARK(BM_SnapshotOfTCP)->Unit(benchmark::kMillisecond)->UseRealTime();

// The TCP screen opened: the snapshot it takes on appearing and the first screenful of
// rows (each with its port's service name).
void BM_TCPScreenOpened(benchmark::State& state) {
    TCPStatusViewController screen;
    screen.view()->resize(320, 480);
    screen.view()->show();
    size_t rows = 0;
    for (auto _ : state) {
        screen.viewWillAppear(false);
        rows = static_cast<size_t>(screen.tableView()->visibleCells().size());
        benchmark::DoNotOptimize(rows);
        state.PauseTiming();
        screen.viewWillDisappear(false);
        state.ResumeTiming();
    }
    state.counters["rows_shown"] = static_cast<double>(rows);
}
BENCHMARK(BM_TCPScreenOpened)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
