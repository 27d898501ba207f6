"""Tapvox started on hostile input: every registry value in a form no program of ours writes, and
a language module whose entry code would leave a file if it were ever run. It starts, its tray
menu opens, keys sound, and no code of the module runs."""

import os
import shutil

import harness

DLGMAIN_KEY = harness.PROGRAM_KEY + r"\DlgMain"
MEGABYTE = 1 << 20
REG_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ = 1, 3, 4, 7
COMMAND_EXIT = 40017


def raw(type_number, data, count=1):
    """reg-write's kind and data for data repeated count times under any type."""
    return "raw:%d:%d" % (type_number, count), data.hex()


# (key, value, (kind, data)); each is read the way its comment says, so the start stays usable:
# the stored scheme index still names the first-run scheme and the volume is the default.
HOSTILE_VALUES = [
    (harness.PROGRAM_KEY, "Valume", raw(REG_SZ, b"7", MEGABYTE)),          # too long: 100
    (harness.PROGRAM_KEY, "Filter", raw(REG_MULTI_SZ, b"0\0second\0\0")),  # "0"
    (harness.PROGRAM_KEY, "Scheme", raw(REG_DWORD, b"19\0\0")),            # the bytes "19"
    (harness.PROGRAM_KEY, "SchemesPath", raw(REG_BINARY, b"\xff", MEGABYTE)),  # not read
    (harness.PROGRAM_KEY, "LogFile", raw(REG_BINARY, b"0")),               # "0", unterminated
    (harness.PROGRAM_KEY, "Language", raw(REG_BINARY, b"L", MEGABYTE)),    # too long: English
    (harness.PROGRAM_KEY, "ShowTutorialOnRun", raw(REG_MULTI_SZ, b"\0\0")),  # 0: no tour
    (DLGMAIN_KEY, "showcmd", raw(REG_SZ, b"")),                            # empty: the default
    (DLGMAIN_KEY, "left", raw(REG_BINARY, b"\x80\x81")),
    (DLGMAIN_KEY, "right", raw(REG_SZ, b"9", MEGABYTE)),
    (harness.RUN_KEY, "Tapvox", raw(REG_BINARY, b"\"", MEGABYTE)),         # not ours
]


class HostileInputTest(harness.TapvoxTestCase):

    def assert_a_key_sounds(self):
        edit_window = self.open_edit_window()
        self.type_into(edit_window, "a")
        self.assertTrue(self.wait_until(
            lambda: harness.strip_padding(self.session.captured_sound()), 15), "no sound")

    def test_every_setting_in_a_hostile_form(self):
        for key, value, (kind, data) in HOSTILE_VALUES:
            self.tvx.reg_write(key, value, kind, data)
        app = self.new_app()
        self.start_app(app)
        self.assertTrue(self.wait_until(lambda: self.tvx.tray_icon_count() == 1, 10),
                        "no tray icon")
        self.assert_tray_menu_opens()
        self.assert_a_key_sounds()
        # What the program writes at start replaces the hostile value with text (the trace
        # switch read as 0 is written as 0); the tutorial switch read as 0 is left as it was.
        schemes_path = self.tvx.reg_read(harness.PROGRAM_KEY, "SchemesPath")
        self.assertEqual(schemes_path[:2], ("REG_SZ", r"C:\Tapvox\Schemes" "\\"))
        self.assertEqual(self.tvx.reg_read(harness.PROGRAM_KEY, "LogFile")[:2], ("REG_SZ", "0"))
        self.assertEqual(self.tvx.reg_read(harness.PROGRAM_KEY, "ShowTutorialOnRun")[0],
                         "REG_MULTI_SZ")
        self.assertEqual(self.exit_app(app), 0)

    def test_language_module_with_entry_code_is_never_run(self):
        modules = os.environ.get("TAPVOX_TEST_MODULES", "")
        module = os.path.join(modules, "TestEntryCode.lng")
        self.assertTrue(os.path.exists(module), "no test module (TAPVOX_TEST_MODULES)")
        app = self.new_app()
        shutil.copy(module, os.path.join(app.folder, "Lngs"))
        marker = os.path.join(app.folder, "Lngs", "TestEntryCode.lng.ran")
        self.tvx.reg_write(harness.PROGRAM_KEY, "Language", "sz", "TestEntryCode")
        self.start_app(app)
        self.assertTrue(self.wait_until(lambda: self.tvx.tray_icon_count() == 1, 10),
                        "no tray icon")
        # The module's one-item menu shows that the module is the one in use.
        self.assertEqual(self.tray_menu_lines(),
                         ["0\titem\t%d\tEntry code" % COMMAND_EXIT])
        self.assertEqual(self.exit_app(app), 0)
        self.assertFalse(os.path.exists(marker), "the language module's entry code ran")


if __name__ == "__main__":
    harness.main()
