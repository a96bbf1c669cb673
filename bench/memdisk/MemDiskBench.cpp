// The Memory and Disk tabs' snapshots against the running host.
#include "memdisk/DiskStatus.h"
#include "memdisk/MemoryStatus.h"

#include <benchmark/benchmark.h>

namespace {

void BM_MemorySnapshot(benchmark::State& state) {
    MemoryStatus* status = MemoryStatus::sharedInstance();
    for (auto _ : state) {
        status->snapshot();
        benchmark::DoNotOptimize(status->free());
    }
}
BENCHMARK(BM_MemorySnapshot)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_DiskSnapshot(benchmark::State& state) {
    DiskStatus* status = DiskStatus::sharedInstance();
    for (auto _ : state) {
        status->snapshot();
        benchmark::DoNotOptimize(status->info().size());
    }
}
BENCHMARK(BM_DiskSnapshot)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
