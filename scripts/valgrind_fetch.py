#!/usr/bin/env python3
"""The native fetcher under valgrind on loopback: a fetch from gnutls-serv, a server that
accepts and never answers (the time-out), and a refused connection. Each run must end with
no memory error and no leak.

    scripts/valgrind_fetch.py [path to the native TarnwickCli]"""

import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests"))

from loopback_servers import ScriptedServer  # noqa: E402
from programs import free_port  # noqa: E402
from tls_peers import legacy_gnutls, make_certificate  # noqa: E402

VALGRIND = ["valgrind", "--error-exitcode=99", "--leak-check=full",
            "--show-leak-kinds=definite,possible", "--errors-for-leak-kinds=definite,possible",
            "--track-origins=yes"]


def run(fetcher, name, port, out, expect_in_output):
    # PROMPT set: the fetcher counts as started from a command prompt, as in real use.
    env = dict(os.environ, PROMPT="$P$G")
    done = subprocess.run(VALGRIND + [fetcher, "127.0.0.1", str(port), out],
                          capture_output=True, env=env, timeout=120)
    log = done.stderr.decode("latin-1")
    summary = [line.split("== ", 1)[-1] for line in log.splitlines()
               if "ERROR SUMMARY" in line or "definitely lost" in line or "All heap" in line]
    ok = done.returncode == 0 and expect_in_output in done.stdout.decode("latin-1")
    print("%-10s %s  %s" % (name, "ok" if ok else "FAILED", "; ".join(summary)))
    if not ok:
        print(log, file=sys.stderr)
    return ok


def main():
    fetcher = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        ROOT, "build", "native", "cert_fetch", "TarnwickCli")
    results = []
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "server.der")
        cert, key, der = make_certificate(folder)
        with legacy_gnutls(cert, key, os.path.join(folder, "gnutls.log")) as server:
            results.append(run(fetcher, "success", server.port, out, "Success !!!"))
        with open(out, "rb") as saved:
            if saved.read() != der:
                print("success    FAILED  the saved certificate is not the server's")
                results.append(False)
        with ScriptedServer([], hold=True) as server:
            results.append(run(fetcher, "time-out", server.port, out,
                               "Server did not send any response"))
        results.append(run(fetcher, "refused", free_port(), out,
                           "Make sure server address/port number is correct"))
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
