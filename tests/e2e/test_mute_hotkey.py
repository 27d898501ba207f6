"""The mute hotkey pressed through the X server, as a user presses it: the first press mutes, so
that keys typed in another program are silent and the tray shows the quiet icon, the second
brings their sounds and the plain icon back. Nothing is stored, so the default chord is the one
registered."""

import os

import harness
from test_input_keys import MARKER, WAIT_SECONDS, KeySoundCase

# Ctrl+Alt+Shift+M, as xdotool names it.
DEFAULT_HOTKEY = "ctrl+alt+shift+m"
# A key typed is a press and a release, two hook events.
EVENTS_PER_KEY = 2
# Mute, however it is switched, shows in the tray through this step.
QUIET_STATE_LINE = b"Entering CApp::ShowQuietState()"


# The quiet icon's stroke is red and its waves grey; the plain icon has no red at all, and green
# waves. Wine's tray draws a new icon over the old one without clearing it, so the stroke stays
# behind the plain icon's waves: back from Mute, the green coming back is what shows.
RED = "r>0.6 && g<0.35 && b<0.35"
GREEN = "g>0.45 && r<0.35 && b<0.35"


class MuteHotkeyTest(KeySoundCase):

    def icon_share(self, colour):
        """The share of the tray icon's pixels of this colour, as the screen shows it now."""
        icons = [w for w in self.tvx.windows() if w["class"] == harness.TRAY_ICON_CLASS]
        self.assertEqual(len(icons), 1)
        left, top, right, bottom = icons[0]["rect"]
        shot = os.path.join(self.work_dir, "tray.png")
        self.session.screenshot(shot)
        code, out, err = harness.run_to_files(
            ["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
             "-fx", colour, "-format", "%[fx:mean]", "info:"],
            self.session.env, harness.DEFAULT_TIMEOUT, "convert")
        self.assertEqual(code, 0, err)
        return float(out)


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
        self.assertTrue(self.wait_until(lambda: self.tvx.tray_icon_count() == 1, WAIT_SECONDS),
                        "no tray icon")
        self.assertTrue(self.wait_until(lambda: self.icon_share(GREEN) > 0, WAIT_SECONDS),
                        "no plain icon before Mute")
        self.assertEqual(self.icon_share(RED), 0)
        self.press_hotkey(app)
        self.assertTrue(self.wait_until(lambda: self.icon_share(RED) > 0, WAIT_SECONDS),
                        "no quiet icon while muted")
        green_while_muted = self.icon_share(GREEN)
        self.type_handled(app, "a")
        self.press_hotkey(app)
        self.assertTrue(
            self.wait_until(lambda: self.icon_share(GREEN) > green_while_muted, WAIT_SECONDS),
            "the plain icon's green waves did not come back after Mute")
        self.type_handled(app, "a")
        expected = ["A"]
        self.assert_nothing_new(expected)
        self.assertEqual(expected, ["A", MARKER.key_name])
        self.assertEqual(self.exit_app(app), 0)


if __name__ == "__main__":
    harness.main()
