#!/usr/bin/env python3
"""The Process tab against ps over the same process table.

Starts N extra sleeping processes (default 2000), then measures, several times each:
- `ps -e -o pid,ppid,pgid,uid,gid,stat,pri,ni,lstart,tty,user,group,comm` (wall time);
- bench_process: a full snapshot, and a snapshot plus the list screen's rows;
and prints the medians and the ratio (ours / ps). The sleepers are stopped at the end.

Usage: bench/process-vs-ps.py [--build build] [--extra 2000] [--runs 11]
"""
import argparse
import json
import pathlib
import statistics
import subprocess
import time

root = pathlib.Path(__file__).resolve().parent.parent
PS = ["ps", "-e", "-o", "pid,ppid,pgid,uid,gid,stat,pri,ni,lstart,tty,user,group,comm"]


def ps_median(runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(PS, check=True, stdout=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def ours(build, runs):
    result = subprocess.run(
        [str(pathlib.Path(build) / "bench" / "bench_process"), "--benchmark_format=json",
         f"--benchmark_repetitions={runs}", "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True)
    report = json.loads(result.stdout)
    medians = {}
    counters = {}
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            name = entry["run_name"].split("/")[0]
            medians[name] = entry["real_time"] / 1000.0  # ms → s
            counters[name] = {k: entry[k] for k in ("processes", "snapshot_KiB")
                                           if k in entry}
    return medians, counters


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--extra", type=int, default=2000)
    parser.add_argument("--runs", type=int, default=11)
    args = parser.parse_args()

    sleepers = [subprocess.Popen(["sleep", "3600"]) for _ in range(args.extra)]
    try:
        time.sleep(1)
        ps = ps_median(args.runs)
        medians, counters = ours(args.build, args.runs)
        snapshot = medians["BM_Snapshot"]
        listed = medians["BM_SnapshotAndListRows"]
        print(f"processes in the table: {counters['BM_Snapshot'].get('processes', 0):.0f}")
        print(f"ps -e -o …:                 median {ps * 1000:.1f} ms")
        print(f"snapshot:                   median {snapshot * 1000:.1f} ms")
        print(f"snapshot + list rows:       median {listed * 1000:.1f} ms")
        print(f"ratio (snapshot + rows)/ps: {listed / ps:.2f}")
        print(f"heap of one snapshot:       {counters['BM_Snapshot'].get('snapshot_KiB', 0):.0f} KiB")
    finally:
        for sleeper in sleepers:
            sleeper.kill()
        for sleeper in sleepers:
            sleeper.wait()


if __name__ == "__main__":
    main()
