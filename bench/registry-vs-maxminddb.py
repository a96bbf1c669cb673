#!/usr/bin/env python3
"""The registry lookups beside libmaxminddb on the same addresses: medians of
bench_registry's ns per lookup and the libmaxminddb / lookup_database ratio.

The MaxMind database is the npm package @ip-location-db/geo-whois-asn-country-mmdb,
fetched once with `npm pack` into --data (build/bench-data); nothing else goes to the
network.

Usage: bench/registry-vs-maxminddb.py [--build build] [--repetitions 10]
           [--min-time 0.5] [--registry resources/data/ccTLD.dat] [--data build/bench-data]
           [-- extra bench_registry arguments, e.g. --benchmark_filter=Search]
"""
import argparse
import json
import os
import pathlib
import subprocess
import tarfile

root = pathlib.Path(__file__).resolve().parent.parent
package = "@ip-location-db/geo-whois-asn-country-mmdb"
database = "geo-whois-asn-country-ipv4.mmdb"

rows = [
    ("BM_LookupDatabase", "lookup_database (indexed)"),
    ("BM_LookupDatabaseUnindexed", "lookup_database_unindexed"),
    ("BM_LookupDatabaseCountry", "lookup_database + country code"),
    ("BM_TlLookup", "tl_lookup (network text)"),
    ("BM_TlLookupNoNetwork", "tl_lookup (no network)"),
    ("BM_Search", "TarnelDB::search"),
    ("BM_MaxMindLookup", "MMDB_lookup_sockaddr"),
    ("BM_MaxMindCountry", "MMDB_lookup_sockaddr + country_code"),
]
address_sets = ["uniform", "covered"]


def fetch_database(data):
    """The database path and the package version, fetched on the first run only."""
    unpacked = data / "package"
    if not (unpacked / database).exists():
        data.mkdir(parents=True, exist_ok=True)
        archive = subprocess.run(["npm", "pack", package, "--pack-destination", str(data)],
                                 check=True, capture_output=True, text=True).stdout.split()[-1]
        with tarfile.open(data / archive) as packed:
            members = [m for m in packed.getmembers()
                       if m.name in (f"package/{database}", "package/package.json")]
            packed.extractall(data, members=members)
    version = json.loads((unpacked / "package.json").read_text())["version"]
    return unpacked / database, version


def load_average():
    with open("/proc/loadavg") as loadavg:
        return " ".join(loadavg.read().split()[:3])


def run_bench(binary, registry, mmdb, repetitions, min_time, extra):
    environment = dict(os.environ, ORMEL_REGISTRY_FILE=str(registry), ORMEL_MMDB_FILE=str(mmdb))
    result = subprocess.run(
        [str(binary), "--benchmark_format=json", f"--benchmark_repetitions={repetitions}",
         f"--benchmark_min_time={min_time}", "--benchmark_report_aggregates_only=true", *extra],
        check=True, capture_output=True, text=True, env=environment)
    return json.loads(result.stdout)["benchmarks"]


def aggregates(entries, kind):
    return {entry["run_name"]: entry for entry in entries if entry.get("aggregate_name") == kind}


def nanoseconds(entry):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[entry["time_unit"]]
    return entry["real_time"] * scale


def print_table(found, spread):
    print(f"{'median ns/lookup':40}" + "".join(f"{s:>12}" for s in address_sets) +
          "   cv% (uniform)  found (uniform)  allocs/lookup")
    for name, label in rows:
        entries = [found.get(f"{name}/{s}") for s in address_sets]
        if not any(entries):
            continue
        times = "".join(f"{nanoseconds(e):12.1f}" if e else f"{'-':>12}" for e in entries)
        share = f"{entries[0]['found']:.3f}" if entries[0] else "-"
        cv = spread.get(f"{name}/{address_sets[0]}")
        cv = f"{cv['real_time'] * 100:.1f}" if cv else "-"
        allocs = ""
        if entries[0] and "allocs_per_lookup" in entries[0]:
            allocs = f"{entries[0]['allocs_per_lookup']:g}"
        print(f"{label:40}{times}   {cv:>13}  {share:>15}  {allocs:>13}")


def print_ratios(found):
    for numerator, denominator, label in [
            ("BM_MaxMindLookup", "BM_LookupDatabase", "MMDB_lookup_sockaddr / lookup_database"),
            ("BM_MaxMindCountry", "BM_LookupDatabaseCountry",
             "MMDB + country_code / lookup_database + country code")]:
        for s in address_sets:
            top, bottom = found.get(f"{numerator}/{s}"), found.get(f"{denominator}/{s}")
            if top and bottom:
                print(f"ratio {label} ({s}): {nanoseconds(top) / nanoseconds(bottom):.2f}x")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--data", default=str(root / "build" / "bench-data"))
    parser.add_argument("--registry", default=str(root / "resources" / "data" / "ccTLD.dat"))
    parser.add_argument("--repetitions", type=int, default=10)
    parser.add_argument("--min-time", type=float, default=0.5)
    parser.add_argument("extra", nargs="*")
    args = parser.parse_args()
    mmdb, version = fetch_database(pathlib.Path(args.data))
    print(f"{package} {version}: {database} {mmdb.stat().st_size} bytes")
    print(f"registry file: {args.registry} {pathlib.Path(args.registry).stat().st_size} bytes")
    print(f"load average before: {load_average()} ({os.cpu_count()} cores)")
    entries = run_bench(pathlib.Path(args.build) / "bench" / "bench_registry", args.registry, mmdb,
                        args.repetitions, args.min_time, args.extra)
    print(f"load average after:  {load_average()}")
    found = aggregates(entries, "median")
    print(f"medians of {args.repetitions} repetitions, 1 000 000 addresses per set\n")
    print_table(found, aggregates(entries, "cv"))
    print()
    print_ratios(found)
    init = found.get("BM_TlInit")
    if init:
        print(f"tl_init (read, registry copy, /16 index, pattern): median "
              f"{nanoseconds(init) / 1e3:.0f} us for {init['records']:.0f} records; "
              f"engine heap calls per init {init['engine_allocs_per_init']:g}")


if __name__ == "__main__":
    main()
