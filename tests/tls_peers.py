"""Real TLS servers on loopback for the fetcher: gnutls-serv with a priority that still
speaks TLS 1.0 with the old RSA suites, and a default openssl s_server."""

import os
import socket
import subprocess
import time

from programs import free_port

LEGACY_PRIORITY = "NORMAL:+VERS-TLS1.0:+3DES-CBC:+ARCFOUR-128:+RSA:+SHA1:+MD5:%COMPAT"


def make_certificate(folder, name="localhost", key_bits=2048):
    """A fresh self-signed certificate with an RSA key of key_bits; returns (cert.pem,
    key.pem, its DER bytes)."""
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:%d" % key_bits, "-nodes",
                    "-keyout", key, "-out", cert, "-days", "30", "-subj", "/CN=" + name],
                   check=True, capture_output=True)
    der = subprocess.run(["openssl", "x509", "-in", cert, "-outform", "der"], check=True,
                         capture_output=True).stdout
    return cert, key, der


def wait_until_accepting(port, process, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if process.poll() is not None:
            raise RuntimeError("server ended early with %d" % process.returncode)
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1):
                return
        except OSError:
            time.sleep(0.1)
    raise RuntimeError("server never accepted on port %d" % port)


class Server:
    """Starts a server command on a free loopback port; stops it by its own process id. A
    port is free only until someone binds it: a server that ends before it accepts is started
    again, a few times, on another free port."""

    ATTEMPTS = 3

    def __init__(self, command_for_port, log_path):
        self.command_for_port = command_for_port
        self.log = open(log_path, "wb")
        self.process = None
        self.port = None

    def __enter__(self):
        for attempt in range(self.ATTEMPTS):
            self.port = free_port()
            self.process = subprocess.Popen(self.command_for_port(self.port), stdout=self.log,
                                            stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
            try:
                wait_until_accepting(self.port, self.process)
                return self
            except RuntimeError:
                ended_early = self.process.poll() is not None
                if not ended_early or attempt == self.ATTEMPTS - 1:
                    self.__exit__()
                    raise
        raise AssertionError("not reached")

    def __exit__(self, *exc):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()


def legacy_gnutls(cert, key, log_path):
    return Server(lambda port: ["gnutls-serv", "--x509certfile", cert, "--x509keyfile", key,
                                "--port", str(port), "--priority", LEGACY_PRIORITY],
                  log_path)


def default_openssl(cert, key, log_path):
    return Server(lambda port: ["openssl", "s_server", "-accept", "127.0.0.1:%d" % port,
                                "-cert", cert, "-key", key, "-quiet"],
                  log_path)
