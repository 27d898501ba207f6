"""The tray icon end to end: one icon in Wine's tray, the popup menu on a right click, the
window brought forward by a double click, and the icon added again on "TaskbarCreated". The
cases share one Tapvox, started again after a case ends it."""

import os

import harness
import sharedsession

TRAY_CALLBACK = 0xB040
WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_MOUSEMOVE = 0x202, 0x203, 0x205, 0x200


class TrayTest(sharedsession.SharedSessionTestCase):

    def setUp(self):
        super().setUp()
        self.app, _ = self.running_app(self.start_app)
        found = self.tvx.find_window()
        self.assertIsNotNone(found, "Tapvox's main window is gone")
        self.main_window = found[0]
        self.assertTrue(self.wait_until(lambda: self.tvx.tray_icon_count() == 1, 10),
                        "no tray icon")

    def icon(self):
        icons = [w for w in self.tvx.windows() if w["class"] == harness.TRAY_ICON_CLASS]
        self.assertEqual(len(icons), 1)
        return icons[0]

    def menu_shown(self):
        return self.tvx.menu_shown()

    def test_right_click_on_icon_opens_menu(self):
        left, top, right, bottom = self.icon()["rect"]
        self.session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 3)
        self.assertTrue(self.wait_until(self.menu_shown, 10), "no popup menu")
        self.assertEqual(self.tvx.foreground(), self.main_window)
        # The menu is painted, light on the black screen below the icon, and gone after Escape.
        menu_area = (right + 10, bottom + 10, right + 60, bottom + 60)
        self.assertGreater(self.session.brightness(*menu_area), 0.5)
        self.session.xdotool("key", "Escape")
        self.assertTrue(self.wait_until(lambda: not self.menu_shown(), 10), "menu stayed open")
        self.assertTrue(self.wait_until(lambda: self.session.brightness(*menu_area) < 0.1, 15),
                        "menu still painted: brightness %.2f" % self.session.brightness(*menu_area))
        self.assertEqual(self.exit_app(self.app), 0)

    def test_clicks_without_program_windows(self):
        record = os.path.join(self.work_dir, "activations.txt")
        edit_window = self.open_edit_window(activation_file=record)
        self.assertTrue(self.wait_until(lambda: self.tvx.foreground() == edit_window, 5))
        # No program window is open: a left click and other mouse messages change nothing...
        for mouse in (WM_LBUTTONUP, WM_MOUSEMOVE):
            with self.subTest(mouse=hex(mouse)):
                self.assertEqual(self.tvx.send(TRAY_CALLBACK, 0, mouse), 0)
                self.assertEqual(self.edit_window_deactivations(edit_window, record), 0)
                self.assertEqual(self.tvx.foreground(), edit_window)
        # ...while a double click falls back to the main window, which the record shows.
        self.assertEqual(self.tvx.send(TRAY_CALLBACK, 0, WM_LBUTTONDBLCLK), 0)
        self.assertTrue(self.wait_until(lambda: self.tvx.foreground() == self.main_window, 5))
        self.assertEqual(self.edit_window_deactivations(edit_window, record), 1)
        self.assertFalse(self.menu_shown())

    def test_taskbar_created_adds_icon_again_once(self):
        before = self.icon()["hwnd"]
        self.assertEqual(self.tvx.send("TaskbarCreated"), 0)
        # Removed and added: one icon, in a new icon window.
        self.assertTrue(self.wait_until(lambda: self.icon()["hwnd"] != before, 5))
        self.assertEqual(self.tvx.tray_icon_count(), 1)


if __name__ == "__main__":
    harness.main()
