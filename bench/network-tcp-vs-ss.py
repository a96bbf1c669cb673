#!/usr/bin/env python3
"""The TCP control-block list against `ss -tan4` over the same sockets.

Moves into a network namespace of its own (root needed; loopback up), opens N
established loopback TCP connections (default 10 000: 2 N sockets plus the listener),
then measures, median of several runs each:
- `ss -tan4`, the whole process (wall time, output to /dev/null);
- bench_network_sockets: sysctlbyname("net.inet.tcp.pcblist") size probe plus fill, in
  process; NetworkStatus::snapshotOfTCP (the same plus the records); the TCP screen
  opened (that snapshot and the first screenful of rows);
and prints both, their ratio (ours / ss) and the heap the backend holds. The sockets and
the namespace go when the script ends.

Usage: bench/network-tcp-vs-ss.py [--build build] [--connections 10000] [--runs 5]
"""
import argparse
import ctypes
import json
import os
import pathlib
import resource
import socket
import statistics
import subprocess
import time

root = pathlib.Path(__file__).resolve().parent.parent
CLONE_NEWNET = 0x40000000
PORT = 9000


def private_network():
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.unshare(CLONE_NEWNET) != 0:
        raise OSError(ctypes.get_errno(), "unshare(CLONE_NEWNET): run as root")
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)


def raise_descriptor_limit(wanted):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft < wanted:
        resource.setrlimit(resource.RLIMIT_NOFILE, (min(wanted, hard), hard))


# The client ends live in a child process and the accepted ends here, so that neither
# process needs more than count descriptors (the hard limit may not be raised).
def open_connections(count):
    raise_descriptor_limit(count + 64)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", PORT))
    listener.listen(1024)
    ready, release = os.pipe(), os.pipe()
    child = os.fork()
    if child == 0:
        listener.close()
        os.close(ready[0])
        os.close(release[1])
        clients = [socket.create_connection(("127.0.0.1", PORT)) for _ in range(count)]
        os.write(ready[1], b"x")
        os.read(release[0], 1)  # until the parent closes its end
        os._exit(0)
    os.close(ready[1])
    os.close(release[0])
    servers = [listener.accept()[0] for _ in range(count)]
    os.read(ready[0], 1)
    return child, release[1], [listener, *servers]


def ss_median(runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(["ss", "-tan4"], check=True, stdout=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def ours(build, runs):
    result = subprocess.run(
        [str(pathlib.Path(build) / "bench" / "bench_network_sockets"), "--benchmark_format=json",
         f"--benchmark_repetitions={runs}", "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True)
    report = json.loads(result.stdout)
    medians = {}
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            medians[entry["run_name"].split("/")[0]] = entry
    return medians


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--connections", type=int, default=10000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()

    private_network()
    child, release, sockets = open_connections(args.connections)
    try:
        ss = ss_median(args.runs)
        medians = ours(args.build, args.runs)
        fill = medians["BM_TcpListProbeAndFill"]
        print(f"sockets in the TCP list:       {fill['sockets']:.0f}")
        print(f"ss -tan4 (whole process):      median {ss * 1000:.1f} ms")
        print(f"probe + fill (in process):     median {fill['real_time']:.1f} ms")
        print(f"ratio (probe + fill) / ss:     {fill['real_time'] / 1000 / ss:.2f}")
        print(f"list size:                     {fill['list_KiB']:.0f} KiB")
        print(f"heap held after the probe:     {fill['held_after_probe_KiB']:.0f} KiB")
        print(f"heap held after the fill:      {fill['held_after_fill_KiB']:.0f} KiB")
        snapshot = medians["BM_SnapshotOfTCP"]
        print(f"snapshotOfTCP:                 median {snapshot['real_time']:.1f} ms, "
              f"ratio {snapshot['real_time'] / 1000 / ss:.2f} (goal: at most 0.50)")
        print(f"records held by a snapshot:    {snapshot['records_held_KiB']:.0f} KiB "
              f"for {snapshot['records']:.0f} records")
        screen = medians["BM_TCPScreenOpened"]
        print(f"TCP screen opened:             median {screen['real_time']:.1f} ms "
              f"(snapshot + {screen['rows_shown']:.0f} rows; goal: under 50 ms)")
    finally:
        os.close(release)
        os.waitpid(child, 0)
        for s in sockets:
            s.close()


if __name__ == "__main__":
    main()
