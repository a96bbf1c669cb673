// The System tab's snapshots against the running host, through the Linux backend.
#include "system/SystemStatus.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SnapshotOfUptime(benchmark::State& state) {
    SystemStatus* status = SystemStatus::sharedInstance();
    for (auto _ : state) {
        status->snapshotOfUptime();
        benchmark::DoNotOptimize(status->uptime());
    }
}
BENCHMARK(BM_SnapshotOfUptime);

void BM_SnapshotOfLoadAvg(benchmark::State& state) {
    SystemStatus* status = SystemStatus::sharedInstance();
    for (auto _ : state) {
        status->snapshotOfLoadAvg();
        benchmark::DoNotOptimize(status->loadavg(0));
    }
}
BENCHMARK(BM_SnapshotOfLoadAvg);

void BM_SnapshotOfWho(benchmark::State& state) {
    SystemStatus* status = SystemStatus::sharedInstance();
    for (auto _ : state) {
        status->snapshotOfWho();
        benchmark::DoNotOptimize(status->who().size());
    }
}
BENCHMARK(BM_SnapshotOfWho);

} // namespace

BENCHMARK_MAIN();
