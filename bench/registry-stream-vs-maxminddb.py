#!/usr/bin/env python3
"""Streaming lookups, stdin to stdout: `build/ormel --lookup -` (or any command given
with --command) beside a libmaxminddb loop over the same lines
(build/bench/mmdb_stream: inet_pton, MMDB_lookup_sockaddr, country_code).

The input is 1 000 000 lines drawn once with a fixed seed: 60 % uniform over the whole
IPv4 space (registered, unregistered and special-purpose), 35 % inside the registry
file's ranges, 5 % text that is no address. Each command runs --runs times over it,
its output written to a file; the medians of the wall time, of the CPU time and of the
time of a run over no input (start-up: the registry file read, the texts localized)
are printed, with the addresses per second. The MaxMind database is fetched as
bench/registry-vs-maxminddb.py does.

Usage: bench/registry-stream-vs-maxminddb.py [--build build] [--runs 7]
           [--command "build/ormel --lookup -"] [--registry resources/data/ccTLD.dat]
"""
import argparse
import importlib.util
import os
import pathlib
import random
import resource
import shlex
import statistics
import struct
import subprocess
import time

root = pathlib.Path(__file__).resolve().parent.parent
spec = importlib.util.spec_from_file_location("peer", root / "bench" / "registry-vs-maxminddb.py")
peer = importlib.util.module_from_spec(spec)
spec.loader.exec_module(peer)

line_count = 1_000_000
not_addresses = ["", "1.2.3", "256.1.1.1", "::1", " 8.8.8.8", "8.8.8.8x", "1.2.3.4.5",
                 "localhost", "1.2.3.04444", "8.8.8.8 "]


def ranges_of(registry):
    """The (first, end) of every range record of a registry file (layout in tarnel.h)."""
    data = registry.read_bytes()
    start = 1 + 12 * data[0]
    count = (len(data) - start) // 24
    return [struct.unpack_from("<II", data, start + 24 * i) for i in range(count)]


def quad(address):
    return f"{address >> 24}.{(address >> 16) & 255}.{(address >> 8) & 255}.{address & 255}"


def make_addresses(path, registry):
    generator = random.Random(20240615)
    ranges = ranges_of(registry)
    lines = []
    for _ in range(line_count):
        draw = generator.random()
        if draw < 0.60:
            lines.append(quad(generator.getrandbits(32)))
        elif draw < 0.95:
            first, end = generator.choice(ranges)
            lines.append(quad(generator.randrange(first, end)))
        else:
            lines.append(generator.choice(not_addresses))
    path.write_text("\n".join(lines) + "\n")


def timed(command, source, sink, environment):
    """Wall and CPU seconds of one run reading source and writing sink."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    with open(source, "rb") as stdin, open(sink, "wb") as stdout:
        start = time.perf_counter()
        status = subprocess.run(command, stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL,
                                env=environment).returncode
        wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if status < 0:
        raise SystemExit(f"{command[0]} was killed by signal {-status}")
    return wall, cpu


def measure(label, command, addresses, scratch, runs, environment):
    empty = scratch / "empty.txt"
    empty.write_text("")
    output = scratch / f"{label}.out"
    startup = statistics.median(timed(command, empty, output, environment)[0] for _ in range(runs))
    results = [timed(command, addresses, output, environment) for _ in range(runs)]
    with open(output, "rb") as answers:
        answered = sum(1 for _ in answers)
    if answered != line_count:
        raise SystemExit(f"{label}: {answered} answer lines for {line_count} addresses")
    wall = statistics.median(r[0] for r in results)
    cpu = statistics.median(r[1] for r in results)
    print(f"{label:14} {wall:8.3f} s  {line_count / wall:12,.0f}/s  cpu {cpu:6.3f} s "
          f"{line_count / cpu:12,.0f}/s  start-up {startup:6.3f} s  "
          f"without it {line_count / (wall - startup):12,.0f}/s")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--data", default=str(root / "build" / "bench-data"))
    parser.add_argument("--registry", default=str(root / "resources" / "data" / "ccTLD.dat"))
    parser.add_argument("--command", help="the registry's stream command (default: ormel --lookup -)")
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    build, data = pathlib.Path(args.build), pathlib.Path(args.data)
    mmdb, version = peer.fetch_database(data)
    addresses = data / "stream-addresses.txt"
    if not addresses.exists():
        make_addresses(addresses, pathlib.Path(args.registry))
    scratch = data / "stream"
    scratch.mkdir(parents=True, exist_ok=True)
    documents = scratch / "documents"
    documents.mkdir(exist_ok=True)
    (documents / "ccTLD.dat").write_bytes(pathlib.Path(args.registry).read_bytes())
    environment = dict(os.environ, ORMEL_DOCUMENTS_DIR=str(documents), QT_QPA_PLATFORM="offscreen")
    ours = shlex.split(args.command) if args.command else [str(build / "ormel"), "--lookup", "-"]
    print(f"{package_line(version, mmdb)}\nregistry file: {args.registry}\n"
          f"{line_count} lines ({addresses}), medians of {args.runs} runs, output to a file")
    print(f"load average before: {peer.load_average()} ({os.cpu_count()} cores)")
    measure("registry", ours, addresses, scratch, args.runs, environment)
    measure("libmaxminddb", [str(build / "bench" / "mmdb_stream"), str(mmdb)], addresses, scratch,
            args.runs, environment)
    print(f"load average after:  {peer.load_average()}")
    print("registry lines carry six texts (code, country, registry, region, network, date); "
          "libmaxminddb lines the country code")


def package_line(version, mmdb):
    return f"{peer.package} {version}: {peer.database} {mmdb.stat().st_size} bytes"


if __name__ == "__main__":
    main()
