"""Typing through the X server reaches the focused Wine window, key by key: the ground for every
key-sound test."""

import os

import harness


class TypingTest(harness.TapvoxTestCase):

    def test_typed_text_arrives_in_edit_window(self):
        text_file = os.path.join(self.work_dir, "typed.txt")
        edit_window = self.open_edit_window(text_file)
        # Capitals, digits, blanks and punctuation: Shift goes down and up in between.
        typed = "Hello Wine, 42 keys!"
        self.type_into(edit_window, typed)

        def text_in_window():
            try:
                with open(text_file, "rb") as f:
                    return f.read() == typed.encode()
            except FileNotFoundError:
                return False

        self.assertTrue(self.wait_until(text_in_window, 10), "the typed text did not arrive")


if __name__ == "__main__":
    harness.main(need_app=False)
