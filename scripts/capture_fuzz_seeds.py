#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora afresh: real answers of gnutls-serv on loopback to the
fetcher's probe, and a few hand-made inputs for every target.

    scripts/capture_fuzz_seeds.py

Each capture starts a server with a new self-signed certificate, so the captured bytes differ
from run to run in their random and certificate fields, never in their layout."""

import os
import shutil
import socket
import struct
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests"))

from loopback_servers import PROBE, tls_answer  # noqa: E402
from tls_peers import LEGACY_PRIORITY, Server, make_certificate  # noqa: E402

FETCH_CORPUS = os.path.join(ROOT, "cert_fetch", "fuzz_corpus")
SWITCH_CORPUS = os.path.join(ROOT, "ipv6_switch", "fuzz_corpus")
CAPACITY = 20000  # what the fetcher's run passes


def capture(port):
    """Connects, sends the probe and keeps what arrives until the server falls silent."""
    answer = b""
    with socket.create_connection(("127.0.0.1", port), timeout=5) as conn:
        conn.sendall(PROBE)
        conn.settimeout(1.0)
        try:
            while len(answer) < 65536:
                chunk = conn.recv(65536)
                if not chunk:
                    break
                answer += chunk
        except socket.timeout:
            pass
    return answer


def gnutls_answer(folder, priority, key_bits):
    cert, key, _ = make_certificate(folder, key_bits=key_bits)
    command = lambda port: ["gnutls-serv", "--x509certfile", cert, "--x509keyfile", key,
                            "--port", str(port), "--priority", priority]
    with Server(command, os.path.join(folder, "server.log")) as server:
        # The server's first accept came from the readiness check; give it a moment.
        time.sleep(0.2)
        return capture(server.port)


def receive_seed(fails, cuts, answer, capacity=CAPACITY):
    """Input of the streamed-answer target: how the stream ends (0: the server closes, 1: a
    receive fails), the capacity, the cuts, then the answer."""
    return (struct.pack(">BHB", fails, capacity, len(cuts))
            + b"".join(struct.pack(">H", cut) for cut in cuts) + answer)


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def main():
    for target in ("response_parser", "certificate_receive", "port_text", "dotted_ipv4"):
        shutil.rmtree(os.path.join(FETCH_CORPUS, target), ignore_errors=True)
    shutil.rmtree(os.path.join(SWITCH_CORPUS, "registry_value"), ignore_errors=True)

    parser = os.path.join(FETCH_CORPUS, "response_parser")
    receive = os.path.join(FETCH_CORPUS, "certificate_receive")
    with tempfile.TemporaryDirectory() as folder:
        legacy = gnutls_answer(folder, LEGACY_PRIORITY, 2048)
    with tempfile.TemporaryDirectory() as folder:
        legacy_big = gnutls_answer(folder, LEGACY_PRIORITY, 4096)
    with tempfile.TemporaryDirectory() as folder:
        refused = gnutls_answer(folder, "NORMAL:-VERS-TLS1.0", 2048)
    for name, answer in (("gnutls_legacy_rsa2048", legacy), ("gnutls_legacy_rsa4096", legacy_big),
                         ("gnutls_without_tls10", refused)):
        if not answer:
            sys.exit("gnutls-serv sent nothing for " + name)
        write(parser, name + ".bin", answer)
        print("captured %s: %d bytes" % (name, len(answer)))

    certificate = bytes((0x30 + 7 * i) & 0xFF for i in range(1310))
    write(parser, "same_record.bin", tls_answer(certificate, own_record=False))
    write(parser, "longest_hello.bin", tls_answer(certificate[:500], hello_length=191))
    write(parser, "empty_certificate.bin", tls_answer(b""))
    write(parser, "plain_text.bin", b"HTTP/1.1 400 Bad Request\r\n" + b"x" * 80)

    # The ServerHello record alone first, as several servers send it, then the rest in parts.
    write(receive, "legacy_split.bin", receive_seed(0, [79, 400], legacy))
    write(receive, "legacy_closed.bin", receive_seed(0, [400], legacy[:700]))
    write(receive, "legacy_failing.bin", receive_seed(1, [88, 400], legacy[:700]))
    write(receive, "legacy_small_buffer.bin", receive_seed(0, [400], legacy, capacity=500))
    write(receive, "legacy_big_split.bin", receive_seed(0, [79, 1024, 1025, 3000], legacy_big))

    for i, text in enumerate((b"443", b" \t+636", b"-5", b"70000", b"2147483648",
                              b"-99999999999999999999", b"0x1BB", b"443abc")):
        write(os.path.join(FETCH_CORPUS, "port_text"), "port%d" % i, text)
    for i, text in enumerate((b"127.0.0.1", b"192.0.2.255", b"1.2.3.4.5", b"123456789012345",
                              b"1234567890123456", b"localhost", b"...")):
        write(os.path.join(FETCH_CORPUS, "dotted_ipv4"), "address%d" % i, text)

    # Choices byte: bits 0-1 status/enable/disable, bit 2 WOW64, bit 3 the value exists.
    dword = 4
    for name, choices, kind, data in (
            ("enabled_status", 0x08, dword, b"\0\0\0\0"),
            ("disabled_status", 0x0C, dword, b"\xff\xff\xff\xff"),
            ("partial_enable", 0x09, dword, b"\x20\0\0\0"),
            ("missing_disable", 0x02, dword, b""),
            ("short_binary_status", 0x08, 3, b"\xff\xff"),
            ("qword_disable", 0x0A, 11, b"\xff" * 8)):
        write(os.path.join(SWITCH_CORPUS, "registry_value"), name,
              bytes((choices, kind)) + data)


if __name__ == "__main__":
    main()
