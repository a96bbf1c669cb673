#!/usr/bin/env python3
"""The Memory and Disk snapshots beside df (and free) on this machine: medians of
bench_memdisk's snapshots and the wall time of `df -l -x tmpfs -x devtmpfs`.

Usage: bench/memdisk-vs-df.py [--build build] [--runs 21]
"""
import argparse
import json
import pathlib
import statistics
import subprocess
import time

root = pathlib.Path(__file__).resolve().parent.parent


def wall_median(command, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times) * 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--runs", type=int, default=21)
    args = parser.parse_args()
    result = subprocess.run(
        [str(pathlib.Path(args.build) / "bench" / "bench_memdisk"), "--benchmark_format=json",
         f"--benchmark_repetitions={args.runs}", "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True)
    for entry in json.loads(result.stdout)["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            print(f"{entry['run_name'].split('/')[0]}: median {entry['real_time']:.1f} "
                  f"{entry['time_unit']}")
    print(f"df -l -x tmpfs -x devtmpfs: median {wall_median(['df', '-l', '-x', 'tmpfs', '-x', 'devtmpfs'], args.runs):.2f} ms (process included)")
    print(f"free: median {wall_median(['free'], args.runs):.2f} ms (process included)")


if __name__ == "__main__":
    main()
