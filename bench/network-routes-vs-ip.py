#!/usr/bin/env python3
"""The routing table of the kernel layer against `ip -4 route`, over 100 000 routes.

In a network namespace of its own (the script runs itself under `unshare --net`; root),
adds N routes (default 100 000, /24 networks through a gateway on a veth link) with
`ip -batch`, then measures:
- `ip -4 route` as a whole process, output thrown away (wall time, median of --runs);
- bench_network_routes: every step of a routing refresh (the size probe and read of
  NET_RT_DUMP, and what is stacked on it), median of --runs repetitions;
and prints the medians, each step's ratio to ip, the routes each step saw, the heap its
result holds and how far the resident set grew while it ran.

Usage: bench/network-routes-vs-ip.py [--build build] [--routes 100000] [--runs 5]
"""
import argparse
import json
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

root = pathlib.Path(__file__).resolve().parent.parent


def set_up(routes):
    commands = [
        "link set lo up",
        "link add v0 type veth peer name v1",
        "link set v0 up",
        "link set v1 up",
        "addr add 10.0.0.1/24 dev v0",
    ]
    commands += [f"route add {110 + (i >> 16)}.{(i >> 8) & 255}.{i & 255}.0/24 via 10.0.0.2"
                 for i in range(routes)]
    with tempfile.NamedTemporaryFile("w", suffix=".ip") as batch:
        batch.write("\n".join(commands) + "\n")
        batch.flush()
        subprocess.run(["ip", "-batch", batch.name], check=True)


def ip_median(runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(["ip", "-4", "route"], check=True, stdout=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def steps(build, runs):
    result = subprocess.run(
        [str(pathlib.Path(build) / "bench" / "bench_network_routes"), "--benchmark_format=json",
         f"--benchmark_repetitions={runs}", "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True)
    found = {}
    for entry in json.loads(result.stdout)["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            found[entry["run_name"]] = entry
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--routes", type=int, default=100_000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    if os.environ.get("ORMEL_BENCH_IN_NAMESPACE") != "1":
        environment = dict(os.environ, ORMEL_BENCH_IN_NAMESPACE="1")
        os.execvpe("unshare", ["unshare", "--net", sys.executable, __file__] + sys.argv[1:],
                   environment)

    set_up(args.routes)
    ip = ip_median(args.runs)
    print(f"routes added:                  {args.routes}")
    print(f"ip -4 route (whole process):   median {ip * 1000:.1f} ms")
    for name, entry in steps(args.build, args.runs).items():
        seconds = entry["real_time"] / 1000.0  # ms → s
        print(f"{name}: median {seconds * 1000:.1f} ms, {seconds / ip:.2f} × ip; "
              f"{entry.get('routes', 0):.0f} routes, result holds "
              f"{entry.get('heap_held_KiB', 0):.0f} KiB, resident set grew "
              f"{entry.get('peak_growth_KiB', 0):.0f} KiB")


if __name__ == "__main__":
    main()
