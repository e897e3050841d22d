"""Scripted TCP servers on 127.0.0.1 for the fetcher's program tests."""

import select
import socket
import struct
import threading
import time

PROBE = bytes.fromhex(
    "16 03 01 00 41 01 00 00 3D 03 01 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 16 00 04"
    "00 05 00 0A 00 09 00 64 00 62 00 03 00 06 00 13"
    "00 12 00 63 01 00")


def bytes24(value):
    return struct.pack(">I", value)[1:]


def tls_answer(certificate, hello_length=70, own_record=True):
    """A ServerHello followed by a Certificate message whose first entry is certificate."""
    answer = b"\x16\x03\x01\x10\x00\x02" + bytes24(hello_length) + b"\x42" * hello_length
    if own_record:
        answer += b"\x16\x03\x01\x10\x00"
    n = len(certificate)
    return answer + b"\x0b" + bytes24(n + 6) + bytes24(n + 3) + bytes24(n) + certificate


class ScriptedServer:
    """Accepts one connection, reads the probe, then plays its script: a list of byte strings
    to send, with a pause between them; then it closes, or holds the connection open until
    the client goes away when hold is true."""

    def __init__(self, script=(), pause=0.5, hold=False, read_probe=True):
        self.script = list(script)
        self.pause = pause
        self.hold = hold
        self.read_probe = read_probe
        self.probe = b""
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(1)
        self.port = self.listener.getsockname()[1]
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._serve, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stopping.set()
        self.thread.join(20)
        self.listener.close()

    def _wait_readable(self, sock, seconds):
        end = time.monotonic() + seconds
        while not self.stopping.is_set() and time.monotonic() < end:
            if select.select([sock], [], [], 0.05)[0]:
                return True
        return False

    def _serve(self):
        if not self._wait_readable(self.listener, 60):
            return
        conn, _ = self.listener.accept()
        with conn:
            if self.read_probe:
                while len(self.probe) < len(PROBE) and self._wait_readable(conn, 10):
                    chunk = conn.recv(len(PROBE) - len(self.probe))
                    if not chunk:
                        break
                    self.probe += chunk
            for i, chunk in enumerate(self.script):
                if i:
                    time.sleep(self.pause)
                conn.sendall(chunk)
            if self.hold:
                # Until the client closes its side (or the test ends).
                while self._wait_readable(conn, 60):
                    try:
                        if not conn.recv(4096):
                            break
                    except OSError:
                        break


class UnansweredListener:
    """A listener whose accept queue is full, so that new connection attempts go unanswered."""

    def __init__(self):
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(0)
        self.port = self.listener.getsockname()[1]
        self.fillers = []

    def __enter__(self):
        for _ in range(16):
            filler = socket.socket()
            filler.setblocking(False)
            filler.connect_ex(("127.0.0.1", self.port))
            self.fillers.append(filler)
            if not select.select([], [filler], [], 0.5)[1]:
                return self  # this one's SYN was dropped: the queue is full
        raise RuntimeError("accept queue never filled")

    def __exit__(self, *exc):
        for filler in self.fillers:
            filler.close()
        self.listener.close()
