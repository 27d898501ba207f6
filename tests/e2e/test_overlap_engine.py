"""The overlap engine end to end, heard through the sound capture: keys close together all sound
in full and at the same time, a fast typist's keys lose nothing short of the voice limit, a
key's release sounds beside its press, and the Settings dialog's box switches engines at OK.

The engine plays in the default device's mix format, not the WAV's, so sounds are told apart by
frequency (tones.py), each key a sine of its own, rather than compared byte for byte."""

import os
import shutil

import harness
import tones

SCHEME = "Tones"
WAV_RATE = 44100  # the mixer converts it to the device's rate
HOOK_MESSAGE = "NEW_HOOK_SYSTEM"
RELEASE_EVENT, WINDOW_INFO_EVENT = 4, 2
HOOK_EVENT_KIND_SHIFT = 16
PRESS_SECONDS = 0.3
TYPING_SECONDS = 0.15
VOICE_LIMIT = 32
# The keys of the fast typist: letters, digits and the first function keys, each its own tone.
TYPED_KEYS = ([(chr(c), c) for c in range(ord("A"), ord("Z") + 1)] +
              [("D" + chr(c), c) for c in range(ord("0"), ord("9") + 1)] +
              [("F%d" % n, 0x6F + n) for n in range(1, 5)])
# Bounds that only prove nothing hangs: the first sound opens the device, about a second.
HEARD_WITHIN = 30
WM_COMMAND, BM_CLICK = 0x111, 0xF5
IDOK = 1
COMMAND_SETTINGS = 40015


def press(key_code):
    return (key_code << 8) | ord(chr(key_code).lower()) if key_code < 0x70 else key_code << 8


def release(key_code):
    return (RELEASE_EVENT << HOOK_EVENT_KIND_SHIFT) | (key_code << 8)


class OverlapEngineTest(harness.TapvoxTestCase):

    def start_with(self, scheme_lines, sounds, overlap=True):
        """Tapvox with one scheme of tones: sounds maps a file name to (tone index, seconds).
        Returns {file name: frequency}; self.samples holds each file's sample data."""
        app = self.new_app()
        schemes = os.path.join(app.folder, "Schemes")
        shutil.rmtree(schemes, ignore_errors=True)
        folder = os.path.join(schemes, SCHEME)
        os.makedirs(folder)
        with open(os.path.join(folder, "Scheme.txt"), "w") as f:
            f.write("".join(line + "\r\n" for line in scheme_lines))
        frequencies = {}
        self.samples = {}
        for name, (index, seconds) in sounds.items():
            frequencies[name] = tones.tone_frequency(index)
            self.samples[name] = tones.write_tone(os.path.join(folder, name), frequencies[name],
                                                  WAV_RATE, seconds)
        for value, data in (("Valume", "100"), ("Filter", "0"), ("Scheme", "0")):
            self.tvx.reg_write(harness.PROGRAM_KEY, value, "sz", data)
        if overlap:
            self.tvx.reg_write(harness.PROGRAM_KEY, "Overlap", "sz", "1")
        self.start_app(app)
        # Answered only once Tapvox handles its messages: keys posted while it still starts
        # would wait in its queue and then sound all at once, not at the pace they were sent.
        self.assertIsNotNone(self.tvx.send(HOOK_MESSAGE, WINDOW_INFO_EVENT << HOOK_EVENT_KIND_SHIFT),
                             "Tapvox does not answer")
        return frequencies

    def mix_format(self):
        found = self.tvx.mix_format()
        self.assertIsNotNone(found, "no sound device")
        kind, channels, rate, bits = found
        return tones.MixFormat("float" if kind == "float" else bits, channels, rate)

    def hear_until(self, frequencies, done, skip=0):
        """Reads the capture (past its first skip bytes) until done(heard) holds; returns the
        last {frequency: Heard}."""
        mix_format = self.mix_format()
        heard = {}

        def listen():
            nonlocal heard
            heard = tones.hear(self.session.captured_sound()[skip:], mix_format, frequencies)
            return done(heard)

        self.wait_until(listen, HEARD_WITHIN, interval=0.3)
        return heard

    def assert_both_whole_and_overlapping(self, first, second, seconds, skip=0):
        heard = self.hear_until([first, second], lambda h: all(
            tones.whole(h[f], seconds) for f in (first, second)), skip)
        for frequency in (first, second):
            self.assertTrue(tones.whole(heard[frequency], seconds),
                            "not heard in full: %r" % heard[frequency])
        self.assertGreater(tones.overlap(heard[first], heard[second]), seconds / 2,
                           "no stretch where both sound: %r" % list(heard.values()))

    def test_two_keys_30_ms_apart_both_sound_in_full_together(self):
        tone = self.start_with(["A=a.wav", "B=b.wav"],
                               {"a.wav": (0, PRESS_SECONDS), "b.wav": (1, PRESS_SECONDS)})
        self.assertEqual(self.tvx.post_hook(press(0x41), press(0x42), every_ms=30),
                         harness.Tvxctl.OK)
        self.assert_both_whole_and_overlapping(tone["a.wav"], tone["b.wav"], PRESS_SECONDS)

    def test_forty_keys_at_twenty_a_second_lose_nothing_short_of_the_voice_limit(self):
        sounds = {"k%d.wav" % i: (i, TYPING_SECONDS) for i in range(len(TYPED_KEYS))}
        tone = self.start_with(["%s=k%d.wav" % (name, i) for i, (name, _) in enumerate(TYPED_KEYS)],
                               sounds)
        frequencies = [tone["k%d.wav" % i] for i in range(len(TYPED_KEYS))]
        self.assertEqual(self.tvx.post_hook(*(press(code) for _, code in TYPED_KEYS),
                                            every_ms=50), harness.Tvxctl.OK)
        heard = self.hear_until(frequencies, lambda h: all(
            tones.whole(h[f], TYPING_SECONDS) for f in frequencies))
        # A sound may end early only where the voices were all taken: the oldest then gives way.
        lost = []
        for frequency in frequencies:
            sound = heard[frequency]
            if tones.whole(sound, TYPING_SECONDS):
                continue
            ended = max((end for _, end in sound.spans), default=None)
            sounding = 0 if ended is None else sum(
                1 for other in heard.values() for start, end in other.spans
                if start <= ended < end)
            if sounding < VOICE_LIMIT - 1:
                lost.append(sound)
        self.assertEqual(lost, [], "cut short with voices to spare")

    def test_release_sounds_beside_the_press(self):
        tone = self.start_with(["A=down.wav", "A.UP=up.wav"],
                               {"down.wav": (0, PRESS_SECONDS), "up.wav": (2, PRESS_SECONDS)})
        self.assertEqual(self.tvx.post_hook(press(0x41), release(0x41), every_ms=30),
                         harness.Tvxctl.OK)
        self.assert_both_whole_and_overlapping(tone["down.wav"], tone["up.wav"], PRESS_SECONDS)

    def settings_dialog(self, pid):
        """Opens the Settings dialog and returns {control title: hwnd} and its own hwnd."""
        self.assertEqual(self.tvx.post_command(COMMAND_SETTINGS), harness.Tvxctl.OK)

        def opened():
            listed = self.tvx.windows()
            dialog = next((w["hwnd"] for w in listed if w["pid"] == pid and w["visible"]
                           and w["parent"] == 0 and w["title"] == "Settings"), None)
            controls = {w["title"]: w["hwnd"] for w in listed if w["parent"] == dialog}
            return (dialog, controls) if dialog and "Let sounds overlap" in controls else None

        found = self.wait_until(opened, HEARD_WITHIN)
        self.assertIsNotNone(found, "the Settings dialog did not open")
        return found

    def test_checking_the_box_switches_engines_at_ok(self):
        tone = self.start_with(["A=a.wav", "B=b.wav"],
                               {"a.wav": (0, PRESS_SECONDS), "b.wav": (1, PRESS_SECONDS)},
                               overlap=False)
        b_samples = self.samples["b.wav"]
        # PlaySoundA: the second key cuts the first, and its own samples arrive unchanged.
        self.assertEqual(self.tvx.post_hook(press(0x41), press(0x42), every_ms=30),
                         harness.Tvxctl.OK)
        before = self.wait_until(lambda: harness.strip_padding(
            self.session.captured_sound()).endswith(b_samples), HEARD_WITHIN)
        self.assertTrue(before, "the second key's samples did not arrive as they are")
        captured = self.session.wait_for_sound(len(b_samples))
        self.assertLess(len(harness.strip_padding(captured)), 2 * len(b_samples),
                        "the first key was not cut")

        pid = self.tvx.find_window()[1]
        dialog, controls = self.settings_dialog(pid)
        self.assertEqual(self.tvx.call("send-window", controls["Let sounds overlap"], BM_CLICK,
                                       0)[0], harness.Tvxctl.OK)
        self.assertEqual(self.tvx.call("post-window", dialog, WM_COMMAND, IDOK)[0],
                         harness.Tvxctl.OK)
        stored = self.wait_until(
            lambda: (self.tvx.reg_read(harness.PROGRAM_KEY, "Overlap") or [None, None])[1],
            HEARD_WITHIN)
        self.assertEqual(stored, "1")

        # The overlap engine from the next key on, in a stream of its own after the first.
        skip = len(self.session.captured_sound())
        self.assertEqual(self.tvx.post_hook(press(0x41), press(0x42), every_ms=30),
                         harness.Tvxctl.OK)
        self.assert_both_whole_and_overlapping(tone["a.wav"], tone["b.wav"], PRESS_SECONDS,
                                               skip)


if __name__ == "__main__":
    harness.main()
