#!/usr/bin/env python3
"""`ormel --lookup --resolve -` against a DNS server that answers late.

In a mount and network namespace of its own (the script runs itself under `unshare
--mount --net`; root), /etc/resolv.conf names 127.0.0.1 alone, and a responder there
answers every PTR query with "host-A-B-C-D.example" after --delay ms, but never
answers for every --silent-every-th address. --addresses distinct addresses go
through the command once without and then with --resolve; the wall times are
printed beside the time one query after the other would take.

Every answer line must end in its address's name (empty for the silent ones), in
the order of the input.

Usage: bench/registry-resolve-parallel.py [--build build] [--addresses 200]
           [--delay 200] [--silent-every 20]
"""
import argparse
import os
import pathlib
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

root = pathlib.Path(__file__).resolve().parent.parent


def question_of(query):
    """The question section (name, type, class) and the labels of its name."""
    at, labels = 12, []
    while query[at] != 0:
        labels.append(query[at + 1:at + 1 + query[at]].decode())
        at += 1 + query[at]
    return query[12:at + 5], labels


def wire_name(dotted):
    return b"".join(bytes([len(label)]) + label.encode() for label in dotted.split(".")) + b"\0"


def host_of(address):
    return "host-" + address.replace(".", "-") + ".example"


def serve(sock, delay, silent):
    """Answers each query after `delay` seconds, on a timer of its own."""
    while True:
        query, sender = sock.recvfrom(1500)
        question, labels = question_of(query)
        address = ".".join(reversed(labels[:4]))
        if address in silent:
            continue
        name = wire_name(host_of(address))
        reply = (query[:2] + struct.pack(">HHHHH", 0x8180, 1, 1, 0, 0) + question +
                 struct.pack(">HHHIH", 0xC00C, 12, 1, 60, len(name)) + name)
        threading.Timer(delay, sock.sendto, (reply, sender)).start()


def run(command, lines):
    start = time.monotonic()
    done = subprocess.run(command, input=lines, capture_output=True, check=False)
    return time.monotonic() - start, done


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--addresses", type=int, default=200)
    parser.add_argument("--delay", type=int, default=200, help="ms before each answer")
    parser.add_argument("--silent-every", type=int, default=20)
    args = parser.parse_args()
    if os.environ.get("ORMEL_BENCH_IN_NAMESPACE") != "1":
        environment = dict(os.environ, ORMEL_BENCH_IN_NAMESPACE="1")
        os.execvpe("unshare", ["unshare", "--mount", "--net", sys.executable, __file__] +
                   sys.argv[1:], environment)

    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    resolv = tempfile.NamedTemporaryFile("w", suffix=".conf", delete=False)
    resolv.write("nameserver 127.0.0.1\n")
    resolv.close()
    subprocess.run(["mount", "--make-rprivate", "/"], check=True)
    subprocess.run(["mount", "--bind", resolv.name, "/etc/resolv.conf"], check=True)

    addresses = [f"41.{i // 250}.{i % 250}.{1 + i % 200}" for i in range(args.addresses)]
    silent = set(addresses[args.silent_every - 1::args.silent_every])
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.bind(("127.0.0.1", 53))
    threading.Thread(target=serve, args=(sock, args.delay / 1000, silent), daemon=True).start()

    ormel = str(pathlib.Path(args.build) / "ormel")
    lines = "".join(a + "\n" for a in addresses).encode()
    plain, _ = run([ormel, "--lookup", "-"], lines)
    resolved, done = run([ormel, "--lookup", "--resolve", "-"], lines)
    answers = done.stdout.decode().splitlines()
    expected = ["" if a in silent else host_of(a) for a in addresses]
    wrong = sum(1 for a, line, name in zip(addresses, answers, expected)
                if not line.startswith(a + "\t") or line.split("\t")[-1] != name)
    wrong += abs(len(answers) - len(addresses))
    print(f"addresses: {args.addresses}, answer delay {args.delay} ms, "
          f"{len(silent)} never answered")
    print(f"--lookup:            {plain * 1000:.0f} ms")
    print(f"--lookup --resolve:  {resolved * 1000:.0f} ms (exit {done.returncode}); "
          f"one query after the other: about "
          f"{(len(addresses) - len(silent)) * args.delay / 1000 + len(silent):.0f} s")
    print(f"lines with a wrong or missing name: {wrong}")
    sys.exit(0 if wrong == 0 and done.returncode == 0 else 1)


if __name__ == "__main__":
    main()
