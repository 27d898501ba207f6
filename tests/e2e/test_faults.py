"""Faults Tapvox lives through while it runs, one run each: the helper killed, no sound device,
the active scheme's folder taken away, a sound file rewritten while it plays, a schemes folder of
10,000 entries and a sound file of 50 MB. In each Tapvox keeps running, its tray menu opens,
keys sound where they should, and it ends normally with its settings as they were."""

import os
import shutil
import signal
import threading
import time

import harness
from test_input_keys import (FRAMES, MARKER, RATE, SCHEME, SOUNDS, WAIT_SECONDS, KeySound,
                             KeySoundCase, heard)
from test_sound_keys import HOOK_MESSAGE, key_event
from wavfiles import write_wav

SOUND = {sound.key_name: sound for sound in SOUNDS}
# Every other command of the menu lies at or above this one.
FIRST_FIXED_COMMAND = 40000
# A mouse move over the tray icon: answered at once by an idle main window, and changes nothing.
TRAY_CALLBACK, WM_MOUSEMOVE = 0xB040, 0x200
PRESS_A = key_event(0x41, "a")
PRESS_7 = key_event(0x37, "7")
PRESSES = 25
ENTRIES = 10000
BIG_BYTES = 50 << 20


class FaultsTest(KeySoundCase):

    def assert_survived(self, app, scheme="0"):
        """Tapvox still runs, its menu opens, Exit ends it with 0 and "Scheme" is as it was."""
        self.assertIsNone(app.process.poll(), "Tapvox has ended")
        self.assert_tray_menu_opens()
        self.assertEqual(self.exit_app(app), 0)
        self.assertEqual(self.tvx.reg_read(harness.PROGRAM_KEY, "Scheme")[1], scheme)

    def assert_nothing_new_from_outside(self, expected, app, handled):
        """Nothing sounded after `expected`, where Tapvox itself can sound nothing: once it has
        handled this many key events, another program plays the marker's sound, which must come
        next."""
        self.assertTrue(self.wait_until(lambda: self.hook_events_handled(app) >= handled,
                                        WAIT_SECONDS),
                        "Tapvox did not get the keys: %d of %d handled"
                        % (self.hook_events_handled(app), handled))
        marker = os.path.join(self.work_dir, "marker.wav")
        write_wav(marker, 8, 1, RATE, MARKER.data)
        markers = self.markers_heard()
        self.assertEqual(self.tvx.play(marker, "memory-sync"), harness.Tvxctl.OK)
        expected.append(MARKER.key_name)
        self.assertEqual(self.heard_when_marked(markers), expected)

    def press_and_time(self, event):
        """Sends a key event and returns the seconds until Tapvox had handled it, tvxctl's own
        start included."""
        started = time.monotonic()
        self.assertEqual(self.tvx.send(HOOK_MESSAGE, event), 0, self.tvx.last_error)
        return time.monotonic() - started

    def scheme_items(self):
        """[(command, name)] of the scheme items of the tray menu, which opens for it; any item
        numbered from the first scheme's command up to the fixed ones counts."""
        return [(int(command), text) for _, _, command, text in
                (line.split("\t") for line in self.tray_menu_lines())
                if harness.FIRST_SCHEME_COMMAND <= int(command) < FIRST_FIXED_COMMAND]

    def test_killed_helper_leaves_the_32bit_hook_sounding(self):
        app = self.start_with_scheme(["A"])
        self.focus_edit_window()
        self.key("a")
        self.assert_heard(["A"])
        helpers = self.linux_helper_pids()
        self.assertEqual(len(helpers), 1)
        os.kill(helpers[0], signal.SIGKILL)
        self.assertTrue(self.wait_until(lambda: not self.linux_helper_pids(), 10),
                        "HookProc.exe outlived SIGKILL")
        for expected in (["A", "A"], ["A", "A", "A"]):
            self.focus_edit_window()
            self.key("a")
            self.assert_heard(expected)
        self.assert_survived(app)

    def test_without_sound_device_keys_are_silent_and_nothing_hangs(self):
        self.session.write_asoundrc("no_such_device")
        app = self.start_with_scheme(["A"])
        self.focus_edit_window()
        handled = self.hook_events_handled(app)
        self.key("a", "a", "a")
        print("a press without a sound device: %.2f s through tvxctl"
              % self.press_and_time(PRESS_A))
        self.assert_tray_menu_opens()
        # The device comes back while Tapvox runs: a new process plays on it, the first sound
        # in the capture, but Wine's sound layer in the running Tapvox does not find it again;
        # Tapvox started again sounds.
        self.session.write_asoundrc()
        expected = []
        self.assert_nothing_new_from_outside(expected, app, handled + 4)
        self.focus_edit_window()
        handled = self.hook_events_handled(app)
        self.key("a")
        self.assert_nothing_new_from_outside(expected, app, handled + 1)
        self.assert_survived(app)
        self.start_and_wait_for_hooks(app)
        self.focus_edit_window()
        self.key("a")
        self.assert_heard(expected + ["A"])
        self.assertEqual(self.exit_app(app), 0)

    def test_active_scheme_folder_taken_away_silences_it_and_another_scheme_sounds(self):
        # Each scheme gives A its own sound, so the one heard names the scheme that played it.
        app = self.start_with_schemes({"Alpha": [("A", SOUND["A"])],
                                       "Beta": [("A", SOUND["SPACE"])]})
        schemes = os.path.join(app.folder, "Schemes")
        items = self.scheme_items()
        self.assertEqual(sorted(name for _, name in items), ["Alpha", "Beta"])
        (first_command, first), (second_command, second) = items
        sound_of = {"Alpha": "A", "Beta": "SPACE"}
        expected = []
        # A step that sounds is the marker of the silent one before it: its sound, checked with
        # the whole capture, must come next.
        steps = [
            ("the first scheme sounds", lambda: None, first),
            ("its folder renamed: silence",
             lambda: os.rename(os.path.join(schemes, first), os.path.join(schemes, "Moved")),
             None),
            ("the second one chosen: it sounds",
             lambda: self.tvx.send_command(second_command), second),
            ("its folder deleted: silence",
             lambda: shutil.rmtree(os.path.join(schemes, second)), None),
            ("the first one back and chosen: it sounds",
             lambda: (os.rename(os.path.join(schemes, "Moved"), os.path.join(schemes, first)),
                      self.tvx.send_command(first_command)), first),
        ]
        for what, act, sounding in steps:
            with self.subTest(what):
                act()
                self.assertEqual(self.tvx.send(HOOK_MESSAGE, PRESS_A), 0)
                if sounding:
                    expected.append(sound_of[sounding])
                    self.assert_heard(expected)
        self.assert_survived(app)

    def test_sound_file_rewritten_while_it_plays(self):
        app = self.start_with_scheme(["A"])
        target = os.path.join(app.folder, "Schemes", SCHEME, SOUND["A"].file_name)
        rewriter = Rewriter(target, self.work_dir, SOUND["A"].data)
        rewriter.start()
        try:
            self.focus_edit_window()
            # Each sound lasts 0.1 s, so none cuts another short; the marker, typed last, ends
            # what the presses gave.
            self.session.xdotool("key", "--delay", 400, *(["a"] * PRESSES + [MARKER.key_name]))
        finally:
            rewriter.stop.set()
            rewriter.join()
        marked = self.heard_when_marked(0)
        sounds = marked[:-1]
        print("%d presses, %d rewrites, %d sounds heard: %d plain, %d reversed"
              % (PRESSES, rewriter.count, len(sounds), sounds.count("A"), sounds.count("A~")))
        # A half-written file is refused (silence); anything that reaches the device is whole.
        self.assertEqual([s for s in sounds if s not in ("A", "A~")], [])
        # Written whole at last, the file sounds again.
        self.key("a")
        self.assertIn(self.heard_so_far(len(marked) + 1)[len(marked):], (["A"], ["A~"]),
                      "the press after the rewrites is silent")
        self.assertLessEqual(len(sounds), PRESSES)
        self.assert_survived(app)

    def test_schemes_folder_of_ten_thousand_entries(self):
        app = self.new_app()
        schemes = os.path.join(app.folder, "Schemes")
        shutil.rmtree(schemes)
        os.makedirs(schemes)
        for i in range(ENTRIES):
            name = "Scheme %05d" % i
            if i % 50 == 7:
                open(os.path.join(schemes, name + ".txt"), "w").close()  # a file: no scheme
            elif i % 50 == 8:
                os.mkdir(os.path.join(schemes, "." + name))  # a dot-name: no scheme
            else:
                os.mkdir(os.path.join(schemes, name))
        # Wine lists a folder sorted by name, as NTFS does.
        listed = sorted(name for name in os.listdir(schemes)
                        if not name.startswith(".") and os.path.isdir(os.path.join(schemes, name)))
        started = time.monotonic()
        app.start()
        self.assertIsNotNone(self.tvx.wait_for_window())
        self.assertEqual(self.tvx.send(TRAY_CALLBACK, 0, WM_MOUSEMOVE), 0, self.tvx.last_error)
        print("start with %d entries in Schemes: %.2f s to the first answered message"
              % (ENTRIES, time.monotonic() - started))
        items = self.scheme_items()
        commands = range(harness.FIRST_SCHEME_COMMAND, harness.LAST_SCHEME_COMMAND + 1)
        self.assertEqual(items, list(zip(commands, listed[:25])))
        self.assertEqual(self.exit_app(app), 0)

    def test_fifty_megabyte_sound_costs_one_press_and_the_next_key_sounds(self):
        big = KeySound(15, "D7")
        big.data = bytes(range(0xF0, 0x100)) * (BIG_BYTES // 16)
        app = self.start_with_schemes({SCHEME: [("A", SOUND["A"]), ("D7", big)]})
        small = []
        for count in range(1, 4):
            small.append(self.press_and_time(PRESS_A))
            self.session.wait_for_sound(FRAMES * count)
        small = min(small)
        large = self.press_and_time(PRESS_7)
        print("one press: %.0f ms for a %d MB sound, %.0f ms for a %d-byte one (through tvxctl), "
              "so the big file costs the main thread %.0f ms"
              % (large * 1000, BIG_BYTES >> 20, small * 1000, FRAMES, (large - small) * 1000))
        self.assertTrue(self.wait_until(
            lambda: len(self.session.captured_sound()) > FRAMES * 3 + FRAMES, 10),
            "the big sound does not play")
        # The next key cuts the big sound short and is heard whole.
        self.assertEqual(self.tvx.send(HOOK_MESSAGE, PRESS_A), 0)
        captured = harness.strip_padding(self.session.wait_for_sound(FRAMES * 5))
        self.assertTrue(captured.endswith(SOUND["A"].data), "the key after the big one is silent")
        self.assertIn(big.data[:FRAMES], captured)
        self.assert_survived(app)


class Rewriter(threading.Thread):
    """Rewrites one WAV file over and over until stopped, in turn atomically (a whole new file
    renamed over it) and in place (cut to nothing, then written in two halves a moment apart),
    alternating the sound and its reversal."""

    def __init__(self, path, work_dir, data):
        super().__init__(daemon=True)
        self.path = path
        self.count = 0
        self.stop = threading.Event()
        self.images = []
        for index, samples in enumerate((data, data[::-1])):
            made = os.path.join(work_dir, "version%d.wav" % index)
            write_wav(made, 8, 1, RATE, samples)
            with open(made, "rb") as f:
                self.images.append(f.read())

    def run(self):
        while not self.stop.is_set():
            image = self.images[self.count % 2]
            if self.count % 2 == 0:
                renamed = self.path + ".new"
                with open(renamed, "wb") as f:
                    f.write(image)
                os.replace(renamed, self.path)
            else:
                half = len(image) // 2
                with open(self.path, "r+b") as f:
                    f.truncate(0)
                    f.write(image[:half])
                    f.flush()
                    time.sleep(0.003)
                    f.write(image[half:])
            self.count += 1
            # Whole most of the time, so most presses are heard, but half written often enough
            # that many presses meet a half-written file.
            time.sleep(0.01)


if __name__ == "__main__":
    harness.main()
