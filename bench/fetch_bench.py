#!/usr/bin/env python3
"""Measures the native fetcher on this machine, against one local gnutls-serv on loopback
that speaks the legacy protocol, and prints a table:

- wall time of a fetch, median over the runs, paired run by run with gnutls-cli fetching the
  same certificate with the same priority string, and their ratio;
- the total duration of a fetch from a server that accepts and never answers, against its
  bound of the time-out plus the grace period;
- the fetcher's peak memory, and the sizes of both Windows images.

    bench/fetch_bench.py [--runs N] [--fetcher PATH] [--windows-build DIR]

It runs on demand and is not a test: it checks only that every fetch brought the server's
certificate."""

import argparse
import os
import re
import ssl
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests"))

from loopback_servers import ScriptedServer  # noqa: E402
from tls_peers import LEGACY_PRIORITY, legacy_gnutls, make_certificate  # noqa: E402

TIMEOUT_BOUND_MS = 5000 + 500  # the time-out, then the grace period for the worker


def timed(command, env=None):
    """Wall time of one run in ms, from spawn to exit, and its standard output. The output
    goes to a file, not a pipe, so that reading it costs the measurement nothing."""
    with tempfile.TemporaryFile() as out, open(os.devnull, "rb") as nothing:
        start = time.perf_counter()
        pid = os.posix_spawnp(command[0], command, env or os.environ, file_actions=[
            (os.POSIX_SPAWN_DUP2, nothing.fileno(), 0),
            (os.POSIX_SPAWN_DUP2, out.fileno(), 1),
            (os.POSIX_SPAWN_DUP2, out.fileno(), 2)])
        os.waitpid(pid, 0)
        ms = (time.perf_counter() - start) * 1000.0
        out.seek(0)
        return ms, out.read().decode("latin-1")


def fetch(fetcher, port, out):
    if os.path.exists(out):
        os.remove(out)
    return timed([fetcher, "127.0.0.1", str(port), out], env=dict(os.environ, PROMPT="$P$G"))


def peer_fetch(port):
    # Standard input at its end: the client closes right after the handshake. No
    # verification, as the fetcher does none.
    return timed(["gnutls-cli", "--print-cert", "--insecure", "--priority=" + LEGACY_PRIORITY,
                  "-p", str(port), "127.0.0.1"])


def pem_certificates(text):
    return [ssl.PEM_cert_to_DER_cert(block) for block in
            re.findall(r"-----BEGIN CERTIFICATE-----.*?-----END CERTIFICATE-----", text, re.S)]


def peak_memory_kb(fetcher, port, out):
    done = subprocess.run(["/usr/bin/time", "-v", fetcher, "127.0.0.1", str(port), out],
                          capture_output=True, stdin=subprocess.DEVNULL, timeout=60,
                          env=dict(os.environ, PROMPT="$P$G"))
    found = re.search(r"Maximum resident set size \(kbytes\): (\d+)", done.stderr.decode())
    return int(found.group(1)) if found else None


def size_of(path):
    return "%d bytes" % os.path.getsize(path) if os.path.exists(path) else "(not built)"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=25)
    parser.add_argument("--fetcher",
                        default=os.path.join(ROOT, "build", "native", "cert_fetch", "TarnwickCli"))
    parser.add_argument("--windows-build", default=os.path.join(ROOT, "build", "windows"))
    options = parser.parse_args()
    if options.runs < 20:
        parser.error("at least 20 runs")

    ours, theirs, floor = [], [], []
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "server.der")
        cert, key, der = make_certificate(folder)
        with legacy_gnutls(cert, key, os.path.join(folder, "gnutls.log")) as server:
            for _ in range(options.runs):
                ms, text = fetch(options.fetcher, server.port, out)
                with open(out, "rb") as saved:
                    if saved.read() != der:
                        sys.exit("the fetcher did not bring the server's certificate:\n" + text)
                ours.append(ms)
                ms, text = peer_fetch(server.port)
                if der not in pem_certificates(text):
                    sys.exit("gnutls-cli did not bring the server's certificate:\n" + text)
                theirs.append(ms)
                # What starting and ending any process costs here, in the same conditions.
                floor.append(timed(["/bin/true"])[0])
            memory = peak_memory_kb(options.fetcher, server.port, out)
        with ScriptedServer([], hold=True) as silent:
            silent_ms, text = fetch(options.fetcher, silent.port, out)
        if "Server did not send any response" not in text:
            sys.exit("the fetch from a silent server did not end as a time-out:\n" + text)

    ratios = [a / b for a, b in zip(ours, theirs)]
    median_ours, median_theirs = statistics.median(ours), statistics.median(theirs)
    median_floor = statistics.median(floor)
    rows = [
        ("fetcher, median wall time (%d runs)" % len(ours),
         "%.2f ms (min %.2f, max %.2f)" % (median_ours, min(ours), max(ours))),
        ("gnutls-cli --print-cert, median (same runs)",
         "%.2f ms (min %.2f, max %.2f)" % (median_theirs, min(theirs), max(theirs))),
        # gnutls-cli waits after the handshake for what the server sends next (its TLS 1.3
        # session tickets); on loopback that wait takes either almost nothing or some 40 ms,
        # so its median can fall in either mode.
        ("gnutls-cli runs over twice its fastest",
         "%d of %d" % (sum(1 for ms in theirs if ms > 2 * min(theirs)), len(theirs))),
        ("ratio of the medians, fetcher / gnutls-cli", "%.3f" % (median_ours / median_theirs)),
        ("median of the run-by-run ratios", "%.3f" % statistics.median(ratios)),
        ("ratio of the fastest runs", "%.3f" % (min(ours) / min(theirs))),
        ("/bin/true, median (same runs): any process", "%.2f ms" % median_floor),
        ("ratio above that floor",
         "%.3f" % ((median_ours - median_floor) / (median_theirs - median_floor))),
        ("silent server: total duration vs. bound",
         "%.0f ms vs. %d ms" % (silent_ms, TIMEOUT_BOUND_MS)),
        ("fetcher peak memory (maximum resident set)",
         "%d KiB" % memory if memory is not None else "(unknown)"),
        ("TarnwickCli.exe", size_of(os.path.join(options.windows_build, "cert_fetch",
                                                 "TarnwickCli.exe"))),
        ("BrellowCli.exe", size_of(os.path.join(options.windows_build, "ipv6_switch",
                                                "BrellowCli.exe"))),
    ]
    width = max(len(name) for name, _ in rows)
    print("%-*s  %s" % (width, "measure", "value"))
    print("%s  %s" % ("-" * width, "-" * 36))
    for name, value in rows:
        print("%-*s  %s" % (width, name, value))


if __name__ == "__main__":
    main()
