"""TarnwickCli against the real services it is for: SMTPS, LDAPS and web servers from Debian's
packages, each started on loopback with a configuration of its own."""

import os
import tempfile
import unittest

import programs
import tls_services
from tarnwick_texts import (ANSWERED, CONNECTED, DOWNLOADED, DOWNLOADING, IMPROPER, SAVED,
                            START, connecting, saving)

# Services that serve the probe when set for legacy clients, and how many fetches in a row
# each gets per certificate. Those of the second group write their ServerHello on its own and
# the Certificate right after it, so that how their answer falls into receives varies from
# run to run: they get more runs.
ANSWER_AT_ONCE = (("exim4 SMTPS", 5), ("lighttpd mod_nss", 5))
SERVER_HELLO_ALONE = (("slapd LDAPS", 20), ("lighttpd mod_mbedtls", 20))
# (service, legacy settings?) that answer the probe with an alert or a close.
REFUSING = (("exim4 SMTPS", False), ("lighttpd mod_nss", False), ("slapd LDAPS", False),
            ("lighttpd mod_mbedtls", False),
            # OpenSSL as Debian builds it has none of the probe's suites at any setting.
            ("nginx", True), ("nginx", False),
            # Closes on a ClientHello without an extensions block, before any answer.
            ("lighttpd mod_gnutls", True), ("lighttpd mod_gnutls", False))
# A refusal is an alert or a close, at once; the fetcher's own time-out is five seconds.
REFUSAL_SECONDS = 1.0


class TlsServices(unittest.TestCase):
    program = None

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.served = tls_services.make_certificates(cls.folder.name)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def running(self, service, served, legacy):
        folder = tempfile.mkdtemp(prefix=service.replace(" ", "_") + "_", dir=self.folder.name)
        return tls_services.running(service, folder, served, legacy)

    def fetch(self, port, out):
        return self.program.run(["127.0.0.1", str(port), out], timeout=60)

    def assertEveryFetchSavesTheLeaf(self, services):
        out = os.path.join(self.folder.name, "fetched.der")
        for service, fetches in services:
            for name, served in self.served.items():
                with self.subTest(service=service, certificate=name):
                    failures = {}
                    with self.running(service, served, legacy=True) as server:
                        for run in range(1, fetches + 1):
                            result = self.fetch(server.port, out)
                            expected = (START + connecting("127.0.0.1", server.port) + CONNECTED
                                        + ANSWERED + DOWNLOADING + DOWNLOADED + saving(out)
                                        + SAVED)
                            saved = None
                            if os.path.exists(out):
                                with open(out, "rb") as f:
                                    saved = f.read()
                                os.remove(out)
                            if result.stdout != expected or saved != served.leaf_der:
                                ending = (result.stdout.strip().splitlines() or ["nothing"])[-1]
                                ending += (", no file" if saved is None
                                           else ", a file of %d bytes" % len(saved))
                                failures.setdefault(ending.strip(), []).append(run)
                    if failures:
                        self.fail("%d of %d fetches failed: %s" % (
                            sum(len(runs) for runs in failures.values()), fetches,
                            "; ".join("runs %s: %s" % (runs, ending)
                                      for ending, runs in failures.items())))

    def test_services_that_send_their_answer_at_once_give_the_leaf_every_time(self):
        self.assertEveryFetchSavesTheLeaf(ANSWER_AT_ONCE)

    def test_services_that_send_their_server_hello_alone_give_the_leaf_every_time(self):
        self.assertEveryFetchSavesTheLeaf(SERVER_HELLO_ALONE)

    def test_refusing_services_get_the_improper_response_report_at_once(self):
        served = self.served["chain"]
        out = os.path.join(self.folder.name, "refused.der")
        for service, legacy in REFUSING:
            with self.subTest(service=service, legacy=legacy):
                with self.running(service, served, legacy) as server:
                    result = self.fetch(server.port, out)
                self.assertEqual(result.stdout,
                                 START + connecting("127.0.0.1", server.port) + CONNECTED
                                 + IMPROPER)
                self.assertLess(result.seconds, REFUSAL_SECONDS)
                self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    programs.main([TlsServices])
