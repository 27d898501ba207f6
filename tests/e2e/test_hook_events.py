"""Hook events posted to Tapvox's window as "NEW_HOOK_SYSTEM", seen through what Tapvox then asks
of a stand-in helper: re-install on kind 3, the wait-for-end-key reset on kind 1 with a window,
nothing for the other kinds, and no harm from any of them. The cases share one Tapvox, started
with the helper once, and read the helper's log from where it stood when each began."""

import os

import harness
import sharedsession

WM_POWERBROADCAST = 0x218
START_SEQUENCE = ["started", "announced", "command 0x3b00 1", "command 0x3b03 0"]


class HookEventsTest(sharedsession.SharedSessionTestCase):

    def setUp(self):
        super().setUp()
        self.log = os.path.join(self.work_dir, "helper.log")
        self.log_start = len(harness.read_lines(self.log))
        self.app, started = self.running_app(self.start_with_helper)
        if started:
            self.assertTrue(self.wait_until(lambda: self.helper_saw() == START_SEQUENCE, 15),
                            "helper saw %r" % self.helper_saw())
            self.log_start += len(START_SEQUENCE)

    def start_with_helper(self, app):
        """Starts Tapvox with a stand-in helper that logs what it is told; a start after one
        that ended appends to the same log, once the helper before was told to close."""
        if harness.read_lines(self.log):
            self.assertTrue(self.wait_until(lambda: harness.read_lines(self.log)[-1] == "close",
                                            15), "the helper before was not told to close")
        self.log_start = len(harness.read_lines(self.log))
        app.replace_helper(harness.tool_path("FakeHelper.exe", want_64bit=True))
        self.start_app(app, extra_env={"TVX_FAKE_HELPER": "announce",
                                       "TVX_FAKE_HELPER_LOG": harness.windows_path(self.log)})

    def helper_saw(self):
        """What the helper was told since this case began, past the start's own commands."""
        return harness.read_lines(self.log)[self.log_start:]

    def post(self, *events):
        self.assertEqual(self.tvx.post_hook(*events), harness.Tvxctl.OK)

    def test_each_kind_asks_the_helper_what_it_should(self):
        cases = [
            # event, lParam, what the helper is then asked
            (0x20000, 0x1234, []),                          # kind 2: nothing
            (0x10000, 0, []),                               # kind 1 without a window
            (0x10000, 0x1234, ["command 0x3b03 0"]),        # kind 1 with a window
            (0x30000, 0, ["command 0x3b01 0"]),             # kind 3: install again
            (0x44100, 0, []),                               # kind 4, a release: no request
            (0x50100, 0, []),                               # kind 5, a click: no request
            (0x60000, 0, []),                               # unknown kinds
            (0xFFFF0000, 0xFFFF, []),
            (0x1B730000, 0, []),                            # a poll tick from outside
        ]
        expected = []
        for event, lparam, asked in cases:
            with self.subTest(event=hex(event), lparam=hex(lparam)):
                # A kind 3 event after each case marks where its requests end.
                self.post((event, lparam), 0x30000)
                expected += asked + ["command 0x3b01 0"]
                self.assertTrue(self.wait_until(lambda: self.helper_saw() == expected, 10),
                                "helper saw %r" % self.helper_saw())

    def test_power_events_leave_helper_alone(self):
        # Resume events re-arm the library only; the helper is not told. Every power event is
        # answered TRUE.
        for power_event in (7, 6, 4, 18, 0xFFFF):
            with self.subTest(power_event=power_event):
                self.assertEqual(self.tvx.send(WM_POWERBROADCAST, power_event), 1)
        self.assertEqual(self.helper_saw(), [])

    def test_key_events_of_any_code_leave_program_running(self):
        # Every key code with characters at both ends of the byte, and a stray lParam.
        self.post(*[((key << 8) | (key % 2) * 0xFF, key) for key in range(256)], 0x30000)
        self.assertTrue(self.wait_until(
            lambda: self.helper_saw() == ["command 0x3b01 0"], 20),
            "helper saw %r" % self.helper_saw())
        self.assertIsNone(self.app.process.poll(), "Tapvox ended")
        self.assertEqual(self.exit_app(self.app), 0)


if __name__ == "__main__":
    harness.main()
