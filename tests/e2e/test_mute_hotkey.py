"""The mute hotkey pressed through the X server, as a user presses it: the first press mutes, so
that keys typed in another program are silent, the second brings their sounds back. Nothing is
stored, so the default chord is the one registered."""

import harness
from test_input_keys import MARKER, WAIT_SECONDS, KeySoundCase

# Ctrl+Alt+Shift+M, as xdotool names it.
DEFAULT_HOTKEY = "ctrl+alt+shift+m"
# A key typed is a press and a release, two hook events.
EVENTS_PER_KEY = 2
# Mute, however it is switched, shows in the tray through this step.
QUIET_STATE_LINE = b"Entering CApp::ShowQuietState()"


class MuteHotkeyTest(KeySoundCase):

    def quiet_changes(self, app):
        return (app.read_trace() or b"").count(QUIET_STATE_LINE)

    def press_hotkey(self, app):
        before = self.quiet_changes(app)
        self.key(DEFAULT_HOTKEY)
        self.assertTrue(self.wait_until(lambda: self.quiet_changes(app) > before, WAIT_SECONDS),
                        "the hotkey did not switch Mute")

    def type_handled(self, app, name):
        handled = self.hook_events_handled(app)
        self.key(name)
        self.assertTrue(
            self.wait_until(lambda: self.hook_events_handled(app) >= handled + EVENTS_PER_KEY,
                            WAIT_SECONDS), "Tapvox did not take the key %s" % name)

    def test_hotkey_mutes_and_unmutes(self):
        app = self.start_with_scheme(["A", MARKER.key_name])
        self.focus_edit_window()
        self.press_hotkey(app)
        self.type_handled(app, "a")
        self.press_hotkey(app)
        self.type_handled(app, "a")
        expected = ["A"]
        self.assert_nothing_new(expected)
        self.assertEqual(expected, ["A", MARKER.key_name])
        self.assertEqual(self.exit_app(app), 0)


if __name__ == "__main__":
    harness.main()
