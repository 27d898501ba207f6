"""Keys typed into a password box, or into a program on the quiet list, make no sound; the next
ordinary edit box, in another program, sounds again. Keys are typed through the X server and
reach Tapvox through its hooks, as a user's keys do."""

import os
import shutil

import harness
from test_input_keys import MARKER, WAIT_SECONDS, KeySoundCase

PASSWORD_WINDOW_CLASS = "TVX_TEST_PASSWORDWND"
WM_CLOSE = 0x10
# The list holds the name in another case: Windows file names ignore it.
QUIET_PROGRAM = "QuietEdit.exe"
QUIET_PROGRAM_LISTED = "notepad.exe|quietedit.EXE"
# A key typed is a press and a release, two hook events.
EVENTS_PER_KEY = 2
# Tapvox traces this each time the reason for silence changes.
QUIET_STATE_LINE = b"Entering CApp::ShowQuietState()"


class QuietRulesTest(KeySoundCase):

    def click(self, hwnd):
        window = next(w for w in self.tvx.windows() if w["hwnd"] == hwnd)
        left, top, right, bottom = window["rect"]
        self.session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)

    def quiet_changes(self, app):
        return (app.read_trace() or b"").count(QUIET_STATE_LINE)

    def changing_quiet_state(self, app, act):
        """Acts, then waits until Tapvox has seen the reason for silence change: a key typed
        before that would be decided by the state before."""
        before = self.quiet_changes(app)
        act()
        self.assertTrue(self.wait_until(lambda: self.quiet_changes(app) > before, WAIT_SECONDS),
                        "Tapvox did not see the quiet state change")

    def type_handled(self, app, name):
        """Types a key and waits until Tapvox has taken both its hook events, so that a focus
        or foreground change after it cannot overtake them on their way."""
        handled = self.hook_events_handled(app)
        self.key(name)
        self.assertTrue(
            self.wait_until(lambda: self.hook_events_handled(app) >= handled + EVENTS_PER_KEY,
                            WAIT_SECONDS), "Tapvox did not take the key %s" % name)

    def open_password_window(self):
        """The password window's (password box, ordinary box), top to bottom."""
        self.session.start([self.tvx.path, "password-window", "60000"])
        found = self.tvx.wait_for_window(PASSWORD_WINDOW_CLASS)
        self.assertIsNotNone(found, "the password window did not appear")
        boxes = sorted((w for w in self.tvx.windows() if w["parent"] == found[0]),
                       key=lambda w: w["rect"][1])
        self.assertEqual(len(boxes), 2)
        return boxes[0]["hwnd"], boxes[1]["hwnd"]

    def test_password_box_is_silent_and_the_next_edit_box_sounds(self):
        app = self.start_with_scheme(["A", "D7"])
        password_box, plain_box = self.open_password_window()
        expected = []
        steps = [
            ("password box", password_box, ["a", "7"], []),
            ("the ordinary box below it", plain_box, ["a"], ["A"]),
            ("the password box again", password_box, ["7"], []),
        ]
        for what, box, keys, sounds in steps:
            with self.subTest(what):
                self.changing_quiet_state(app, lambda: self.click(box))
                for name in keys:
                    self.type_handled(app, name)
                expected += sounds
        # Another program's edit box: the marker sounds there, after only what sounded above.
        self.changing_quiet_state(app, self.focus_edit_window)
        self.assert_nothing_new(expected)
        self.assertEqual(expected, ["A", MARKER.key_name])

    def test_program_on_the_list_is_silent(self):
        self.tvx.reg_write(harness.PROGRAM_KEY, "QuietPrograms", "sz", QUIET_PROGRAM_LISTED)
        app = self.start_with_scheme(["A", "D7"])
        # The ordinary edit window first, so that the quiet one is the other of its class.
        self.focus_edit_window()
        quiet_copy = os.path.join(self.work_dir, QUIET_PROGRAM)
        shutil.copyfile(self.tvx.path, quiet_copy)

        def quiet_window():
            return next((w["hwnd"] for w in self.tvx.windows()
                         if w["class"] == harness.EDIT_WINDOW_CLASS
                         and w["hwnd"] != self.edit_window), None)

        def open_quiet_program():
            # It takes the foreground as it opens; the click makes sure.
            self.session.start([quiet_copy, "edit-window", "Quiet", "60000"])
            quiet = self.wait_until(quiet_window, WAIT_SECONDS)
            self.assertIsNotNone(quiet, "the quiet program's edit window did not appear")
            self.click(quiet)
        self.changing_quiet_state(app, open_quiet_program)
        for name in ("a", "7", "a"):
            self.type_handled(app, name)

        def back_to_the_edit_window():
            # The quiet window lies over the other one: it closes, and the other is clicked.
            quiet = quiet_window()
            self.assertEqual(self.tvx.call("post-window", quiet, WM_CLOSE, 0)[0],
                             harness.Tvxctl.OK)
            self.assertTrue(self.wait_until(lambda: quiet_window() is None, WAIT_SECONDS),
                            "the quiet program's window did not close")
            self.focus_edit_window()
        self.changing_quiet_state(app, back_to_the_edit_window)
        self.assert_nothing_new([])

if __name__ == "__main__":
    harness.main()
