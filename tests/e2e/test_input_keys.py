"""Keys typed into another Wine window through the X server, as a user types them, reach Tapvox
through its hooks and its poll of the modifier and lock keys: each key gives its own sound once,
in order, in the captured stream. The hooks come back after a re-install request and a resume,
a refused re-install silences them for good, and the helper never outlives Tapvox."""

import os
import shutil
import signal
import time

import harness
from wavfiles import write_wav

HOOK_MESSAGE = "NEW_HOOK_SYSTEM"
WM_POWERBROADCAST = 0x218
PBT_APMRESUMESUSPEND = 7
COMMAND_MUTE = 40012
EVENT_REINSTALL = 3 << 16
EVENT_UNKNOWN_KIND = 4 << 16
FILTER_INVERSION = 2
# Above 100 the volume step is skipped, so the stream holds each file's own bytes.
FULL_LEVEL = 101
SCHEME = "InputTest"
RATE = 11025
FRAMES = 1100  # a tenth of a second: over before the next key comes
# Long enough for a sound that should not be there to reach the capture, and for several
# 250 ms polls to pass.
SILENCE_WAIT = 1.5
HOLD_SECONDS = 1.2
RESET_HOOKS_LINE = b"Entering CApp::HkResetHooks()"
POWER_LINE = b"Entering CApp::OnPowerBroadcast()"


class KeySound:
    """An 8-bit sound whose every byte names it: the high four bits are the sound's number, the
    low four a rising ramp, so the Inversion filter's reversed copy differs from the plain one."""

    def __init__(self, number, key_name):
        self.number = number
        self.key_name = key_name
        self.file_name = key_name.lower() + ".wav"
        self.data = bytes((number << 4) | (i % 16) for i in range(FRAMES))

    def inverted(self):
        return self.data[::-1]


SOUNDS = [KeySound(number, name) for number, name in enumerate(
    ["A", "D7", "SPACE", "ENTER", "LEFT", "F5", "SHIFT", "CAPSLOCK", "NUMLOCK", "CTRL", "WIN"],
    start=1)]
SOUND_BY_NUMBER = {sound.number: sound for sound in SOUNDS}
TYPED_KEYS = ["A", "D7", "SPACE", "ENTER", "LEFT", "F5"]
POLLED_KEYS = ["A", "SHIFT", "CAPSLOCK", "NUMLOCK"]
TAPPED_KEYS = ["A", "SHIFT", "CTRL", "WIN"]
# A fast typist's tap of a modifier: far shorter than the poll timer's 250 ms.
TAP_SECONDS = 0.05


def heard(stream):
    """The sounds of a captured stream in order, by key name; "~" marks an inverted copy and
    "?" the rest when it is no whole sound. Silence between sounds is Wine's padding, which a
    loaded machine sometimes adds when a sound starts."""
    names = []
    at = 0
    while at < len(stream):
        sound = SOUND_BY_NUMBER.get(stream[at] >> 4)
        chunk = stream[at:at + FRAMES]
        if sound and chunk == sound.data:
            names.append(sound.key_name)
        elif sound and chunk == sound.inverted():
            names.append(sound.key_name + "~")
        elif stream[at] in harness.PADDING_BYTES:
            at += 1
            continue
        else:
            names.append("?%d bytes from 0x%02x" % (len(stream) - at, stream[at]))
            break
        at += FRAMES
    return names


def install_schemes(app, schemes):
    """Replaces the schemes of this copy of the program: name -> [(key name, KeySound)]."""
    folder = os.path.join(app.folder, "Schemes")
    shutil.rmtree(folder, ignore_errors=True)
    for name, keys in schemes.items():
        os.makedirs(os.path.join(folder, name))
        with open(os.path.join(folder, name, "Scheme.txt"), "w") as f:
            f.write("".join("%s=%s\r\n" % (key, sound.file_name) for key, sound in keys))
        for _, sound in keys:
            write_wav(os.path.join(folder, name, sound.file_name), 8, 1, RATE, sound.data)


class KeySoundCase(harness.TapvoxTestCase):
    """What the typed-key tests share: Tapvox with schemes of KeySounds, another window to type
    into, and the captured sounds by name."""

    def start_with_schemes(self, schemes, extra_env=None, trace=False, app=None):
        """Tapvox with these schemes as its only ones (name -> [(key name, KeySound)]), the first
        in the listing active, capitals inverted; returns the app once its window is up."""
        app = app or self.new_app()
        install_schemes(app, schemes)
        self.tvx.reg_write(harness.PROGRAM_KEY, "Scheme", "sz", "0")
        self.tvx.reg_write(harness.PROGRAM_KEY, "Valume", "sz", str(FULL_LEVEL))
        self.tvx.reg_write(harness.PROGRAM_KEY, "Filter", "sz", str(FILTER_INVERSION))
        if trace:
            app.make_trace_folder()
            self.tvx.reg_write(harness.PROGRAM_KEY, "LogFile", "sz", "1")
        app.start(extra_env=extra_env)
        self.assertIsNotNone(self.tvx.find_window(timeout_ms=20000),
                             "Tapvox's main window did not appear")
        self.wait_for_hooks()
        return app

    def start_with_scheme(self, key_names, extra_env=None, trace=False, app=None):
        """One scheme in which each of these keys has its own sound."""
        keys = [(s.key_name, s) for s in SOUNDS if s.key_name in key_names]
        return self.start_with_schemes({SCHEME: keys}, extra_env, trace, app)

    def wait_for_hooks(self):
        """The hooks are set once the helper has answered: wait for it to run, then a moment."""
        self.assertTrue(self.wait_until(lambda: self.tvx.running("HookProc.exe"), 15),
                        "HookProc.exe did not start")
        time.sleep(1.0)

    def focus_edit_window(self):
        """Another program's window with the keyboard focus, where the keys are typed."""
        if not hasattr(self, "edit_window"):
            self.edit_window = self.open_edit_window()
        window = next(w for w in self.tvx.windows() if w["hwnd"] == self.edit_window)
        left, top, right, bottom = window["rect"]
        self.session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)
        time.sleep(0.3)

    def key(self, *names):
        self.session.xdotool("key", "--delay", 60, *names)

    def hold(self, name, seconds=HOLD_SECONDS):
        self.session.xdotool("keydown", name)
        time.sleep(seconds)
        self.session.xdotool("keyup", name)

    def tap(self, name):
        """One quick press and release, timed by xdotool itself."""
        self.session.xdotool("keydown", name, "sleep", TAP_SECONDS, "keyup", name)

    def heard_so_far(self, expected_count):
        return heard(self.session.wait_for_sound(expected_count * FRAMES))

    def assert_heard(self, expected):
        """The whole capture so far is exactly these sounds, in order."""
        self.assertEqual(self.heard_so_far(len(expected)), expected)

    def assert_nothing_new(self, expected):
        time.sleep(SILENCE_WAIT)
        self.assertEqual(heard(self.session.captured_sound()), expected)

    def linux_helper_pids(self):
        """HookProc.exe's Linux processes in this test's prefix, read from /proc: quicker than
        asking Wine, so the time to its end is measured closely."""
        pids = []
        wanted = ("WINEPREFIX=" + self.session.prefix).encode()
        for name in os.listdir("/proc"):
            if not name.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % name, "rb") as f:
                    command = f.read()
                with open("/proc/%s/environ" % name, "rb") as f:
                    environment = f.read().split(b"\0")
            except OSError:
                continue
            if b"HookProc.exe" in command and wanted in environment:
                pids.append(int(name))
        return pids


class InputKeysTest(KeySoundCase):

    def type_sequence(self, heard_before):
        """Types each key once the previous sound has ended, so that none cuts another short,
        checking the capture after each; returns what should have been heard."""
        expected = list(heard_before)
        steps = [
            ("a", lambda: self.key("a"), ["A"]),
            ("A with Shift", lambda: self.key("shift+a"), ["A~"]),
            ("A with Caps Lock", lambda: self.key("Caps_Lock", "a", "Caps_Lock"), ["A~"]),
            ("digit", lambda: self.key("7"), ["D7"]),
            ("Space", lambda: self.key("space"), ["SPACE"]),
            ("Enter", lambda: self.key("Return"), ["ENTER"]),
            ("arrow", lambda: self.key("Left"), ["LEFT"]),
            ("function key", lambda: self.key("F5"), ["F5"]),
            ("held letter", lambda: self.hold("a"), ["A"]),
        ]
        for what, act, sounds in steps:
            with self.subTest(what):
                act()
                expected += sounds
                self.assert_heard(expected)
        self.assert_nothing_new(expected)
        return expected

    def test_typed_keys_sound_once_in_order_and_the_same_on_a_second_run(self):
        app = self.start_with_scheme(TYPED_KEYS)
        self.focus_edit_window()
        first = self.type_sequence([])
        first_stream = self.session.captured_sound()
        second = self.type_sequence(first)
        self.assertEqual(second, first + first)
        # Byte for byte, but for the silence Wine may add between sounds on a loaded machine
        # (these keys' samples hold no silence bytes).
        def samples(stream):
            return bytes(b for b in stream if b not in harness.PADDING_BYTES)
        self.assertEqual(samples(self.session.captured_sound()), samples(first_stream) * 2)
        self.assertEqual(self.exit_app(app), 0)

    def test_modifier_and_lock_keys_sound_from_the_poll_and_mute_tracks_them(self):
        # Caps Lock is on before Tapvox starts: that state must not sound.
        self.focus_edit_window()
        self.key("Caps_Lock")
        self.start_with_scheme(POLLED_KEYS)
        self.focus_edit_window()
        self.assert_nothing_new([])
        # Back off. Under Wine a thread's key state learns a lock key's toggle only from that
        # key's own events, so Tapvox read "off" at start and this press stays silent there;
        # where the start state was read as on, it sounds once. Never more than once.
        self.key("Caps_Lock")
        time.sleep(SILENCE_WAIT)
        expected = heard(self.session.captured_sound())
        self.assertIn(expected, ([], ["CAPSLOCK"]))

        with self.subTest("Shift held: one sound"):
            self.hold("shift")
            expected += ["SHIFT"]
            self.assert_nothing_new(expected)
        with self.subTest("Caps Lock twice: two sounds"):
            for _ in range(2):
                self.key("Caps_Lock")
                expected += ["CAPSLOCK"]
                self.assert_heard(expected)
        with self.subTest("Num Lock on: sound at the press"):
            self.session.xdotool("keydown", "Num_Lock")
            expected += ["NUMLOCK"]
            self.assert_heard(expected)
            self.session.xdotool("keyup", "Num_Lock")
            self.assert_nothing_new(expected)
        with self.subTest("Num Lock off: sound at the release"):
            self.session.xdotool("keydown", "Num_Lock")
            self.assert_nothing_new(expected)
            self.session.xdotool("keyup", "Num_Lock")
            expected += ["NUMLOCK"]
            self.assert_heard(expected)

        with self.subTest("muted: silent, and unmuting replays nothing"):
            self.assertEqual(self.tvx.send_command(COMMAND_MUTE), harness.Tvxctl.OK)
            self.hold("shift", 0.6)
            self.key("Caps_Lock", "a", "Caps_Lock", "Caps_Lock")
            self.assert_nothing_new(expected)
            self.assertEqual(self.tvx.send_command(COMMAND_MUTE), harness.Tvxctl.OK)
            self.assert_nothing_new(expected)
        with self.subTest("unmuted: keys sound again"):
            self.hold("shift", 0.6)
            expected += ["SHIFT"]
            self.assert_heard(expected)

    def test_quick_modifier_taps_sound_once_each(self):
        self.start_with_scheme(TAPPED_KEYS)
        self.focus_edit_window()
        expected = []
        for name, sound in (("shift", "SHIFT"), ("ctrl", "CTRL"), ("super", "WIN")):
            with self.subTest("%s tapped for %d ms" % (name, TAP_SECONDS * 1000)):
                for _ in range(3):
                    self.tap(name)
                    expected += [sound]
                    self.assert_heard(expected)
        self.assert_nothing_new(expected)
        with self.subTest("Shift held for two seconds: one sound"):
            self.hold("shift", 2.0)
            expected += ["SHIFT"]
            self.assert_nothing_new(expected)
        with self.subTest("a letter while Shift is held: Shift once, the capital once"):
            self.session.xdotool("keydown", "shift", "sleep", 0.3, "key", "a", "sleep", 0.3,
                                 "keyup", "shift")
            expected += ["SHIFT", "A~"]
            self.assert_heard(expected)
            self.assert_nothing_new(expected)

    def test_keys_sound_after_reinstall_request_and_resume(self):
        app = self.start_with_scheme(TYPED_KEYS, trace=True)
        self.focus_edit_window()
        expected = []
        events = [
            ("re-install request", HOOK_MESSAGE, EVENT_REINSTALL, RESET_HOOKS_LINE),
            ("resume from suspend", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, POWER_LINE),
        ]
        for what, message, wparam, trace_line in events:
            with self.subTest(what):
                before = (app.read_trace() or b"").count(trace_line)
                answer = self.tvx.send(message, wparam)
                self.assertEqual(answer, 1 if message == WM_POWERBROADCAST else 0)
                self.assertEqual((app.read_trace() or b"").count(trace_line), before + 1)
                self.key("a")
                expected += ["A"]
                self.assert_heard(expected)

    def test_refused_reinstall_silences_keys_and_nothing_reinstalls_them(self):
        app = self.new_app()
        helper = harness.tool_path("FakeHelper.exe", want_64bit=True)
        self.assertIsNotNone(helper, "no 64-bit FakeHelper.exe (TAPVOX_TOOLS64)")
        app.replace_helper(helper)
        log = os.path.join(self.work_dir, "helper.log")
        self.start_with_scheme(TYPED_KEYS, app=app, extra_env={
            "TVX_FAKE_HELPER": "reinstall-fails", "TVX_FAKE_HELPER_LOG": harness.windows_path(log)})
        self.focus_edit_window()
        commands_at_start = harness.read_lines(log)

        with self.subTest("an unknown event kind is ignored"):
            self.assertEqual(self.tvx.send(HOOK_MESSAGE, EVENT_UNKNOWN_KIND), 0)
            self.key("a")
            self.assert_heard(["A"])
            self.assertEqual(harness.read_lines(log), commands_at_start)
        with self.subTest("a refused re-install leaves the keys silent"):
            self.assertEqual(self.tvx.send(HOOK_MESSAGE, EVENT_REINSTALL), 0)
            self.assertEqual(harness.read_lines(log), commands_at_start + ["command 0x3b01 0"])
            self.key("a", "7")
            self.assert_nothing_new(["A"])
        with self.subTest("with the hooks unset, neither a request nor a resume sets them"):
            self.assertEqual(self.tvx.send(HOOK_MESSAGE, EVENT_REINSTALL), 0)
            self.assertEqual(self.tvx.send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND), 1)
            self.assertEqual(harness.read_lines(log), commands_at_start + ["command 0x3b01 0"])
            self.key("a")
            self.assert_nothing_new(["A"])

    def test_helper_ends_with_tapvox_whether_it_exits_or_is_killed(self):
        app = self.start_with_scheme(TYPED_KEYS)
        with self.subTest("Exit: the helper is gone within a second"):
            helpers = self.linux_helper_pids()
            self.assertEqual(len(helpers), 1)
            self.assertEqual(self.exit_app(app), 0)
            exited = time.monotonic()
            self.assertTrue(self.wait_until(lambda: not self.linux_helper_pids(), 5, 0.02),
                            "HookProc.exe still runs after Tapvox ended")
            print("helper gone %.2f s after Tapvox's exit" % (time.monotonic() - exited))
            self.assertLess(time.monotonic() - exited, 1.0)
        with self.subTest("killed: the helper ends by itself"):
            app.start()
            self.assertIsNotNone(self.tvx.find_window(timeout_ms=20000))
            self.wait_for_hooks()
            os.kill(app.process.pid, signal.SIGKILL)
            app.process.wait(timeout=10)
            killed = time.monotonic()
            self.assertTrue(self.wait_until(lambda: not self.linux_helper_pids(), 5, 0.02),
                            "HookProc.exe outlived a killed Tapvox")
            print("helper gone %.2f s after Tapvox was killed" % (time.monotonic() - killed))


if __name__ == "__main__":
    harness.main()
