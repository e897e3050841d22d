"""TarnwickCli against real TLS stacks on loopback."""

import os
import tempfile
import unittest

import programs
import tls_peers
from tarnwick_texts import (ANSWERED, CONNECTED, DOWNLOADED, DOWNLOADING, IMPROPER, SAVED,
                            START, connecting, saving)


class TlsPeers(unittest.TestCase):
    program = None

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.cert, cls.key, cls.der = tls_peers.make_certificate(cls.folder.name)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def setUp(self):
        self.out = os.path.join(self.folder.name, "fetched.der")
        if os.path.exists(self.out):
            os.remove(self.out)

    def test_legacy_server_gives_its_certificate_byte_for_byte(self):
        log = os.path.join(self.folder.name, "gnutls.log")
        with tls_peers.legacy_gnutls(self.cert, self.key, log) as server:
            result = self.program.run(["127.0.0.1", str(server.port), self.out], timeout=60)
        self.assertEqual(result.stdout,
                         START + connecting("127.0.0.1", server.port) + CONNECTED + ANSWERED
                         + DOWNLOADING + DOWNLOADED + saving(self.out) + SAVED)
        with open(self.out, "rb") as saved:
            self.assertEqual(saved.read(), self.der)

    def test_modern_server_refuses_the_probe_with_an_alert(self):
        log = os.path.join(self.folder.name, "openssl.log")
        with tls_peers.default_openssl(self.cert, self.key, log) as server:
            result = self.program.run(["127.0.0.1", str(server.port), self.out], timeout=60)
        self.assertEqual(result.stdout,
                         START + connecting("127.0.0.1", server.port) + CONNECTED + IMPROPER)
        self.assertFalse(os.path.exists(self.out))


if __name__ == "__main__":
    programs.main([TlsPeers])
