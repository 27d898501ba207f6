"""Start-up settings seen from the registry and the trace file: the one-time tutorial switch, the
trace switch "LogFile" and what the trace writes."""

import os
import re

import harness

INIT_PAIR = (b"Entering CApp::Init() - (CApp.cpp:208)\r\n"
             b"Leaving  CApp::Init() - (CApp.cpp)\r\n")
# One trace pair: the "Entering" line with a line number, then the "Leaving" line of the same
# operation and source; lines end as Windows text files do.
PAIR = re.compile(rb"Entering ([\w:~]+)\(\) - \(([\w.]+):(\d+)\)\r\nLeaving  \1\(\) - \(\2\)\r\n")


class SettingsTraceTest(harness.TapvoxTestCase):

    def run_until_tutorial_checked(self, app):
        """Runs Tapvox until "ShowTutorialOnRun" (set non-zero here) went back to 0, which
        happens after the settings of CApp::Init were read; then exits it."""
        self.tvx.reg_write(harness.PROGRAM_KEY, "ShowTutorialOnRun", "dword", "1")
        self.start_app(app)
        self.assertTrue(self.wait_until(self.tutorial_value_is_zero, 20),
                        "ShowTutorialOnRun was not reset")
        self.assertEqual(self.exit_app(app), 0)

    def tutorial_value_is_zero(self):
        return self.tvx.reg_read(harness.PROGRAM_KEY, "ShowTutorialOnRun") == (
            "REG_DWORD", "0", b"\0\0\0\0")

    def test_tutorial_switch_is_reset_once(self):
        app = self.new_app()
        self.run_until_tutorial_checked(app)
        # A second run leaves the value as it is, 0 and still a REG_DWORD.
        self.start_app(app)
        self.assertEqual(self.exit_app(app), 0)
        self.assertTrue(self.tutorial_value_is_zero())

    def test_missing_log_file_switch_is_written_as_zero(self):
        self.tvx.reg_delete(harness.PROGRAM_KEY, "LogFile")
        self.run_until_tutorial_checked(self.new_app())
        self.assertEqual(self.tvx.reg_read(harness.PROGRAM_KEY, "LogFile"),
                         ("REG_SZ", "0", b"0\0"))

    def test_log_file_beside_program_keeps_switch_unwritten(self):
        app = self.new_app()
        with open(os.path.join(app.folder, "log.txt"), "w") as f:
            f.write("support\n")
        self.tvx.reg_delete(harness.PROGRAM_KEY, "LogFile")
        self.run_until_tutorial_checked(app)
        self.assertIsNone(self.tvx.reg_read(harness.PROGRAM_KEY, "LogFile"))

    def test_trace_holds_init_pair_and_only_whole_pairs(self):
        app = self.new_app()
        app.make_trace_folder()
        self.tvx.reg_write(harness.PROGRAM_KEY, "LogFile", "sz", "1")
        self.run_until_tutorial_checked(app)
        trace = app.read_trace()
        self.assertIsNotNone(trace, "no trace file")
        self.assertEqual(trace.count(INIT_PAIR), 1)
        # The scheme set is built with the application object, before CApp::Init runs, and its
        # trace switch is the cached setting: its pairs come first. Window messages arrive while
        # the window is created, so CApp::WndProc pairs stand between; CApp::Init follows.
        pairs = list(PAIR.finditer(trace))
        self.assertEqual(b"".join(p.group(0) for p in pairs), trace, "stray text in the trace")
        others = [p for p in pairs if p.group(1) != b"CApp::WndProc"]
        self.assertEqual([p.group(1) for p in others[:3]],
                         [b"SoundSchemesList::SoundSchemesList", b"SoundSchemesList::Init",
                          b"CApp::Init"])
        self.assertEqual(others[2].group(0), INIT_PAIR)
        # Shutdown: the hooks are removed, then the application object goes and the scheme set
        # with it; no timer tick or message is traced after them.
        self.assertEqual([p.group(1) for p in pairs[-3:]],
                         [b"CApp::HkUnsetHooks", b"CApp::~CApp", b"SoundSchemesList::~SoundSchemesList"])
        self.assertEqual(trace.count(b"Entering CApp::HkSetHooks() - (CApp.cpp:321)\r\n"), 1)
        self.assertEqual(trace.count(b"Entering CApp::HkSetHooks() - (CApp.cpp:327)\r\n"), 1)
        # "LogFile" = 1 is left as it is.
        self.assertEqual(self.tvx.reg_read(harness.PROGRAM_KEY, "LogFile")[1], "1")

    def test_trace_off_writes_nothing(self):
        cases = [
            ("switch on, no c:/tmp folder", "1", False),
            ("switch 2 is off", "2", True),
        ]
        app = self.new_app()
        for name, switch, make_folder in cases:
            with self.subTest(name):
                if make_folder:
                    app.make_trace_folder()
                self.tvx.reg_write(harness.PROGRAM_KEY, "LogFile", "sz", switch)
                self.run_until_tutorial_checked(app)
                self.assertIsNone(app.read_trace())
                self.assertEqual(os.path.isdir(os.path.dirname(app.trace_file)), make_folder)


if __name__ == "__main__":
    harness.main()
