"""TarnwickCli against scripted servers on loopback: every way a fetch can end."""

import contextlib
import errno
import os
import stat
import subprocess
import tempfile
import threading
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


def always_full(path):
    try:
        with open(path, "wb", buffering=0) as device:
            device.write(b"x")
    except OSError as error:
        return error.errno == errno.ENOSPC
    return False


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

    def fetch_to(self, path, certificate=CERTIFICATE):
        """Serves the certificate, saves it to path and returns the run's output after the
        lines that lead up to the save."""
        with ScriptedServer([tls_answer(certificate)], hold=True) as server:
            result = self.fetch(server.port, path)
        lead = fetched(server.port, path)
        self.assertEqual(result.stdout[:len(lead)], lead)
        return result.stdout[len(lead):]

    def windows_path(self, path):
        return "Z:" + path.replace("/", "\\") if self.program.under_wine else path

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
        self.assertEqual(self.fetch_to(self.out), SAVED)
        self.assertSaved(CERTIFICATE)
        # The new file took the old one's place: nothing else is left beside it.
        self.assertEqual(os.listdir(self.folder.name), ["server.der"])

    def test_replaced_file_keeps_its_permissions_and_a_new_one_follows_the_umask(self):
        if self.program.under_wine:
            self.skipTest("Windows files have no POSIX permission bits")
        with open(self.out, "wb") as old:
            old.write(b"old")
        os.chmod(self.out, 0o640)
        link = os.path.join(self.folder.name, "link.der")
        os.symlink("server.der", link)
        for name, path in (("file", self.out), ("symbolic link to it", link)):
            with self.subTest(name):
                self.assertEqual(self.fetch_to(path), SAVED)
                self.assertSaved(CERTIFICATE)
                self.assertEqual(stat.S_IMODE(os.stat(self.out).st_mode), 0o640)
        self.assertTrue(os.path.islink(link))
        self.assertEqual(sorted(os.listdir(self.folder.name)), ["link.der", "server.der"])
        os.remove(self.out)
        mask = os.umask(0o027)
        try:
            self.assertEqual(self.fetch_to(self.out), SAVED)
        finally:
            os.umask(mask)
        self.assertEqual(stat.S_IMODE(os.stat(self.out).st_mode), 0o640)

    def test_output_folder_that_does_not_exist(self):
        path = os.path.join(self.folder.name, "missing", "server.der")
        with ScriptedServer([tls_answer(CERTIFICATE)], hold=True) as server:
            result = self.fetch(server.port, path)
        self.assertEqual(result.stdout, fetched(server.port, path) + NO_FILE)
        self.assertFalse(os.path.exists(os.path.dirname(path)))

    @contextlib.contextmanager
    def full_device(self):
        """A device that is always full. As root, a private node of the same device stands in
        for /dev/full, so that a save that wrongly replaced the file it names could not take
        the machine's own device with it."""
        node = os.path.join(self.folder.name, "full")
        try:
            os.mknod(node, 0o666 | stat.S_IFCHR, os.makedev(1, 7))
        except OSError:
            node = "/dev/full"
        else:
            if not always_full(node):
                os.remove(node)
                node = "/dev/full"
        if not os.path.exists(node):
            self.skipTest("needs a device that is always full")
        yield node
        self.assertTrue(stat.S_ISCHR(os.stat(node).st_mode))

    def test_failed_write_is_not_reported_as_success(self):
        # 800 bytes stay in the stream's buffer until the close: only a checked flush sees
        # them fail. 9000 bytes fail in the write itself.
        with self.full_device() as device:
            for size in (800, 9000):
                with self.subTest(size=size):
                    path = self.windows_path(device)
                    self.assertEqual(self.fetch_to(path, (CERTIFICATE * 7)[:size]),
                                     WRITE_FAILED)
                    self.assertEqual(os.listdir(self.folder.name),
                                     ["full"] if device != "/dev/full" else [])

    def test_devices_and_named_pipes_are_written_to_directly(self):
        device = "NUL" if self.program.under_wine else "/dev/null"
        self.assertEqual(self.fetch_to(device), SAVED)
        if self.program.under_wine:
            return
        pipe = os.path.join(self.folder.name, "pipe")
        os.mkfifo(pipe)
        received = []
        reader = threading.Thread(target=lambda: received.append(open(pipe, "rb").read()),
                                  daemon=True)
        reader.start()
        try:
            self.assertEqual(self.fetch_to(pipe), SAVED)
        finally:
            # Lets a reader that never saw a writer finish.
            if reader.is_alive():
                os.close(os.open(pipe, os.O_WRONLY | os.O_NONBLOCK))
            reader.join(10)
        self.assertEqual(received, [CERTIFICATE])
        self.assertTrue(stat.S_ISFIFO(os.stat(pipe).st_mode))
        self.assertEqual(os.listdir(self.folder.name), ["pipe"])

    @contextlib.contextmanager
    def small_filesystem(self, kilobytes):
        disk = tempfile.mkdtemp(dir=self.folder.name)
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%dk" % kilobytes,
                                  "tarnwick-test", disk], capture_output=True, timeout=30)
        if mounted.returncode != 0:
            self.skipTest("cannot mount a tmpfs here (needs root): "
                          + mounted.stderr.decode(errors="replace").strip())
        try:
            yield disk
        finally:
            if subprocess.run(["umount", disk], capture_output=True, timeout=30).returncode:
                subprocess.run(["umount", "-l", disk], capture_output=True, timeout=30)

    def test_full_disk_keeps_the_old_file_whole(self):
        old_bytes = b"the previous certificate file"
        # One page left for a certificate of three, and no room at all for one that fits in
        # the stream's buffer.
        for size, pages_left in ((9000, 1), (800, 0)):
            with self.subTest(size=size), self.small_filesystem(64) as disk:
                out = os.path.join(disk, "server.der")
                with open(out, "wb") as old:
                    old.write(old_bytes)
                filler = os.path.join(disk, "filler")
                with open(filler, "wb", buffering=0) as fill:
                    try:
                        while True:
                            fill.write(b"\0" * 4096)
                    except OSError:
                        pass
                os.truncate(filler, max(0, os.path.getsize(filler) - 4096 * pages_left))
                certificate = (CERTIFICATE * 7)[:size]
                self.assertEqual(self.fetch_to(self.windows_path(out), certificate),
                                 WRITE_FAILED)
                with open(out, "rb") as kept:
                    self.assertEqual(kept.read(), old_bytes)
                self.assertEqual(sorted(os.listdir(disk)), ["filler", "server.der"])

    def test_output_pipe_without_a_reader_does_not_stop_the_save(self):
        if self.program.under_wine:
            self.skipTest("a closed pipe ends no Windows program")
        reader, writer = os.pipe()
        os.close(reader)
        with ScriptedServer([tls_answer(CERTIFICATE)], hold=True) as server:
            try:
                done = subprocess.run(self.program.command(["127.0.0.1", str(server.port),
                                                            self.out]),
                                      stdout=writer, stderr=subprocess.DEVNULL, timeout=90)
            finally:
                os.close(writer)
        self.assertEqual(done.returncode, 0)
        self.assertSaved(CERTIFICATE)

if __name__ == "__main__":
    programs.main([Fetch])
