"""TarnwickCli against scripted servers on loopback: every way a fetch can end."""

import os
import tempfile
import unittest

import programs
from loopback_servers import PROBE, ScriptedServer, UnansweredListener, tls_answer
from tarnwick_texts import (ANSWERED, CONNECT_FAILED, CONNECTED, DOWNLOADED, DOWNLOADING,
                            IMPROPER, INCOMPLETE, NO_FILE, NO_RESPONSE, SAVED, START,
                            WRITE_FAILED, connecting, saving)

CERTIFICATE = bytes((0x30 + 7 * i) & 0xFF for i in range(1310))
# Generous bounds for a loaded two-core machine; the time-out itself is five seconds.
TIMEOUT_LOWER, TIMEOUT_UPPER = 4.5, 20.0


def fetched(port, path):
    return (START + connecting("127.0.0.1", port) + CONNECTED + ANSWERED + DOWNLOADING
            + DOWNLOADED + saving(path))


class Fetch(unittest.TestCase):
    program = None

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.out = os.path.join(self.folder.name, "server.der")

    def tearDown(self):
        self.folder.cleanup()

    def fetch(self, port, path=None):
        result = self.program.run(["127.0.0.1", str(port), path or self.out], timeout=90)
        self.assertEqual(result.returncode, 0)
        return result

    def assertNoFile(self):
        self.assertFalse(os.path.exists(self.out))

    def assertSaved(self, certificate):
        with open(self.out, "rb") as saved:
            self.assertEqual(saved.read(), certificate)

    def test_certificate_in_one_answer_or_split_over_two(self):
        answer = tls_answer(CERTIFICATE)
        for name, script in (("one answer", [answer + b"\x16\x03\x01"]),
                             ("split", [answer[:1024], answer[1024:]]),
                             ("same record", [tls_answer(CERTIFICATE, own_record=False)])):
            with self.subTest(name), ScriptedServer(script, hold=True) as server:
                result = self.fetch(server.port)
                self.assertEqual(server.probe, PROBE)
                self.assertEqual(result.stdout, fetched(server.port, self.out) + SAVED)
                self.assertSaved(CERTIFICATE)

    def test_answer_cut_anywhere_is_read_whole(self):
        answer = tls_answer(CERTIFICATE)
        pieces = [answer[i:i + 40] for i in range(0, len(answer), 40)]
        for name, script, pause in (
                ("ServerHello record alone first", [answer[:79], answer[79:]], 0.2),
                ("cut inside the Certificate header", [answer[:88], answer[88:]], 0.2),
                ("three parts", [answer[:50], answer[50:600], answer[600:]], 0.2),
                ("40 bytes every 20 ms", pieces, 0.02)):
            with self.subTest(name), ScriptedServer(script, pause=pause, hold=True) as server:
                result = self.fetch(server.port)
                self.assertEqual(result.stdout, fetched(server.port, self.out) + SAVED)
                self.assertSaved(CERTIFICATE)

    def test_plain_refusal_on_a_connection_held_open_is_judged_at_once(self):
        for name, reply in (("SMTP banner", b"220 mail.example ESMTP ready\r\n"),
                            ("TLS alert", b"\x15\x03\x01\x00\x02\x02\x46")):
            with self.subTest(name), ScriptedServer([reply], hold=True) as server:
                result = self.fetch(server.port)
                self.assertEqual(result.stdout, START + connecting("127.0.0.1", server.port)
                                 + CONNECTED + IMPROPER)
                self.assertLess(result.seconds, 1.0 + self.program.start_seconds)
                self.assertNoFile()

    def test_certificate_that_trickles_ends_at_the_deadline(self):
        answer = tls_answer(CERTIFICATE)
        trickle = [answer[:200]] + [answer[i:i + 1] for i in range(200, 300)]
        with ScriptedServer(trickle, pause=0.1, hold=True) as server:
            result = self.fetch(server.port)
        self.assertEqual(result.stdout, START + connecting("127.0.0.1", server.port) + CONNECTED
                         + ANSWERED + DOWNLOADING + INCOMPLETE)
        self.assertTrue(TIMEOUT_LOWER < result.seconds < 6.0 + self.program.start_seconds,
                        result.seconds)
        self.assertNoFile()

    def test_answer_of_89_bytes_then_a_close_is_too_short_and_90_is_enough(self):
        ninety = tls_answer(b"\x7f", own_record=False)
        self.assertEqual(len(ninety), 90)
        with ScriptedServer([ninety[:89]]) as server:
            result = self.fetch(server.port)
        self.assertEqual(result.stdout,
                         START + connecting("127.0.0.1", server.port) + CONNECTED + IMPROPER)
        self.assertNoFile()
        with ScriptedServer([ninety], hold=True) as server:
            result = self.fetch(server.port)
        self.assertEqual(result.stdout, fetched(server.port, self.out) + SAVED)
        self.assertSaved(b"\x7f")

    def test_server_that_closes_without_sending(self):
        with ScriptedServer([]) as server:
            result = self.fetch(server.port)
        self.assertEqual(result.stdout,
                         START + connecting("127.0.0.1", server.port) + CONNECTED + IMPROPER)
        self.assertNoFile()

    def test_server_that_never_answers_times_out_as_no_response(self):
        with ScriptedServer([], hold=True) as server:
            result = self.fetch(server.port)
        self.assertEqual(result.stdout,
                         START + connecting("127.0.0.1", server.port) + CONNECTED + NO_RESPONSE)
        self.assertTrue(TIMEOUT_LOWER < result.seconds < TIMEOUT_UPPER, result.seconds)
        self.assertNoFile()

    def test_connection_that_never_completes_times_out_as_connect_failure(self):
        with UnansweredListener() as listener:
            result = self.fetch(listener.port)
        self.assertEqual(result.stdout,
                         START + connecting("127.0.0.1", listener.port) + CONNECT_FAILED)
        self.assertTrue(TIMEOUT_LOWER < result.seconds < TIMEOUT_UPPER, result.seconds)

    def test_stall_in_the_middle_of_the_certificate(self):
        answer = tls_answer(CERTIFICATE)
        with ScriptedServer([answer[:1024]], hold=True) as server:
            result = self.fetch(server.port)
        self.assertEqual(result.stdout, START + connecting("127.0.0.1", server.port) + CONNECTED
                         + ANSWERED + DOWNLOADING + INCOMPLETE)
        self.assertTrue(TIMEOUT_LOWER < result.seconds < TIMEOUT_UPPER, result.seconds)
        self.assertNoFile()

    def test_existing_file_kept_by_a_failing_fetch_and_replaced_by_a_good_one(self):
        with open(self.out, "wb") as old:
            old.write(b"previous content, longer than the new certificate" * 100)
        with ScriptedServer([b"HTTP/1.0 400 Bad Request\r\n\r\n" + b"x" * 100]) as server:
            result = self.fetch(server.port)
        self.assertTrue(result.stdout.endswith(DOWNLOADING + IMPROPER), result.stdout)
        self.assertSaved(b"previous content, longer than the new certificate" * 100)
        with ScriptedServer([tls_answer(CERTIFICATE)], hold=True) as server:
            self.fetch(server.port)
        self.assertSaved(CERTIFICATE)

    def test_output_folder_that_does_not_exist(self):
        path = os.path.join(self.folder.name, "missing", "server.der")
        with ScriptedServer([tls_answer(CERTIFICATE)], hold=True) as server:
            result = self.fetch(server.port, path)
        self.assertEqual(result.stdout, fetched(server.port, path) + NO_FILE)
        self.assertFalse(os.path.exists(os.path.dirname(path)))

    @unittest.skipUnless(os.path.exists("/dev/full"), "needs a device that is always full")
    def test_failed_write_is_not_reported_as_success(self):
        if self.program.under_wine:
            self.skipTest("Wine maps no Windows path to /dev/full")
        with ScriptedServer([tls_answer(CERTIFICATE)], hold=True) as server:
            result = self.fetch(server.port, "/dev/full")
        self.assertEqual(result.stdout, fetched(server.port, "/dev/full") + WRITE_FAILED)


if __name__ == "__main__":
    programs.main([Fetch])
