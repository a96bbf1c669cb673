// The Process tab against the running host: a snapshot of the process table, and a
// snapshot plus the list screen's rows (what a refresh costs). bench/process-vs-ps.py
// runs this beside ps over the same table.
#include "process/ProcessStatus.h"
#include "process/ProcessStatusViewController.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>

namespace {

void BM_Snapshot(benchmark::State& state) {
    ProcessStatus* status = ProcessStatus::sharedInstance();
    for (auto _ : state) {
        status->snapshot();
        benchmark::DoNotOptimize(status->info().size());
    }
    state.counters["processes"] = static_cast<double>(status->info().size());
    // Heap held by one snapshot's records (the table buffer included).
    status->removeAllData();
    ProcessStatus::finalize();
    const size_t before = mallinfo2().uordblks;
    status->snapshot();
    const size_t after = mallinfo2().uordblks;
    state.counters["snapshot_KiB"] = static_cast<double>(after - before) / 1024.0;
}
BENCHMARK(BM_Snapshot)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SnapshotAndListRows(benchmark::State& state) {
    ProcessStatusViewController screen;
    screen.view();
    for (auto _ : state) {
        screen.refreshAction();
    }
}
BENCHMARK(BM_SnapshotAndListRows)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
