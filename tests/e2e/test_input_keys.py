"""Keys typed into another Wine window through the X server, as a user types them, reach Tapvox
through its hooks and its poll of the modifier and lock keys: each key gives its own sound once,
in order, in the captured stream. The hooks come back after a re-install request and a resume,
a refused re-install silences them for good, and the helper never outlives Tapvox."""

import os
import shutil
import signal

import harness
from wavfiles import write_wav

HOOK_MESSAGE = "NEW_HOOK_SYSTEM"
WM_POWERBROADCAST = 0x218
PBT_APMRESUMESUSPEND = 7
COMMAND_MUTE = 40012
EVENT_REINSTALL = 3 << 16
EVENT_UNKNOWN_KIND = 6 << 16  # 4 is a key's release, 5 a mouse button
FILTER_INVERSION = 2
# Above 100 the volume step is skipped, so the stream holds each file's own bytes.
FULL_LEVEL = 101
SCHEME = "InputTest"
RATE = 11025
FRAMES = 1100  # a tenth of a second: over before the next key comes
HOLD_SECONDS = 1.2
RESET_HOOKS_LINE = b"Entering CApp::HkResetHooks()"
POWER_LINE = b"Entering CApp::OnPowerBroadcast()"
HANDLE_HOOK_LINE = b"Entering CApp::HandleHook()"
# Start-up traces this step right after the hooks are set (or refused, with a message box).
HOOKS_SETTLED_LINE = b"Entering CApp::HkSetWaitForEndKey()"
# Generous: a loaded machine starts Wine programs slowly.
WAIT_SECONDS = 60


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
    ["A", "D7", "SPACE", "ENTER", "LEFT", "F5", "SHIFT", "CAPSLOCK", "NUMLOCK", "CTRL", "WIN",
     "A.UP", "SHIFT.UP", "F12"], start=1)]
# Every test scheme gives this key its own sound. Typed after keys that must stay silent, it
# travels the same way they do, so its sound coming next proves that theirs never came.
MARKER = SOUNDS[-1]
# The marker as a key event of kind 0: F12's key code, no character.
MARKER_EVENT = 0x7B << 8
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
    """Replaces the schemes of this copy of the program: name -> [(key name, KeySound)], each
    with the marker key added."""
    folder = os.path.join(app.folder, "Schemes")
    shutil.rmtree(folder, ignore_errors=True)
    for name, keys in schemes.items():
        keys = keys + [(MARKER.key_name, MARKER)]
        os.makedirs(os.path.join(folder, name))
        with open(os.path.join(folder, name, "Scheme.txt"), "w") as f:
            f.write("".join("%s=%s\r\n" % (key, sound.file_name) for key, sound in keys))
        for _, sound in keys:
            write_wav(os.path.join(folder, name, sound.file_name), 8, 1, RATE, sound.data)


class KeySoundCase(harness.TapvoxTestCase):
    """What the typed-key tests share: Tapvox with schemes of KeySounds, another window to type
    into, and the captured sounds by name."""

    def start_with_schemes(self, schemes, extra_env=None, app=None):
        """Tapvox with these schemes as its only ones (name -> [(key name, KeySound)]), the first
        in the listing active, capitals inverted, its trace on; returns the app once its hooks
        are set."""
        app = app or self.new_app()
        install_schemes(app, schemes)
        self.tvx.reg_write(harness.PROGRAM_KEY, "Scheme", "sz", "0")
        self.tvx.reg_write(harness.PROGRAM_KEY, "Valume", "sz", str(FULL_LEVEL))
        self.tvx.reg_write(harness.PROGRAM_KEY, "Filter", "sz", str(FILTER_INVERSION))
        app.make_trace_folder()
        self.tvx.reg_write(harness.PROGRAM_KEY, "LogFile", "sz", "1")
        self.start_and_wait_for_hooks(app, extra_env)
        return app

    def start_with_scheme(self, key_names, extra_env=None, app=None):
        """One scheme in which each of these keys has its own sound."""
        keys = [(s.key_name, s) for s in SOUNDS if s.key_name in key_names]
        return self.start_with_schemes({SCHEME: keys}, extra_env, app)

    def start_and_wait_for_hooks(self, app, extra_env=None):
        """Starts Tapvox, its trace on, and waits until the trace shows its start-up past setting
        the hooks."""
        def settled():
            return (app.read_trace() or b"").count(HOOKS_SETTLED_LINE)
        before = settled()
        app.start(extra_env=extra_env)
        self.assertIsNotNone(self.tvx.wait_for_window(),
                             "Tapvox's main window did not appear")
        self.assertTrue(self.wait_until(lambda: settled() > before, WAIT_SECONDS),
                        "Tapvox's start-up did not get past setting the hooks")

    def focus_edit_window(self):
        """Another program's window with the keyboard focus, where the keys are typed."""
        if not hasattr(self, "edit_window"):
            self.edit_text = os.path.join(self.work_dir, "edit.txt")
            self.edit_window = self.open_edit_window(self.edit_text)
        window = next(w for w in self.tvx.windows() if w["hwnd"] == self.edit_window)
        left, top, right, bottom = window["rect"]
        self.session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)
        self.assertTrue(self.wait_until(lambda: self.tvx.foreground() == self.edit_window,
                                        WAIT_SECONDS),
                        "the edit window did not come to the foreground")

    def key(self, *names):
        self.session.xdotool("key", "--delay", 60, *names)

    def hold(self, name, seconds=HOLD_SECONDS):
        """A key held down: how long is the input itself, long enough for polls to pass."""
        self.session.xdotool("keydown", name, "sleep", seconds, "keyup", name)

    def tap(self, name):
        """One quick press and release, timed by xdotool itself."""
        self.session.xdotool("keydown", name, "sleep", TAP_SECONDS, "keyup", name)

    def heard_so_far(self, expected_count):
        return heard(self.session.wait_for_sound(expected_count * FRAMES))

    def assert_heard(self, expected):
        """The whole capture so far is exactly these sounds, in order."""
        self.assertEqual(self.heard_so_far(len(expected)), expected)

    def heard_through_marker(self):
        """Types the marker key and returns the whole capture by name once its sound came."""
        markers = self.markers_heard()
        self.key(MARKER.key_name)
        return self.heard_when_marked(markers)

    def markers_heard(self):
        return heard(self.session.captured_sound()).count(MARKER.key_name)

    def heard_when_marked(self, markers_before):
        """The whole capture by name, once it ends with a marker beyond the ones heard before."""
        def newly_marked():
            names = heard(self.session.captured_sound())
            return marked(names) if names.count(MARKER.key_name) > markers_before else None
        names = self.wait_until(newly_marked, WAIT_SECONDS)
        self.assertTrue(names, "the marker key's sound did not come; heard %r"
                        % heard(self.session.captured_sound()))
        return names

    def run_steps(self, steps, expected):
        """Runs each (what, act, sounds) step, checking after each that its sounds joined
        `expected`, then that nothing more sounded."""
        for what, act, sounds in steps:
            with self.subTest(what):
                act()
                expected += sounds
                self.assert_heard(expected)
        self.assert_nothing_new(expected)

    def assert_nothing_new(self, expected):
        """Nothing sounded after `expected`: the marker's sound comes next. It joins `expected`."""
        expected.append(MARKER.key_name)
        self.assertEqual(self.heard_through_marker(), expected)

    def assert_nothing_new_unhooked(self, expected, typed):
        """As assert_nothing_new, where the hooks are unset and a typed marker would be silent
        too: once the edit window shows the typed text, the hooks, had they run, have posted
        their events to Tapvox, so a marker event posted now queues behind them."""
        def text():
            try:
                with open(self.edit_text) as f:
                    return f.read()
            except FileNotFoundError:
                return ""
        self.assertTrue(self.wait_until(lambda: text().endswith(typed), WAIT_SECONDS),
                        "%r did not reach the edit window, which shows %r" % (typed, text()))
        self.assert_nothing_new_posted(expected)

    def assert_nothing_new_posted(self, expected):
        """As assert_nothing_new, with the marker posted to Tapvox as a hook event instead of
        typed, for the caller who knows that what it waits on was posted before."""
        markers = self.markers_heard()
        self.assertEqual(self.tvx.post_hook(MARKER_EVENT), harness.Tvxctl.OK)
        expected.append(MARKER.key_name)
        self.assertEqual(self.heard_when_marked(markers), expected)

    def hook_events_handled(self, app):
        return (app.read_trace() or b"").count(HANDLE_HOOK_LINE)

    def linux_helper_pids(self):
        """HookProc.exe's Linux processes in this test's prefix, read from /proc: quicker than
        asking Wine."""
        return helper_pids(self.session.prefix)


def marked(names):
    """The names, when the last is the marker's; else None."""
    return names if names and names[-1] == MARKER.key_name else None


def helper_pids(prefix):
    """HookProc.exe's Linux processes in the Wine prefix, read from /proc."""
    pids = []
    wanted = ("WINEPREFIX=" + prefix).encode()
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
        self.run_steps(steps, expected)
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
        app = self.start_with_scheme(POLLED_KEYS)
        self.focus_edit_window()
        expected = []
        self.assert_nothing_new(expected)
        # Back off. Under Wine a thread's key state learns a lock key's toggle only from that
        # key's own events, so Tapvox read "off" at start and this press stays silent there;
        # where the start state was read as on, it sounds once. Never more than once.
        self.key("Caps_Lock")
        expected = self.heard_through_marker()
        self.assertIn(expected, (["F12", "F12"], ["F12", "CAPSLOCK", "F12"]))

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
            # Another key typed while a lock key is down makes Wine resync the lock's state, so
            # the marker is posted, once Tapvox has handled the press and polled after it.
            handled = self.hook_events_handled(app)
            self.session.xdotool("keydown", "Num_Lock")
            self.assertTrue(self.wait_until(lambda: self.hook_events_handled(app) > handled,
                                            WAIT_SECONDS), "Tapvox did not hear Num Lock go down")
            self.assert_nothing_new_posted(expected)
            self.session.xdotool("keyup", "Num_Lock")
            expected += ["NUMLOCK"]
            self.assert_heard(expected)

        with self.subTest("muted: silent, and unmuting replays nothing"):
            self.assertEqual(self.tvx.send_command(COMMAND_MUTE), harness.Tvxctl.OK)
            self.hold("shift", 0.6)
            self.key("Caps_Lock", "a", "Caps_Lock", "Caps_Lock")
            # Muted, the marker would be silent too: it comes once unmuted, and must come next.
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

    def test_held_keys_sound_their_release_words_when_let_go(self):
        # Held past their sounds' end, so no release cuts its press short.
        self.start_with_scheme(["A", "A.UP", "SHIFT", "SHIFT.UP", "D7"])
        self.focus_edit_window()
        expected = []
        steps = [
            ("a letter, from the hook", lambda: self.hold("a"), ["A", "A.UP"]),
            ("Shift, from the poll", lambda: self.hold("shift"), ["SHIFT", "SHIFT.UP"]),
            ("a key without a release word", lambda: self.hold("7"), ["D7"]),
        ]
        self.run_steps(steps, expected)

    def test_keys_sound_after_reinstall_request_and_resume(self):
        app = self.start_with_scheme(TYPED_KEYS)
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

        expected = []
        with self.subTest("an unknown event kind is ignored"):
            self.assertEqual(self.tvx.send(HOOK_MESSAGE, EVENT_UNKNOWN_KIND), 0)
            self.key("a")
            expected += ["A"]
            self.assert_heard(expected)
            self.assertEqual(harness.read_lines(log), commands_at_start)
        with self.subTest("a refused re-install leaves the keys silent"):
            self.assertEqual(self.tvx.send(HOOK_MESSAGE, EVENT_REINSTALL), 0)
            self.assertEqual(harness.read_lines(log), commands_at_start + ["command 0x3b01 0"])
            self.key("a", "7")
            self.assert_nothing_new_unhooked(expected, "a7")
        with self.subTest("with the hooks unset, neither a request nor a resume sets them"):
            self.assertEqual(self.tvx.send(HOOK_MESSAGE, EVENT_REINSTALL), 0)
            self.assertEqual(self.tvx.send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND), 1)
            self.assertEqual(harness.read_lines(log), commands_at_start + ["command 0x3b01 0"])
            self.key("a")
            self.assert_nothing_new_unhooked(expected, "a")

    def test_helper_ends_with_tapvox_whether_it_exits_or_is_killed(self):
        app = self.start_with_scheme(TYPED_KEYS)
        # How soon it ends is a figure of `make bench` (bench_helper.py); these bounds, ten
        # times that figure and more, only prove that it ends.
        with self.subTest("Exit: the helper ends"):
            helpers = self.linux_helper_pids()
            self.assertEqual(len(helpers), 1)
            self.assertEqual(self.exit_app(app), 0)
            self.assertTrue(self.wait_until(lambda: not self.linux_helper_pids(), 10, 0.02),
                            "HookProc.exe still runs after Tapvox ended")
        with self.subTest("killed: the helper ends by itself"):
            self.start_and_wait_for_hooks(app)
            os.kill(app.process.pid, signal.SIGKILL)
            app.process.wait(timeout=10)
            self.assertTrue(self.wait_until(lambda: not self.linux_helper_pids(), 10, 0.02),
                            "HookProc.exe outlived a killed Tapvox")


if __name__ == "__main__":
    harness.main()
