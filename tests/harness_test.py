"""Checks of the harness's own logic that needs no Wine: reading PE headers and telling played
sounds from Wine's padding silence."""

import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "e2e"))
import harness  # noqa: E402
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


class PeMachineTest(unittest.TestCase):

    def write(self, content):
        handle, path = tempfile.mkstemp()
        with os.fdopen(handle, "wb") as f:
            f.write(content)
        self.addCleanup(os.remove, path)
        return path

    def pe(self, machine, offset=0x80):
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
