"""A second start of Tapvox while one runs: with an empty command line it brings the first one
forward; with any text on the command line it leaves the first alone. Either way it exits with 0
and adds no tray icon."""

import os

import harness


class SingleInstanceTest(harness.TapvoxTestCase):

    def start_first_behind_an_edit_window(self):
        app, main_window, _ = self.start_app()
        self.assertTrue(self.wait_until(lambda: self.tvx.tray_icon_count() == 1, 10),
                        "the first instance shows no tray icon")
        self.activations = os.path.join(self.work_dir, "activations.txt")
        edit_window = self.open_edit_window(activation_file=self.activations)
        self.assertTrue(self.wait_until(lambda: self.tvx.foreground() == edit_window, 5),
                        "the edit window did not take the foreground")
        return app, main_window, edit_window

    def assert_first_runs_alone(self, app, main_window):
        self.assertIsNone(app.process.poll(), "the first instance ended")
        mains = [w["hwnd"] for w in self.tvx.windows() if w["class"] == harness.MAIN_WINDOW_CLASS]
        self.assertEqual(mains, [main_window])
        self.assertEqual(self.tvx.tray_icon_count(), 1)
        self.assertEqual(len(self.tvx.running("Tapvox.exe")), 1)

    def test_empty_command_line_activates_first(self):
        app, main_window, _ = self.start_first_behind_an_edit_window()
        second = app.start()
        self.assertEqual(app.wait_exit(second, timeout=20), 0)
        # The X server hands over the focus a moment after the call.
        self.assertTrue(self.wait_until(lambda: self.tvx.foreground() == main_window, 5),
                        "the first instance was not brought forward")
        self.assert_first_runs_alone(app, main_window)

    def test_command_line_text_leaves_first_alone(self):
        app, main_window, edit_window = self.start_first_behind_an_edit_window()
        for text in ("x", "/autostart"):
            with self.subTest(command_line=text):
                second = app.start(text)
                self.assertEqual(app.wait_exit(second, timeout=20), 0)
                # The second instance has ended, so any activation it asked for is on its way.
                self.assertEqual(self.edit_window_deactivations(edit_window, self.activations), 0)
                self.assertEqual(self.tvx.foreground(), edit_window)
                self.assert_first_runs_alone(app, main_window)
        # The same way, an empty command line shows in the record.
        second = app.start()
        self.assertEqual(app.wait_exit(second, timeout=20), 0)
        self.assertEqual(self.edit_window_deactivations(edit_window, self.activations), 1)


if __name__ == "__main__":
    harness.main()
