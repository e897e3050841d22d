"""Real TLS servers on loopback for the fetcher: gnutls-serv with a priority that still
speaks TLS 1.0 with the old RSA suites, and a default openssl s_server."""

import os
import socket
import subprocess
import time

LEGACY_PRIORITY = "NORMAL:+VERS-TLS1.0:+3DES-CBC:+ARCFOUR-128:+RSA:+SHA1:+MD5:%COMPAT"


def make_certificate(folder, name="localhost"):
    """A fresh self-signed certificate; returns (cert.pem, key.pem, its DER bytes)."""
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                    "-out", cert, "-days", "30", "-subj", "/CN=" + name],
                   check=True, capture_output=True)
    der = subprocess.run(["openssl", "x509", "-in", cert, "-outform", "der"], check=True,
                         capture_output=True).stdout
    return cert, key, der


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


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
    """Starts a server command on a free loopback port; stops it by its own process id."""

    def __init__(self, command_for_port, log_path):
        self.port = free_port()
        self.log = open(log_path, "wb")
        self.process = subprocess.Popen(command_for_port(self.port), stdout=self.log,
                                        stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def __enter__(self):
        try:
            wait_until_accepting(self.port, self.process)
        except Exception:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
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
