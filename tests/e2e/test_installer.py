"""The setup program end to end: silent installs with the defaults and with their switches, an
install into a folder with blanks and non-ASCII letters, an install over a running Tapvox, the
silent uninstall and what it keeps, the refusal of Windows before 10; the options page's overlap
box, clicked through the pages as a user would; every binary's version resource, Tapvox's
manifest and icon read from the files; the Settings dialog at 200 %."""

import glob
import os
import re
import sys
import time
import unittest
import wave
import xml.etree.ElementTree as ElementTree

import harness
import peresources

SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tapvox"
HOOK_MESSAGE = "NEW_HOOK_SYSTEM"
KEY_A = (0x41 << 8) | ord("a")
WM_COMMAND = 0x111
BM_GETCHECK, BM_CLICK = 0xF0, 0xF5
IDOK = 1
COMMAND_SETTINGS = 40015
INSTALL_TIMEOUT = 180
# The uninstaller runs from a copy of itself in the temporary folder, under this name.
UNINSTALLER_COPY = "Un.exe"
SCHEME_COMMANDS = range(harness.FIRST_SCHEME_COMMAND, harness.LAST_SCHEME_COMMAND + 1)


def source_version():
    """(major, minor, release, build) and the company, as res/version.h holds them."""
    with open(os.path.join(SOURCE_ROOT, "res", "version.h")) as f:
        text = f.read()
    parts = tuple(int(re.search(r"#define TAPVOX_VERSION_%s (\d+)" % name, text).group(1))
                  for name in ("MAJOR", "MINOR", "RELEASE", "BUILD"))
    company = re.search(r'#define TAPVOX_COMPANY "([^"]*)"', text).group(1)
    return parts, company


VERSION, COMPANY = source_version()
DISPLAY_VERSION = "%d.%d.%d" % VERSION[:3]


def setup_in(folder_variable):
    return os.path.join(os.environ.get(folder_variable, ""),
                        "Tapvox-%s-setup.exe" % DISPLAY_VERSION)


def shipped_setup():
    """The setup program the install cases run: the one users receive, or where Wine runs no
    32-bit programs its 64-bit flavour, which wraps the 64-bit build of the same sources."""
    return setup_in("TAPVOX_INSTALLER_DIR")


def dist_folder():
    """The program folder that shipped_setup() wraps."""
    return os.environ.get("TAPVOX_DIST", "")


def release_setup():
    """The 32-bit setup program users receive; read, not run, on every host."""
    return setup_in("TAPVOX_RELEASE_INSTALLER_DIR")


def release_folder():
    return os.environ.get("TAPVOX_RELEASE_DIST", "")


def relative_files(root):
    """Every file under root, as paths inside it."""
    found = set()
    for folder, _, files in os.walk(root):
        for name in files:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def wav_data(path):
    with wave.open(path, "rb") as w:
        return w.readframes(w.getnframes())


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class InstallerTestCase(harness.TapvoxTestCase):
    """A fresh prefix per test, the setup program run in it as Windows would run it."""

    def setUp(self):
        super().setUp()
        users = [u for u in glob.glob(os.path.join(self.session.drive_c, "users", "*"))
                 if os.path.basename(u) != "Public"]
        self.assertEqual(len(users), 1, users)
        self.user_folder = users[0]
        self.user_name = os.path.basename(users[0])

    def linux_path(self, windows_path):
        """Where a C: path of this prefix lies on the Linux side."""
        self.assertTrue(windows_path[:3].upper() == "C:\\", windows_path)
        return os.path.join(self.session.drive_c, *windows_path[3:].split("\\"))

    @property
    def default_folder(self):
        return r"C:\users\%s\AppData\Local\Programs\Tapvox" % self.user_name

    @property
    def start_menu(self):
        return os.path.join(self.user_folder, "AppData", "Roaming", "Microsoft", "Windows",
                            "Start Menu", "Programs")

    def install(self, *switches):
        code, out, err = self.session.run([shipped_setup()] + list(switches),
                                          timeout=INSTALL_TIMEOUT,
                                          extra_env={"LC_ALL": "C.UTF-8"})
        self.assertEqual(code, 0, "setup %s failed: %s %s" % (" ".join(switches), out, err))

    def uninstall_entry(self, value):
        found = self.tvx.reg_read(UNINSTALL_KEY, value)
        if not found:
            return None
        # tvxctl reads the narrow text: UTF-8 or Windows-1252, by Wine's locale.
        raw = found[2].rstrip(b"\0")
        try:
            return raw.decode("utf-8") if found[0] == "REG_SZ" else found[1]
        except UnicodeDecodeError:
            return raw.decode("cp1252")

    def setting(self, key, value):
        found = self.tvx.reg_read(key, value)
        return found[1] if found else None

    def start_installed(self, folder):
        """Starts the installed Tapvox; returns (Popen, main window)."""
        process = self.session.start([folder + "\\Tapvox.exe"], cwd=self.linux_path(folder))
        found = self.tvx.wait_for_window()
        self.assertIsNotNone(found, "the installed Tapvox did not start")
        return process, found[0]

    def scheme_items(self):
        """The scheme items of the tray menu, which opens for it, sorted."""
        return sorted(text for _, _, command, text in
                      (line.split("\t") for line in self.tray_menu_lines())
                      if int(command) in SCHEME_COMMANDS)

    def assert_sounds_a_key(self, folder, schemes=None):
        """The menu lists the schemes (by default the installed Schemes folder's), and then a
        key event plays one of their sounds, byte for byte (volume 100)."""
        installed = os.path.join(self.linux_path(folder), "Schemes")
        # The menu first: once it lists the schemes, start-up has loaded the active one, and a
        # key sent earlier could have arrived while it had not.
        self.assertEqual(self.scheme_items(), schemes or sorted(os.listdir(installed)))
        sounds = {wav_data(path) for path in glob.glob(os.path.join(installed, "*", "*.wav"))}
        self.assertEqual(self.tvx.send(HOOK_MESSAGE, KEY_A), 0)
        played = harness.strip_padding(self.session.wait_for_sound(1, timeout=15))
        self.assertTrue(played, "no sound for a key")
        self.assertIn(played, {harness.strip_padding(s) for s in sounds})

    def assert_program_files(self, folder, dist):
        """Every staged file in place with the staged bytes."""
        installed = self.linux_path(folder)
        for path in sorted(relative_files(dist)):
            with self.subTest(file=path):
                self.assertEqual(read_bytes(os.path.join(installed, path)),
                                 read_bytes(os.path.join(dist, path)))

    def wait_for_uninstaller(self):
        """The uninstaller hands over to its copy and returns; wait for the copy to end."""
        ended = self.wait_until(lambda: not self.tvx.running(UNINSTALLER_COPY), INSTALL_TIMEOUT,
                                interval=0.5)
        self.assertTrue(ended, "the uninstaller did not end")


class SilentInstallTest(InstallerTestCase):

    def test_defaults_install_everything_and_register_it(self):
        self.install("/S")
        folder = self.default_folder
        dist = dist_folder()
        self.assert_program_files(folder, dist)
        uninstaller = os.path.join(self.linux_path(folder), "Uninstall.exe")
        expected = [
            ("DisplayName", "Tapvox"),
            ("DisplayVersion", DISPLAY_VERSION),
            ("Publisher", COMPANY),
            ("DisplayIcon", folder + "\\Tapvox.exe,0"),
            ("InstallLocation", folder),
            ("UninstallString", '"%s\\Uninstall.exe"' % folder),
            ("QuietUninstallString", '"%s\\Uninstall.exe" /S' % folder),
            ("NoModify", "1"),
            ("NoRepair", "1"),
        ]
        for value, text in expected:
            with self.subTest(value=value):
                self.assertEqual(self.uninstall_entry(value), text)
        # In KB: the staged files' sizes, each rounded up at most.
        staged_kb = sum(os.path.getsize(os.path.join(dist, p)) for p in relative_files(dist)) / 1024
        size = int(self.uninstall_entry("EstimatedSize"))
        self.assertTrue(staged_kb <= size <= staged_kb + len(relative_files(dist)), size)
        self.assertTrue(os.path.isfile(uninstaller))
        self.assertTrue(os.path.isfile(os.path.join(self.start_menu, "Tapvox.lnk")))
        self.assertEqual(os.path.isfile(os.path.join(self.start_menu, "Tapvox Help.lnk")),
                         os.path.isfile(os.path.join(dist, "Help.chm")))
        # Defaults: no autostart, no language.
        self.assertIsNone(self.setting(harness.RUN_KEY, "Tapvox"))
        self.assertIsNone(self.setting(harness.PROGRAM_KEY, "Language"))
        self.assertIsNone(self.setting(harness.PROGRAM_KEY, "Overlap"))

        self.start_installed(folder)
        self.assert_sounds_a_key(folder)
        # The uninstaller carries the version as well.
        version, strings = peresources.PeResources(uninstaller).version()
        self.assertEqual((version, strings["CompanyName"]), (VERSION, COMPANY))

    def test_switches_set_autostart_and_language(self):
        dist = dist_folder()
        self.assertTrue(os.path.isfile(os.path.join(dist, "Lngs", "German.lng")))
        folder = self.default_folder
        cases = [
            # switches, "Language" afterwards
            (["/AUTOSTART", "/LANGUAGE=german"], "German"),  # stored as the module is named
            (["/LANGUAGE=Klingon"], "German"),               # no such module: left as it was
            (["/LANGUAGE=English"], None),                   # the program's own language
        ]
        for switches, language in cases:
            with self.subTest(switches=switches):
                self.install("/S", *switches)
                self.assertEqual(self.setting(harness.PROGRAM_KEY, "Language"), language)
                # Once set, the Run value stays through installs without /AUTOSTART.
                self.assertEqual(self.setting(harness.RUN_KEY, "Tapvox"),
                                 '"%s\\Launcher.exe"' % folder)
        self.assert_program_files(folder, dist)

    def test_windows_before_10_is_refused(self):
        for version in ("win81", "win7"):
            with self.subTest(version=version):
                self.tvx.reg_write(r"HKCU\Software\Wine", "Version", "sz", version)
                code, _, _ = self.session.run([shipped_setup(), "/S"], timeout=INSTALL_TIMEOUT,
                                              extra_env={"LC_ALL": "C.UTF-8"})
                self.assertNotEqual(code, 0)
                self.assertFalse(os.path.exists(self.linux_path(self.default_folder)))

    def test_folder_with_blanks_and_non_ascii_letters(self):
        folder = "C:\\Programme für alle\\Tapvox Ünïcødé"
        # Typed as on Windows: /D= takes the rest of the command line, without quotes (Wine
        # would quote one argument that holds blanks).
        self.install("/S", "/AUTOSTART", *("/D=" + folder).split(" "))
        self.assert_program_files(folder, dist_folder())
        self.assertEqual(self.uninstall_entry("InstallLocation"), folder)
        self.assertEqual(self.uninstall_entry("UninstallString"), '"%s\\Uninstall.exe"' % folder)
        process, _ = self.start_installed(folder)
        self.assert_sounds_a_key(folder)
        # The program sees the installer's entry as its own: Startup turns it off.
        self.assertEqual(self.tvx.send_command(harness.COMMAND_STARTUP), harness.Tvxctl.OK)
        self.assertIsNone(self.setting(harness.RUN_KEY, "Tapvox"))
        self.assertEqual(self.tvx.send_command(harness.COMMAND_EXIT), harness.Tvxctl.OK)
        self.assertEqual(process.wait(timeout=15), 0)


class OptionsPageTest(InstallerTestCase):
    """The setup program run with its pages, driven through its window's messages."""

    def setup_controls(self, pid):
        """{title: hwnd} of the visible controls of the setup program's window."""
        return {w["title"]: w["hwnd"] for w in self.tvx.windows()
                if w["pid"] == pid and w["visible"] and w["parent"] != 0}

    def wait_for_control(self, pid, title):
        hwnd = self.wait_until(lambda: self.setup_controls(pid).get(title), INSTALL_TIMEOUT)
        self.assertIsNotNone(hwnd, "no control %r in the setup program" % title)
        return hwnd

    def send(self, hwnd, message, wparam=0):
        code, out = self.tvx.call("send-window", hwnd, message, wparam, 0)
        self.assertEqual(code, harness.Tvxctl.OK, "message %#x not answered" % message)
        return int(out, 16)

    def press_next(self, setup):
        """Posted: a page's window runs a loop of its own until it is left, so the message
        that leaves the page before it is answered only then."""
        code, _ = self.tvx.call("post-window", setup, WM_COMMAND, IDOK, 0)
        self.assertEqual(code, harness.Tvxctl.OK)

    def install_through_pages(self, click_overlap):
        """Runs the setup program, takes each page's default up to the options page, reads its
        overlap box and clicks it if asked, installs, and leaves without starting Tapvox.
        Returns whether the box was checked when the page showed."""
        process = self.session.start([shipped_setup()], extra_env={"LC_ALL": "C.UTF-8"})
        setup = self.wait_until(lambda: next(
            (w for w in self.tvx.windows() if w["parent"] == 0 and w["visible"]
             and w["title"] == "Tapvox Setup"), None), INSTALL_TIMEOUT)
        self.assertIsNotNone(setup, "the setup program showed no window")
        pid = setup["pid"]
        # Welcome, licence, folder, options: each page waited for by a control of its own.
        self.wait_for_control(pid, "&Next >")
        for page in ("I &Agree", "Destination Folder", "Let sounds overlap"):
            self.press_next(setup["hwnd"])
            self.wait_for_control(pid, page)
        box = self.setup_controls(pid)["Let sounds overlap"]
        shown = self.send(box, BM_GETCHECK) == 1
        if click_overlap:
            self.send(box, BM_CLICK)
            self.assertEqual(self.send(box, BM_GETCHECK) == 1, not shown)
        self.press_next(setup["hwnd"])
        start_now = self.wait_for_control(pid, "Start Tapvox now")
        if self.send(start_now, BM_GETCHECK) == 1:
            self.send(start_now, BM_CLICK)
        self.press_next(setup["hwnd"])
        self.assertEqual(process.wait(timeout=INSTALL_TIMEOUT), 0)
        self.assertEqual(self.tvx.running("Tapvox.exe"), [], "Tapvox was started")
        return shown

    def test_overlap_box_shows_and_stores_the_setting(self):
        cases = [
            # clicked, shown checked, "Overlap" afterwards
            (False, False, None),  # first install: unchecked, nothing stored
            (True, False, "1"),
            (False, True, "1"),    # a reinstall shows the stored value and keeps it
            (True, True, "0"),
        ]
        for clicked, shown, stored in cases:
            with self.subTest(clicked=clicked, shown=shown):
                self.assertEqual(self.install_through_pages(clicked), shown)
                self.assertEqual(self.setting(harness.PROGRAM_KEY, "Overlap"), stored)
        self.assert_program_files(self.default_folder, dist_folder())


class UpdateAndRemoveTest(InstallerTestCase):

    def make_user_changes(self, folder):
        """A scheme of the user's own, a changed bundled scheme file, a file added to a
        bundled scheme; returns {path inside the folder: bytes} of each."""
        installed = self.linux_path(folder)
        made = {}
        mine = os.path.join("Schemes", "My Own", "Scheme.txt")
        os.makedirs(os.path.join(installed, os.path.dirname(mine)))
        made[mine] = b"A=a.wav\r\n"
        edited = os.path.join("Schemes", "Bells", "Scheme.txt")
        made[edited] = read_bytes(os.path.join(installed, edited)) + b"Q=enter.wav\r\n"
        added = os.path.join("Schemes", "Pop", "mine.wav")
        made[added] = read_bytes(os.path.join(installed, "Schemes", "Pop", "Scheme.txt"))
        for path, data in made.items():
            with open(os.path.join(installed, path), "wb") as f:
                f.write(data)
        return made

    def assert_kept(self, folder, made):
        for path, data in made.items():
            with self.subTest(kept=path):
                self.assertEqual(read_bytes(os.path.join(self.linux_path(folder), path)), data)

    def test_install_over_running_tapvox_keeps_what_the_user_made(self):
        self.install("/S")
        folder = self.default_folder
        installed = self.linux_path(folder)
        process, _ = self.start_installed(folder)
        made = self.make_user_changes(folder)
        # Program files are replaced, and a bundled file the user removed comes back.
        with open(os.path.join(installed, "Launcher.exe"), "wb") as f:
            f.write(b"damaged")
        os.remove(os.path.join(installed, "Schemes", "Pop", "Scheme.txt"))
        self.tvx.reg_write(harness.PROGRAM_KEY, "Valume", "sz", "55")

        self.install("/S")
        # Ended by its own Exit command: a forced end would give another exit code.
        self.assertEqual(process.wait(timeout=30), 0)
        self.assert_kept(folder, made)
        dist = dist_folder()
        for path in relative_files(dist) - set(made):
            with self.subTest(replaced=path):
                self.assertEqual(read_bytes(os.path.join(installed, path)),
                                 read_bytes(os.path.join(dist, path)))
        self.assertEqual(self.setting(harness.PROGRAM_KEY, "Valume"), "55")

    def test_silent_uninstall_removes_only_what_it_installed(self):
        self.install("/S", "/AUTOSTART")
        folder = self.default_folder
        installed = self.linux_path(folder)
        process, _ = self.start_installed(folder)
        made = self.make_user_changes(folder)
        self.tvx.reg_write(harness.PROGRAM_KEY, "Valume", "sz", "55")
        quiet = self.uninstall_entry("QuietUninstallString")
        program, switch = re.fullmatch(r'"([^"]+)" (/S)', quiet).groups()

        code, _, err = self.session.run([program, switch], timeout=INSTALL_TIMEOUT)
        self.assertEqual(code, 0, err)
        self.wait_for_uninstaller()
        self.assertEqual(process.wait(timeout=30), 0)

        self.assertEqual(relative_files(installed), set(made))
        # Folders that still hold something stay; emptied ones go.
        left = sorted(os.path.relpath(f, installed) for f, _, _ in os.walk(installed))
        self.assertEqual(left, [".", "Schemes", os.path.join("Schemes", "Bells"),
                                os.path.join("Schemes", "My Own"), os.path.join("Schemes", "Pop")])
        self.assert_kept(folder, made)
        self.assertFalse(os.path.exists(os.path.join(self.start_menu, "Tapvox.lnk")))
        self.assertFalse(os.path.exists(os.path.join(self.start_menu, "Tapvox Help.lnk")))
        self.assertIsNone(self.setting(harness.RUN_KEY, "Tapvox"))
        self.assertIsNone(self.uninstall_entry("DisplayName"))
        self.assertEqual(self.tvx.reg_delete(UNINSTALL_KEY), harness.Tvxctl.MISSING)
        self.assertEqual(self.setting(harness.PROGRAM_KEY, "Valume"), "55")

    def test_untouched_install_is_removed_whole(self):
        self.install("/S")
        folder = self.default_folder
        code, _, err = self.session.run([folder + "\\Uninstall.exe", "/S"],
                                        timeout=INSTALL_TIMEOUT)
        self.assertEqual(code, 0, err)
        self.wait_for_uninstaller()
        self.assertFalse(os.path.exists(self.linux_path(folder)))


class DisplayScaleTest(InstallerTestCase):

    def settings_dialog_rect(self, pid):
        """Opens the Settings dialog and returns its window rectangle."""
        self.assertEqual(self.tvx.call("post", WM_COMMAND, COMMAND_SETTINGS)[0], harness.Tvxctl.OK)

        def dialog():
            return next((w["rect"] for w in self.tvx.windows()
                         if w["pid"] == pid and w["visible"] and w["title"] == "Settings"
                         and w["parent"] == 0), None)

        rect = self.wait_until(dialog, 15)
        self.assertIsNotNone(rect, "the Settings dialog did not open")
        return rect

    def test_settings_dialog_scales_with_the_display(self):
        self.install("/S")
        sizes = {}
        for dpi in (96, 192):
            with self.subTest(dpi=dpi):
                self.tvx.reg_write(r"HKCU\Control Panel\Desktop", "LogPixels", "dword", str(dpi))
                process, _ = self.start_installed(self.default_folder)
                found = self.tvx.find_window(timeout_ms=5000)
                left, top, right, bottom = self.settings_dialog_rect(found[1])
                sizes[dpi] = (right - left, bottom - top)
                self.session.screenshot(os.path.join(self.work_dir, "settings-%d.png" % dpi))
                harness.stop_process(process)
        for axis in (0, 1):
            ratio = sizes[192][axis] / sizes[96][axis]
            self.assertTrue(1.8 <= ratio <= 2.2, "scaled by %.2f: %s" % (ratio, sizes))


class BinaryResourcesTest(unittest.TestCase):
    """Read from the built files of the release, the 32-bit ones users receive, not from the
    sources; nothing here runs them, so these checks need no Wine and hold on every host."""

    def release_binaries(self):
        dist = release_folder()
        return [os.path.join(dist, p) for p in sorted(relative_files(dist))
                if p.lower().endswith((".exe", ".dll", ".lng"))] + [release_setup()]

    def test_release_binaries_are_32_bit_but_the_helper(self):
        binaries = self.release_binaries()
        self.assertIn(os.path.join(release_folder(), "Tapvox.exe"), binaries)
        for path in binaries:
            name = os.path.basename(path)
            # The helper serves the 64-bit programs of 64-bit Windows.
            expected = (harness.PE_MACHINE_AMD64 if name == "HookProc.exe"
                        else harness.PE_MACHINE_I386)
            with self.subTest(binary=name):
                self.assertEqual(harness.pe_machine(path), expected)

    def test_every_binary_has_the_version_and_company(self):
        for path in self.release_binaries():
            with self.subTest(binary=os.path.basename(path)):
                found = peresources.PeResources(path).version()
                self.assertIsNotNone(found, "no version resource")
                version, strings = found
                self.assertEqual(version, VERSION)
                self.assertEqual(strings.get("CompanyName"), COMPANY)
                self.assertTrue(strings.get("FileDescription"))
                self.assertEqual(strings.get("FileVersion"), "%d.%d.%d.%d" % VERSION)

    def test_programs_with_windows_have_the_manifest(self):
        ns = {"v1": "urn:schemas-microsoft-com:asm.v1", "v3": "urn:schemas-microsoft-com:asm.v3",
              "ws05": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
              "ws16": "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
              "c": "urn:schemas-microsoft-com:compatibility.v1"}
        windows_10_and_11 = {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
        for name in ("Tapvox.exe", "Launcher.exe"):
            with self.subTest(program=name):
                text = peresources.PeResources(os.path.join(release_folder(), name)).manifest()
                self.assertIsNotNone(text, "no manifest 1")
                root = ElementTree.fromstring(text)
                controls = root.find("v1:dependency/v1:dependentAssembly/v1:assemblyIdentity", ns)
                self.assertEqual((controls.get("name"), controls.get("version")),
                                 ("Microsoft.Windows.Common-Controls", "6.0.0.0"))
                level = root.find(".//v3:requestedExecutionLevel", ns)
                self.assertEqual(level.get("level"), "asInvoker")
                settings = root.find("v3:application/v3:windowsSettings", ns)
                awareness = [a.strip() for a in
                             settings.find("ws16:dpiAwareness", ns).text.split(",")]
                self.assertEqual(awareness, ["PerMonitorV2", "System"])
                self.assertEqual(settings.find("ws05:dpiAware", ns).text, "true")
                systems = {s.get("Id") for s in root.findall("c:compatibility/c:application/"
                                                             "c:supportedOS", ns)}
                self.assertEqual(systems, windows_10_and_11)

    def test_program_icon_has_every_size(self):
        sizes = peresources.PeResources(os.path.join(release_folder(), "Tapvox.exe")).icon_sizes()
        self.assertEqual(sizes, [16, 20, 24, 32, 48, 256])


def missing_setup():
    """Fails, saying why, where a setup program was not built or cannot run here."""
    for setup in (shipped_setup(), release_setup()):
        if harness.pe_machine(setup) is None:
            print("cannot run: no setup program at %s (make native)" % setup)
            sys.exit(1)
    if not harness.host_runs(shipped_setup()):
        print("cannot run: Wine cannot run %s here; the tests take its 64-bit flavour where "
              "32-bit programs cannot run (scripts/wine-test-build.sh)" % shipped_setup())
        sys.exit(1)


if __name__ == "__main__":
    missing_setup()
    harness.main()
