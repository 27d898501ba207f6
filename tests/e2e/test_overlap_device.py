"""The overlap engine ("Overlap" = 1) and the sound device under Wine: with no device Tapvox
stays silent and nothing hangs; a device taken away while it runs and given back sounds again
without a restart. The engine plays in the device's mix format (tvxctl mixformat), so sounds
are told from silence by their level, not by their bytes."""

import array
import os

import harness
from test_input_keys import KeySoundCase, MARKER, RATE, heard
from test_sound_keys import HOOK_MESSAGE, key_event
from wavfiles import write_wav

OVERLAP = "Overlap"
PRESS_A = key_event(0x41, "a")
PRESSES = 5
# Far louder than the engine's rounding; every test sound is louder still.
LOUD = 0.1
WAIT_SECONDS = 60


class OverlapDeviceTest(KeySoundCase):

    def start_overlapping(self):
        self.tvx.reg_write(harness.PROGRAM_KEY, OVERLAP, "sz", "1")
        return self.start_with_scheme(["A"])

    def loud_samples(self, mix_format):
        """How many samples of the capture are loud, read in the stream's mix format."""
        kind, _, _, bits = mix_format
        captured = self.session.captured_sound()
        if kind == "float" and bits == 32:
            samples, full_scale = array.array("f"), 1.0
        else:
            self.assertEqual((kind, bits), ("pcm", 16), "a mix format the engine does not write")
            samples, full_scale = array.array("h"), 32768.0
        samples.frombytes(captured[:len(captured) - len(captured) % samples.itemsize])
        return sum(1 for s in samples if abs(s) > LOUD * full_scale)

    def press(self, app, count=1):
        handled = self.hook_events_handled(app)
        for _ in range(count):
            self.assertEqual(self.tvx.send(HOOK_MESSAGE, PRESS_A), 0, self.tvx.last_error)
        self.assertGreaterEqual(self.hook_events_handled(app), handled + count)

    def capture_still(self):
        """Whether the capture stopped growing: Wine feeds a held stream's device even in
        silence, so a capture at rest means the stream was let go."""
        size = len(self.session.captured_sound())
        return self.wait_until(lambda: len(self.session.captured_sound()) != size, 1.0) is False

    def test_without_sound_device_keys_are_silent_and_nothing_hangs(self):
        self.session.write_asoundrc("no_such_device")
        app = self.start_overlapping()
        self.press(app, PRESSES)
        self.assert_tray_menu_opens()
        # With a device again, another program's sound is the first thing in the capture.
        self.session.write_asoundrc(seen_by_running=True)
        marker = os.path.join(self.work_dir, "marker.wav")
        write_wav(marker, 8, 1, RATE, MARKER.data)
        self.assertEqual(self.tvx.play(marker, "memory-sync"), harness.Tvxctl.OK)
        self.assertEqual(heard(self.session.wait_for_sound(len(MARKER.data))), [MARKER.key_name])
        self.assertEqual(self.exit_app(app), 0)

    def test_device_taken_away_and_given_back_sounds_again_without_restart(self):
        app = self.start_overlapping()
        mix_format = self.tvx.mix_format()
        self.assertIsNotNone(mix_format, self.tvx.last_error)
        self.press(app)
        self.assertTrue(self.wait_until(lambda: self.loud_samples(mix_format) > 0, WAIT_SECONDS),
                        "the first key did not sound")

        # Taken away during a pause, once the stream has let the device go: each key then
        # looks for it and finds none.
        self.assertTrue(self.wait_until(self.capture_still, WAIT_SECONDS),
                        "the stream was never let go after the key")
        self.session.write_asoundrc("no_such_device", seen_by_running=True)
        before = self.loud_samples(mix_format)
        self.press(app, PRESSES)

        self.session.write_asoundrc(seen_by_running=True)

        def sounds_again():
            self.press(app)
            return self.wait_until(lambda: self.loud_samples(mix_format) > before, 2)
        self.assertTrue(self.wait_until(sounds_again, WAIT_SECONDS),
                        "keys stayed silent after the device came back")
        self.assertIsNone(app.process.poll(), "Tapvox has ended")
        self.assertEqual(self.exit_app(app), 0)


if __name__ == "__main__":
    harness.main()
