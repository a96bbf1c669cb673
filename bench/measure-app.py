#!/usr/bin/env python3
"""Measures the application as a user meets it, on this machine.

- the median wall time of `ormel --dump SCREEN` over several runs;
- the peak resident memory (VmHWM) of the running GUI on the offscreen platform,
  a few seconds after launch, and of `ormel --screenshot` (every tab drawn once).

Usage: bench/measure-app.py [--build build] [--runs 21] [--screen system]
"""
import argparse
import os
import pathlib
import resource
import statistics
import subprocess
import tempfile
import time

root = pathlib.Path(__file__).resolve().parent.parent


def median_wall_time(ormel, arguments, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run([ormel, *arguments], check=True, stdout=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times), min(times), max(times)


def gui_peak_kib(ormel, seconds):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    process = subprocess.Popen([ormel], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        time.sleep(seconds)
        status = pathlib.Path(f"/proc/{process.pid}/status").read_text()
        for line in status.splitlines():
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    finally:
        process.terminate()
        process.wait()
    return None


def screenshot_peak_kib(ormel):
    with tempfile.TemporaryDirectory() as folder:
        before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        subprocess.run([ormel, "--screenshot", folder], check=True, stdout=subprocess.DEVNULL)
        after = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        return max(before, after)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--runs", type=int, default=21)
    parser.add_argument("--screen", default="system")
    parser.add_argument("--gui-seconds", type=float, default=3.0)
    args = parser.parse_args()
    ormel = str(pathlib.Path(args.build) / "ormel")

    median, fastest, slowest = median_wall_time(ormel, ["--dump", args.screen], args.runs)
    print(f"ormel --dump {args.screen}: median {median * 1000:.1f} ms "
          f"(min {fastest * 1000:.1f}, max {slowest * 1000:.1f}, {args.runs} runs)")
    print(f"GUI peak memory after {args.gui_seconds:.0f} s: "
          f"{gui_peak_kib(ormel, args.gui_seconds) / 1024:.1f} MiB (VmHWM)")
    print(f"ormel --screenshot peak memory: {screenshot_peak_kib(ormel) / 1024:.1f} MiB")


if __name__ == "__main__":
    main()
