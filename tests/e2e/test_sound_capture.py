"""The sound capture that every sound test relies on: what Wine plays must arrive in the capture
file byte for byte, in the order played. The cases share one Wine session, each with the
capture emptied first."""

import os

import harness
import sharedsession
from wavfiles import make_wav

# Both ways Tapvox and the tests play sounds, across sample sizes, channel counts and rates.
FORMATS = [
    # bits, channels, rate, how it is played
    (8, 1, 11025, "memory-async"),
    (8, 2, 22050, "file-sync"),
    (8, 1, 44100, "file-sync"),
    (16, 1, 44100, "memory-async"),
    (16, 2, 11025, "file-sync"),
    (16, 2, 44100, "memory-async"),
    (16, 1, 22050, "memory-sync"),
]


class SoundCaptureTest(sharedsession.SharedSessionTestCase):

    def setUp(self):
        super().setUp()
        if os.path.exists(self.session.sound_file):
            os.remove(self.session.sound_file)

    def test_capture_equals_sample_data(self):
        for index, (bits, channels, rate, mode) in enumerate(FORMATS):
            with self.subTest(bits=bits, channels=channels, rate=rate, mode=mode):
                if os.path.exists(self.session.sound_file):
                    os.remove(self.session.sound_file)
                wav = os.path.join(self.work_dir, "f%d.wav" % index)
                data = make_wav(wav, bits, channels, rate, frames=rate // 10, seed=index)
                self.assertEqual(self.tvx.play(wav, mode), harness.Tvxctl.OK)
                captured = harness.strip_padding(self.session.wait_for_sound(len(data)))
                self.assertEqual(len(captured), len(data))
                self.assertTrue(captured == data, "captured bytes differ from the sample data")

    def test_sounds_append_in_order(self):
        first = os.path.join(self.work_dir, "first.wav")
        second = os.path.join(self.work_dir, "second.wav")
        first_data = make_wav(first, 16, 1, 22050, frames=1000, seed=10)
        second_data = make_wav(second, 8, 2, 11025, frames=700, seed=11)
        self.assertEqual(self.tvx.play(first, "file-sync"), harness.Tvxctl.OK)
        self.assertEqual(self.tvx.play(second, "memory-sync"), harness.Tvxctl.OK)
        captured = self.session.wait_for_sound(len(first_data) + len(second_data))
        self.assertTrue(harness.sounds_in_order(captured, [first_data, second_data]))
        self.assertFalse(harness.sounds_in_order(captured, [second_data, first_data]))

    def test_missing_file_plays_nothing(self):
        missing = os.path.join(self.work_dir, "missing.wav")
        self.assertEqual(self.tvx.play(missing, "memory-sync"), harness.Tvxctl.MISSING)
        self.assertEqual(self.session.captured_sound(), b"")


if __name__ == "__main__":
    harness.main(need_app=False)
