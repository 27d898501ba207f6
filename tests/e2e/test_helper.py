"""The 64-bit helper seen from outside: how long start-up waits for its announcement, what Tapvox
tells it, and that it is told to close at Exit."""

import os
import time

import harness

INIT_LINE = b"Entering CApp::Init() - (CApp.cpp:208)"
SET_HOOKS_LINE = b"Entering CApp::HkSetHooks() - (CApp.cpp:321)"
# A mouse move over the tray icon: answered with 0 by the main window and changes nothing.
TRAY_CALLBACK, WM_MOUSEMOVE = 0xB040, 0x200


class HelperTest(harness.TapvoxTestCase):

    def fake_helper(self, app):
        path = harness.tool_path("FakeHelper.exe", want_64bit=True)
        self.assertIsNotNone(path, "no 64-bit FakeHelper.exe (TAPVOX_TOOLS64)")
        app.replace_helper(path)

    def seconds_from_init_to_hooks(self, app, extra_env=None):
        """Starts Tapvox with tracing on and measures, by watching the trace file, the time from
        CApp::Init to the hooks being set: the helper wait lies between the two."""
        app.make_trace_folder()
        self.tvx.reg_write(harness.PROGRAM_KEY, "LogFile", "sz", "1")
        app.start(extra_env=extra_env)
        init_seen = hooks_seen = None
        deadline = time.monotonic() + 30
        while hooks_seen is None and time.monotonic() < deadline:
            trace = app.read_trace() or b""
            now = time.monotonic()
            if init_seen is None and INIT_LINE in trace:
                init_seen = now
            if init_seen is not None and SET_HOOKS_LINE in trace:
                hooks_seen = now
            time.sleep(0.01)
        self.assertIsNotNone(init_seen, "no CApp::Init in the trace")
        self.assertIsNotNone(hooks_seen, "the hooks were never set")
        return hooks_seen - init_seen

    def test_real_helper_does_not_delay_start(self):
        app = self.new_app()
        delay = self.seconds_from_init_to_hooks(app)
        print("init to hooks with HookProc.exe: %.2f s" % delay)
        self.assertLess(delay, 1.5)
        self.assertTrue(self.tvx.running("HookProc.exe"), "HookProc.exe is not running")

    def test_silent_helper_delays_start_by_two_seconds(self):
        app = self.new_app()
        self.fake_helper(app)
        delay = self.seconds_from_init_to_hooks(app, extra_env={"TVX_FAKE_HELPER": "silent"})
        print("init to hooks with a silent helper: %.2f s" % delay)
        self.assertGreaterEqual(delay, 1.8)
        self.assertLess(delay, 6.0)
        # Nothing else changes: Tapvox runs on and ends normally.
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
        app, _, _ = self.start_app()
        self.assertTrue(self.wait_until(lambda: self.tvx.running("HookProc.exe"), 10),
                        "HookProc.exe did not start")
        # Let the helper announce itself and the hooks be set before asking for the exit.
        time.sleep(2.5)
        self.assertEqual(self.exit_app(app), 0)
        gone = self.wait_until(lambda: not self.tvx.running("HookProc.exe"), 2.5, interval=0.2)
        self.assertTrue(gone, "HookProc.exe still runs after Tapvox ended")

    def test_helper_commands_from_start_to_exit(self):
        app = self.new_app()
        self.fake_helper(app)
        log = os.path.join(self.work_dir, "helper.log")
        app.start(extra_env={"TVX_FAKE_HELPER": "announce",
                             "TVX_FAKE_HELPER_LOG": harness.windows_path(log)})
        self.assertIsNotNone(self.tvx.find_window(timeout_ms=20000))
        expected_start = ["started", "announced", "command 0x3b00 1", "command 0x3b03 0"]
        self.assertTrue(self.wait_until(lambda: harness.read_lines(log) == expected_start, 15),
                        "helper saw %r" % harness.read_lines(log))
        self.assertEqual(self.exit_app(app), 0)
        # Hooks removed, then WM_CLOSE; Tapvox does not wait for the helper to end.
        expected_all = expected_start + ["command 0x3b00 0", "close"]
        self.assertTrue(self.wait_until(lambda: harness.read_lines(log) == expected_all, 5),
                        "helper saw %r" % harness.read_lines(log))

    def test_helper_that_never_answers_costs_one_bounded_wait(self):
        app = self.new_app()
        self.fake_helper(app)
        log = os.path.join(self.work_dir, "helper.log")
        started = time.monotonic()
        app.start(extra_env={"TVX_FAKE_HELPER": "hang",
                             "TVX_FAKE_HELPER_LOG": harness.windows_path(log)})
        found = self.tvx.find_window(timeout_ms=20000)
        self.assertIsNotNone(found)
        # The install gets no reply, which is a failed one: the hooks are not set, and Tapvox
        # says so instead of waiting for ever.
        box = self.wait_until(lambda: self.message_box_of(found[1]), 40)
        print("start to \"Cannot set hooks\" with a hung helper: %.1f s"
              % (time.monotonic() - started))
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
        gone = self.wait_until(lambda: not self.tvx.running("HookProc.exe"), 5, interval=0.2)
        self.assertTrue(gone, "the real helper was not told to close")

    def message_box_of(self, pid):
        return [w for w in self.tvx.windows()
                if w["class"] == harness.DIALOG_CLASS and w["pid"] == pid and w["visible"]]


if __name__ == "__main__":
    harness.main()
