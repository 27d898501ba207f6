"""The Startup command end to end: the start-with-Windows entry it writes and removes under the
Run key, and how an entry found at start decides which way the first toggle goes."""

import harness

ENTRY = b'"C:\\Tapvox\\Launcher.exe"\0'


class StartupCommandTest(harness.TapvoxTestCase):

    def entry(self):
        return self.tvx.reg_read(harness.RUN_KEY, "Tapvox")

    def toggle(self):
        self.assertEqual(self.tvx.send_command(harness.COMMAND_STARTUP), harness.Tvxctl.OK)

    def test_toggle_adds_then_removes_entry(self):
        # Another program's entry must survive both toggles.
        self.tvx.reg_write(harness.RUN_KEY, "Other", "sz", "other.exe")
        self.tvx.reg_delete(harness.RUN_KEY, "Tapvox")
        app, _, _ = self.start_app()
        self.toggle()
        self.assertEqual(self.entry(), ("REG_SZ", ENTRY[:-1].decode(), ENTRY))
        self.toggle()
        self.assertIsNone(self.entry())
        self.assertEqual(self.tvx.reg_read(harness.RUN_KEY, "Other")[1], "other.exe")
        self.assertEqual(self.exit_app(app), 0)

    def test_entry_found_at_start_decides_first_toggle(self):
        cases = [
            # stored text, whether it counts as this program's entry
            ('"C:\\Tapvox\\Launcher.exe"', True),
            ('"c:\\tapvox\\LAUNCHER.EXE"', True),       # compared without regard to case
            ("C:\\Tapvox\\Launcher.exe", False),        # written by hand, without quotes
            ('"D:\\Elsewhere\\Launcher.exe"', False),   # another copy of the program
        ]
        app = self.new_app()
        for stored, counts in cases:
            with self.subTest(stored=stored):
                self.tvx.reg_write(harness.RUN_KEY, "Tapvox", "sz", stored)
                self.start_app(app)
                self.toggle()
                # Set at start: the toggle removes it; not set: the toggle writes this copy's.
                expected = None if counts else ("REG_SZ", ENTRY[:-1].decode(), ENTRY)
                self.assertEqual(self.entry(), expected)
                self.assertEqual(self.exit_app(app), 0)

    def test_missing_run_key_is_not_created(self):
        self.assertIn(self.tvx.reg_delete(harness.RUN_KEY),
                      (harness.Tvxctl.OK, harness.Tvxctl.MISSING))
        app, _, _ = self.start_app()
        self.toggle()
        code, _ = self.tvx.call("reg-read", harness.RUN_KEY, "Tapvox")
        self.assertEqual(code, harness.Tvxctl.MISSING)
        # The key is opened, never created, for the entry.
        self.assertEqual(self.tvx.reg_delete(harness.RUN_KEY), harness.Tvxctl.MISSING)
        self.assertEqual(self.exit_app(app), 0)


if __name__ == "__main__":
    harness.main()
