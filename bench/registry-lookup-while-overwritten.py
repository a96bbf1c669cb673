#!/usr/bin/env python3
"""Streaming lookups while the registry file in use is written over in place.

Runs --batches lookups of --lines addresses each through COMMAND (addresses on stdin,
one answer line each on stdout; default "build/ormel --lookup -") while a loop copies
two different registry files with cp, alternately, over the documents copy the
command opens (ORMEL_DOCUMENTS_DIR is a temporary directory). cp writes over the
file in place: it cuts it to nothing, then writes the new bytes.

Each batch must end by itself with exit status 0, not by a signal (a registry that
searched the file in place would die of SIGBUS), and answer every address: as many
lines as addresses, each starting with its address, with the address alone or six
texts after it. Warnings on stderr (a copy refused while being written, the shipped
one used instead) are counted, not failures.

Usage: bench/registry-lookup-while-overwritten.py [--command "build/ormel --lookup -"]
           [--batches 60] [--lines 30000] [--registry resources/data/ccTLD.dat]
"""
import argparse
import collections
import os
import pathlib
import random
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile
import threading

root = pathlib.Path(__file__).resolve().parent.parent


def split_file(data):
    """The header (count byte and registry records) and the 24-byte range records."""
    start = 1 + 12 * data[0]
    count = (len(data) - start) // 24
    return data[:start], [data[start + 24 * i:start + 24 * (i + 1)] for i in range(count)]


def quad(address):
    return f"{address >> 24}.{(address >> 16) & 255}.{(address >> 8) & 255}.{address & 255}"


class Copier(threading.Thread):
    """cp of the two files over the target, alternately, until stopped."""

    def __init__(self, sources, target):
        super().__init__(daemon=True)
        self.sources, self.target = sources, target
        self.stopping = threading.Event()
        self.copies = 0
        self.failures = 0

    def run(self):
        while not self.stopping.is_set():
            source = self.sources[self.copies % 2]
            if subprocess.run(["cp", str(source), str(self.target)]).returncode != 0:
                self.failures += 1
            self.copies += 1


def batch_addresses(generator, ranges, count):
    lines = []
    for _ in range(count):
        if generator.random() < 0.5:
            lines.append(quad(generator.getrandbits(32)))
        else:
            first, end = struct.unpack_from("<II", generator.choice(ranges))
            lines.append(quad(generator.randrange(first, end)))
    return lines


def check_batch(addresses, result):
    """What is wrong with a batch's run, or None."""
    if result.returncode < 0:
        return f"killed by signal {-result.returncode}"
    if result.returncode != 0:
        return f"exit status {result.returncode}: {result.stderr.decode(errors='replace')[:300]}"
    answers = result.stdout.decode(errors="replace").split("\n")
    if answers[-1] != "":
        return "the last answer line has no newline"
    answers.pop()
    if len(answers) != len(addresses):
        return f"{len(answers)} answer lines for {len(addresses)} addresses"
    for number, (address, answer) in enumerate(zip(addresses, answers), 1):
        fields = answer.split("\t")
        if fields[0] != address or len(fields) not in (1, 7):
            return f"line {number}: {answer!r} does not answer {address}"
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--command", default=f"{root / 'build' / 'ormel'} --lookup -")
    parser.add_argument("--batches", type=int, default=60)
    parser.add_argument("--lines", type=int, default=30000)
    parser.add_argument("--registry", default=str(root / "resources" / "data" / "ccTLD.dat"))
    args = parser.parse_args()
    command = shlex.split(args.command)
    data = pathlib.Path(args.registry).read_bytes()
    header, ranges = split_file(data)
    generator = random.Random(20240616)
    failures = 0
    warnings = collections.Counter()
    with tempfile.TemporaryDirectory(prefix="ormel-overwrite-") as scratch:
        scratch = pathlib.Path(scratch)
        documents = scratch / "documents"
        documents.mkdir()
        whole, halved = scratch / "whole.dat", scratch / "halved.dat"
        whole.write_bytes(data)
        halved.write_bytes(header + b"".join(ranges[::2]))  # every other range: smaller
        in_use = documents / "ccTLD.dat"
        shutil.copyfile(whole, in_use)
        environment = dict(os.environ, ORMEL_DOCUMENTS_DIR=str(documents),
                           QT_QPA_PLATFORM="offscreen")
        copier = Copier([halved, whole], in_use)
        copier.start()
        try:
            for batch in range(1, args.batches + 1):
                addresses = batch_addresses(generator, ranges, args.lines)
                result = subprocess.run(command, input=("\n".join(addresses) + "\n").encode(),
                                        capture_output=True, env=environment, timeout=300)
                warnings.update(result.stderr.decode(errors="replace").splitlines())
                problem = check_batch(addresses, result)
                if problem:
                    failures += 1
                    print(f"batch {batch}: {problem}", file=sys.stderr)
        finally:
            copier.stopping.set()
            copier.join()
    print(f"{args.batches} batches of {args.lines} addresses through {args.command}: "
          f"{args.batches - failures} complete, {failures} failed; {copier.copies} copies over "
          f"the file in use ({copier.failures} failed); {sum(warnings.values())} lines on stderr")
    for text, count in warnings.most_common():
        print(f"{count:6} x {text}")
    return 1 if failures or copier.copies == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
