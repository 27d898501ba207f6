"""Mouse clicks made through the X server, as a user makes them, sound through Tapvox's hooks
when the active scheme gives the button a sound, and change nothing when it names no button:
no mouse hook, no sound, keys as before."""

import harness
import test_input_keys
from test_input_keys import SCHEME, SOUNDS, KeySound, KeySoundCase

# The one sound number the key tests leave free, made known to their reading of the capture.
LEFT_CLICK = KeySound(15, "LBUTTON")
test_input_keys.SOUND_BY_NUMBER[LEFT_CLICK.number] = LEFT_CLICK
LETTER_A = next(sound for sound in SOUNDS if sound.key_name == "A")
# Buttons by X number. The right button is left out: in the edit window it opens a menu.
LEFT, MIDDLE = 1, 2


class InputClicksTest(KeySoundCase):

    def click(self, button):
        self.session.xdotool("click", button)

    def test_a_click_sounds_its_buttons_sound_once_per_press(self):
        app = self.start_with_schemes({SCHEME: [("LBUTTON", LEFT_CLICK), ("A", LETTER_A)]})
        # The click that gives the edit window the focus is the first sound.
        self.focus_edit_window()
        expected = ["LBUTTON"]
        self.assert_heard(expected)
        steps = [
            ("left click", lambda: self.click(LEFT), ["LBUTTON"]),
            ("a key between clicks", lambda: self.key("a"), ["A"]),
            ("left click again", lambda: self.click(LEFT), ["LBUTTON"]),
            ("a button without a sound", lambda: self.click(MIDDLE), []),
        ]
        self.run_steps(steps, expected)
        self.assertEqual(self.exit_app(app), 0)

    def test_a_scheme_without_button_words_leaves_clicks_silent(self):
        app = self.start_with_schemes({SCHEME: [("A", LETTER_A)]})
        self.focus_edit_window()
        steps = [
            ("clicks", lambda: (self.click(LEFT), self.click(MIDDLE)), []),
            ("a key as before", lambda: self.key("a"), ["A"]),
            ("a click after the key", lambda: self.click(LEFT), []),
        ]
        self.run_steps(steps, [])
        self.assertEqual(self.exit_app(app), 0)


if __name__ == "__main__":
    harness.main()
