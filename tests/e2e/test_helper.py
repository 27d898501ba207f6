"""The 64-bit helper seen from outside: start-up takes it or passes over a silent one, what
Tapvox tells it, and that it is told to close at Exit. How long start-up waits for it is a figure
of `make bench` (bench_helper.py)."""

import os

import harness
from test_input_keys import HOOKS_SETTLED_LINE, WAIT_SECONDS

INIT_LINE = b"Entering CApp::Init() - (CApp.cpp:208)"
SET_HOOKS_LINE = b"Entering CApp::HkSetHooks() - (CApp.cpp:321)"
# A mouse move over the tray icon: answered with 0 by the main window and changes nothing.
TRAY_CALLBACK, WM_MOUSEMOVE = 0xB040, 0x200


class HelperTest(harness.TapvoxTestCase):

    def fake_helper(self, app):
        path = harness.tool_path("FakeHelper.exe", want_64bit=True)
        self.assertIsNotNone(path, "no 64-bit FakeHelper.exe (TAPVOX_TOOLS64)")
        app.replace_helper(path)

    def start_until_hooks_settled(self, app, extra_env=None):
        """Starts Tapvox with tracing on and waits until the trace shows start-up past setting the
        hooks; returns the trace then."""
        app.make_trace_folder()
        self.tvx.reg_write(harness.PROGRAM_KEY, "LogFile", "sz", "1")
        app.start(extra_env=extra_env)
        self.assertTrue(self.wait_until(lambda: HOOKS_SETTLED_LINE in (app.read_trace() or b""),
                                        WAIT_SECONDS),
                        "start-up did not get past setting the hooks")
        return app.read_trace()

    def test_real_helper_runs_beside_the_hooks(self):
        app = self.new_app()
        trace = self.start_until_hooks_settled(app)
        self.assertLess(trace.index(INIT_LINE), trace.index(SET_HOOKS_LINE))
        self.assertTrue(self.tvx.running("HookProc.exe"), "HookProc.exe is not running")

    def test_silent_helper_is_waited_for_once_and_start_goes_on(self):
        app = self.new_app()
        self.fake_helper(app)
        log = os.path.join(self.work_dir, "helper.log")
        trace = self.start_until_hooks_settled(app, extra_env={
            "TVX_FAKE_HELPER": "silent", "TVX_FAKE_HELPER_LOG": harness.windows_path(log)})
        self.assertLess(trace.index(INIT_LINE), trace.index(SET_HOOKS_LINE))
        # Nothing else changes: the helper is told nothing, Tapvox runs on and ends normally.
        self.assertTrue(self.wait_until(lambda: harness.read_lines(log), WAIT_SECONDS),
                        "the helper did not start")
        self.assertEqual(harness.read_lines(log), ["started"])
        self.assertEqual(self.tvx.tray_icon_count(), 1)
        self.assertEqual(self.exit_app(app), 0)

    def test_exit_during_helper_wait_ends_program(self):
        app = self.new_app()
        self.fake_helper(app)
        app.start(extra_env={"TVX_FAKE_HELPER": "silent"})
        # The helper runs once the wait has begun; the wait then lasts two seconds.
        self.assertTrue(self.wait_until(lambda: self.tvx.running("HookProc.exe"), 15, 0.05),
                        "the helper did not start")
        self.assertEqual(self.exit_app(app), 0)

    def test_exit_closes_real_helper(self):
        app = self.new_app()
        # The helper has announced itself and the hooks are set before the exit is asked for.
        self.start_until_hooks_settled(app)
        self.assertTrue(self.tvx.running("HookProc.exe"), "HookProc.exe did not start")
        self.assertEqual(self.exit_app(app), 0)
        # A bound that only proves it ends: it takes well under a second.
        gone = self.wait_until(lambda: not self.tvx.running("HookProc.exe"), 25, interval=0.2)
        self.assertTrue(gone, "HookProc.exe still runs after Tapvox ended")

    def test_helper_commands_from_start_to_exit(self):
        app = self.new_app()
        self.fake_helper(app)
        log = os.path.join(self.work_dir, "helper.log")
        app.start(extra_env={"TVX_FAKE_HELPER": "announce",
                             "TVX_FAKE_HELPER_LOG": harness.windows_path(log)})
        self.assertIsNotNone(self.tvx.wait_for_window())
        expected_start = ["started", "announced", "command 0x3b00 1", "command 0x3b03 0"]
        self.assertTrue(self.wait_until(lambda: harness.read_lines(log) == expected_start, 15),
                        "helper saw %r" % harness.read_lines(log))
        self.assertEqual(self.exit_app(app), 0)
        # Hooks removed, then WM_CLOSE; Tapvox does not wait for the helper to end.
        expected_all = expected_start + ["command 0x3b00 0", "close"]
        self.assertTrue(self.wait_until(lambda: harness.read_lines(log) == expected_all, 25),
                        "helper saw %r" % harness.read_lines(log))

    def test_helper_that_never_answers_costs_one_bounded_wait(self):
        app = self.new_app()
        self.fake_helper(app)
        log = os.path.join(self.work_dir, "helper.log")
        app.start(extra_env={"TVX_FAKE_HELPER": "hang",
                             "TVX_FAKE_HELPER_LOG": harness.windows_path(log)})
        found = self.tvx.wait_for_window()
        self.assertIsNotNone(found)
        # The install gets no reply, which is a failed one: the hooks are not set, and Tapvox
        # says so instead of waiting for ever.
        box = self.wait_until(lambda: self.message_box_of(found[1]), 40)
        self.assertTrue(box, "no message box: Tapvox waits on the helper")
        self.assertEqual(harness.read_lines(log), ["started", "announced", "command 0x3b00 1"])
        self.session.xdotool("key", "Return")
        self.assertTrue(self.wait_until(lambda: not self.message_box_of(found[1]), 10),
                        "the message box stayed")
        self.assertEqual(self.tvx.send(TRAY_CALLBACK, 0, WM_MOUSEMOVE), 0, self.tvx.last_error)
        self.assert_tray_menu_opens()
        # The silent helper was forgotten: nothing more is sent to it, and Exit does not wait.
        self.assertEqual(self.exit_app(app), 0)
        self.assertEqual(harness.read_lines(log), ["started", "announced", "command 0x3b00 1"])

    def test_foreign_window_announcing_itself_is_not_taken(self):
        app, _, _ = self.start_app()
        self.assertTrue(self.wait_until(lambda: self.tvx.running("HookProc.exe"), 10),
                        "HookProc.exe did not start")
        # Another program, not the HookProc.exe beside Tapvox, claims to be the helper and would
        # never answer a command.
        log = os.path.join(self.work_dir, "foreign.log")
        self.session.start([harness.tool_path("FakeHelper.exe", want_64bit=True)],
                           extra_env={"TVX_FAKE_HELPER": "hang",
                                      "TVX_FAKE_HELPER_LOG": harness.windows_path(log)})
        self.assertTrue(self.wait_until(lambda: "announced" in harness.read_lines(log), 15),
                        "the foreign window did not announce itself")
        # A window event makes Tapvox send the helper a command: it goes to HookProc.exe.
        self.assertEqual(self.tvx.post_hook((0x10000, 0x1234)), harness.Tvxctl.OK)
        self.assertEqual(self.tvx.send(TRAY_CALLBACK, 0, WM_MOUSEMOVE), 0, self.tvx.last_error)
        self.assert_tray_menu_opens()
        self.assertEqual(self.exit_app(app), 0)
        self.assertEqual(harness.read_lines(log), ["started", "announced"])
        gone = self.wait_until(lambda: not self.tvx.running("HookProc.exe"), 25, interval=0.2)
        self.assertTrue(gone, "the real helper was not told to close")

    def message_box_of(self, pid):
        return [w for w in self.tvx.windows()
                if w["class"] == harness.DIALOG_CLASS and w["pid"] == pid and w["visible"]]


if __name__ == "__main__":
    harness.main()
