"""A program folder whose name the ANSI code page cannot hold: Greek letters under Wine's code
page 1252. The setup program installs there, and Tapvox started from it reaches its files through
the folder's short name: keys sound, the menu lists the schemes, help opens, and the autostart
entry the setup program wrote is the one the Startup command knows and the uninstaller removes.
A scheme folder named outside the code page is left out of the menu rather than shown as "?".

Wine gives every long name an ASCII short name, so the setup program's refusal of a folder
without one cannot be brought about here."""

import os

import harness
import test_help_windows
import test_installer

# UTF-8 file names, and code page 1252 for the programs.
LOCALE = "C.UTF-8"
FOLDER = "C:\\Ελληνικά Προγράμματα\\Tapvox"
GREEK_SCHEME = "Ωμέγα"


class ForeignFolderTest(test_installer.InstallerTestCase):

    def setUp(self):
        super().setUp()
        # Every program of the session, Tapvox and the test tool too, in the same locale.
        self.session.env["LC_ALL"] = LOCALE

    def viewers(self):
        return [w for w in self.tvx.windows()
                if w["class"] == test_help_windows.VIEWER_CLASS and w["visible"]]

    def test_installs_and_runs_through_the_short_name(self):
        # Typed as on Windows: /D= takes the rest of the command line, without quotes.
        self.install("/S", "/AUTOSTART", *("/D=" + FOLDER).split(" "))
        installed = self.linux_path(FOLDER)
        self.assertTrue(os.path.isfile(os.path.join(installed, "Tapvox.exe")))
        bundled = sorted(os.listdir(os.path.join(installed, "Schemes")))
        greek = os.path.join(installed, "Schemes", GREEK_SCHEME)
        os.makedirs(greek)
        with open(os.path.join(greek, "Scheme.txt"), "wb") as f:
            f.write(b"A=a.wav\r\n")

        process, _ = self.start_installed(FOLDER)
        # The Greek scheme is left out of the menu.
        self.assert_sounds_a_key(FOLDER, bundled)
        # The schemes folder the program uses: the short form, in ASCII; the sound above shows
        # that it is the installed one. Read once the menu answered: start-up writes the value
        # after the window exists, so a read right after the window could come too early.
        schemes = self.setting(harness.PROGRAM_KEY, "SchemesPath") or ""
        self.assertRegex(schemes, r"^C:\\[!-~]*~[!-~]*\\Tapvox\\Schemes\\$")
        # The setup program's autostart entry is the program's own: Startup turns it off, and
        # on again writes the same text.
        written = self.setting(harness.RUN_KEY, "Tapvox")
        self.assertRegex(written or "", r'^"C:\\[!-~]*~[!-~]*\\Tapvox\\Launcher\.exe"$')
        self.assertEqual(self.tvx.send_command(harness.COMMAND_STARTUP), harness.Tvxctl.OK)
        self.assertIsNone(self.setting(harness.RUN_KEY, "Tapvox"))
        self.assertEqual(self.tvx.send_command(harness.COMMAND_STARTUP), harness.Tvxctl.OK)
        self.assertEqual(self.setting(harness.RUN_KEY, "Tapvox"), written)

        self.assertEqual(self.tvx.post_command(test_help_windows.COMMAND_HELP),
                         harness.Tvxctl.OK)
        viewers = self.wait_until(self.viewers, test_help_windows.VIEWER_TIMEOUT)
        self.assertEqual(len(viewers or []), 1, "no help window")
        self.assertEqual(test_help_windows.help_files_open(process.pid), {"Help.chm"})
        self.assertEqual(self.tvx.send_command(harness.COMMAND_EXIT), harness.Tvxctl.OK)
        self.assertEqual(process.wait(timeout=15), 0)

        # The uninstaller knows the entry in the short form as well.
        code, _, err = self.session.run([FOLDER + "\\Uninstall.exe", "/S"],
                                        timeout=test_installer.INSTALL_TIMEOUT)
        self.assertEqual(code, 0, err)
        self.wait_for_uninstaller()
        self.assertIsNone(self.setting(harness.RUN_KEY, "Tapvox"))
        self.assertFalse(os.path.exists(os.path.join(installed, "Tapvox.exe")))


if __name__ == "__main__":
    test_installer.missing_setup()
    harness.main()
