"""Checks of the harness's own logic that needs no Wine: reading PE headers, telling played
sounds from Wine's padding silence, the soak's count of sounds heard and its report of counts,
and the switch that takes the path for hosts without 32-bit support."""

import os
import struct
import sys
import tempfile
import unittest
from unittest import mock

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "e2e"))
import harness  # noqa: E402
import soak  # noqa: E402
import wavfiles  # noqa: E402


class SoundsInOrderTest(unittest.TestCase):
    A = b"\x12\x00\x34"
    B = b"\x55\x80\x80\x66"

    def test_table(self):
        a, b = self.A, self.B
        cases = [
            ("exact", a + b, True),
            ("padding around and between", b"\x00\x00" + a + b"\x00" * 4 + b + b"\x80\x80", True),
            ("other bytes between", a + b"\x01" + b, False),
            ("wrong order", b + a, False),
            ("second missing", a, False),
            ("trailing noise", a + b + b"\x07", False),
            ("first cut short", a[:-1] + b, False),
            ("empty capture", b"", False),
        ]
        for name, captured, expected in cases:
            with self.subTest(name):
                self.assertEqual(harness.sounds_in_order(captured, [a, b]), expected)

    def test_strip_padding_keeps_inner_silence(self):
        self.assertEqual(harness.strip_padding(b"\x80\x00" + self.B + b"\x80"), self.B)

    def test_test_sounds_never_start_or_end_in_silence(self):
        for seed in range(200):
            data = wavfiles.sample_bytes(8, 1, 3, seed)
            self.assertNotIn(data[0], wavfiles.SILENCE_BYTES)
            self.assertNotIn(data[-1], wavfiles.SILENCE_BYTES)


class SoakSoundFilesTest(unittest.TestCase):

    def test_each_file_is_heard_replaced_or_silence(self):
        cases = [
            # name, bytes the device received, counted as (heard, replaced, silence)
            ("a sound", b"\x12\x34", (1, 0, 0)),
            ("a sound within padding", b"\x00\x80" + b"\x55" + b"\x00" * 8, (1, 0, 0)),
            ("one sample byte", b"\x01", (1, 0, 0)),
            ("no byte: replaced before its first block", b"", (0, 1, 0)),
            ("16-bit silence", b"\x00" * 64, (0, 0, 1)),
            ("8-bit silence", b"\x80" * 64, (0, 0, 1)),
        ]
        with tempfile.TemporaryDirectory() as folder:
            session = type("Session", (), {"work_dir": folder, "home": folder})()
            sounds = soak.SoundFiles(session)
            with open(os.path.join(folder, ".asoundrc")) as f:
                self.assertIn("%s/sound.$$" % sounds.folder, f.read())
            for name, data, expected in cases:
                with self.subTest(name):
                    with open(os.path.join(sounds.folder, "sound.1"), "wb") as f:
                        f.write(data)
                    self.assertEqual(sounds.take(), expected)
                    self.assertEqual(sounds.files(), [])
            # Files of one pause are counted together.
            for number, (_, data, _) in enumerate(cases):
                with open(os.path.join(sounds.folder, "sound.%d" % number), "wb") as f:
                    f.write(data)
            self.assertEqual(sounds.take(), (3, 1, 2))


class SoakReportTest(unittest.TestCase):

    def report_lines(self, samples):
        lines = []
        run = soak.Soak.__new__(soak.Soak)
        run.log = lines.append
        run.samples = [dict(zip(("presses",) + soak.COUNTS, values)) for values in samples]
        run.presses = run.requests = run.heard = run.replaced = run.silence = run.switches = 0
        run.report()
        return lines[1:]

    def test_unreadable_counts_are_said_so(self):
        cases = [
            # name, samples as (presses, handles, gdi, user, working set), what report() says
            ("all readable", [(0, 40, 30, 2, 2048), (1000, 41, 30, 2, 4096)],
             ["handles: 40 at the baseline, 41 at the end, +1.00 per 1,000 presses",
              "gdi: 30 at the baseline, 30 at the end, +0.00 per 1,000 presses",
              "user: 2 at the baseline, 2 at the end, +0.00 per 1,000 presses",
              "workingset: 2 KB at the baseline, 4 KB at the end, +2.00 KB per 1,000 presses"]),
            ("never readable", [(0, 40, -1, 2, 2048), (1000, 40, -1, 2, 2048)],
             ["gdi: not readable here"]),
            ("unreadable only at the end", [(0, 40, 30, 2, 2048), (1000, 40, -1, 2, 2048)],
             ["gdi: not readable here"]),
        ]
        for name, samples, expected in cases:
            with self.subTest(name):
                lines = self.report_lines(samples)
                for line in expected:
                    self.assertIn(line, lines)
                self.assertEqual(len(lines), 4)

    def test_sample_lines_show_unreadable_counts_as_a_dash(self):
        self.assertEqual([soak.count_text(v) for v in (0, 17, -1)], ["0", "17", "-"])


class AssumeNo32BitTest(unittest.TestCase):
    """TAPVOX_ASSUME_NO_32BIT=1 takes the path for hosts without 32-bit support on any host."""

    def test_switch_takes_the_64_bit_path(self):
        machines = [(PeMachineTest.pe(0x14C), False), (PeMachineTest.pe(0x8664), True)]
        for value, forced in (("1", True), ("0", False), ("", False)):
            with self.subTest(value=value), \
                    mock.patch.dict(os.environ, {harness.ASSUME_NO_32BIT: value}), \
                    mock.patch.object(harness, "_can_run_32bit", True), \
                    mock.patch.object(harness, "isolation_command", lambda: []):
                self.assertEqual(harness.host_runs_32bit_wine(), not forced)
                for content, runs_when_forced in machines:
                    with tempfile.NamedTemporaryFile() as exe:
                        exe.write(content)
                        exe.flush()
                        self.assertEqual(harness.host_runs(exe.name),
                                         runs_when_forced or not forced)
                self.assertEqual(harness.wine_command()[0] == harness.WINE64_LOADER,
                                 forced and os.path.exists(harness.WINE64_LOADER))

    def test_32_bit_program_on_the_64_bit_path_fails_with_its_reason(self):
        with tempfile.TemporaryDirectory() as folder, \
                mock.patch.dict(os.environ, {harness.ASSUME_NO_32BIT: "1",
                                             "TAPVOX_WINE_TEMPLATE": folder,
                                             "TAPVOX_TOOLS32": folder, "TAPVOX_TOOLS64": "",
                                             "TAPVOX_DIST": folder}):
            with open(os.path.join(folder, "tvxctl.exe"), "wb") as f:
                f.write(PeMachineTest.pe(0x14C))
            self.assertEqual(harness.missing_prerequisites(), "no tvxctl.exe this host can run")


class PeMachineTest(unittest.TestCase):

    def write(self, content):
        handle, path = tempfile.mkstemp()
        with os.fdopen(handle, "wb") as f:
            f.write(content)
        self.addCleanup(os.remove, path)
        return path

    @staticmethod
    def pe(machine, offset=0x80):
        header = bytearray(offset + 6)
        header[:2] = b"MZ"
        struct.pack_into("<I", header, 0x3C, offset)
        header[offset:offset + 4] = b"PE\0\0"
        struct.pack_into("<H", header, offset + 4, machine)
        return bytes(header)

    @staticmethod
    def far_offset():
        header = bytearray(0x40)
        header[:2] = b"MZ"
        struct.pack_into("<I", header, 0x3C, 0x7FFFFFF0)
        return bytes(header)

    def test_table(self):
        cases = [
            ("32-bit", self.pe(0x14C), 0x14C),
            ("64-bit", self.pe(0x8664), 0x8664),
            ("no MZ", b"ZM" + self.pe(0x14C)[2:], None),
            ("header offset past the end", self.pe(0x14C)[:0x40], None),
            ("offset far beyond the file", self.far_offset(), None),
            ("empty file", b"", None),
        ]
        for name, content, expected in cases:
            with self.subTest(name):
                self.assertEqual(harness.pe_machine(self.write(content)), expected)
        self.assertIsNone(harness.pe_machine("/nonexistent/file.exe"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
