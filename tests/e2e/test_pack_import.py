"""Sound packs imported through the Manage Schemes dialog's "Import..." button, in each form
(Mechvibes version 1 with one file or a file per key, a .zip, version 2 with a range and a
release sound, MechvibesDX; WAV, Ogg and MP3 audio), play their press and release sounds once
chosen; a hostile pack is refused with a message naming its file and leaves no folder behind."""

import os
import shutil
import struct
import time

import harness
import packs
from test_sound_keys import HOOK_MESSAGE, key_event, release_event

WM_COMMAND = 0x0111
IDOK = 1
IDC_IMPORT_PACK = 1040
LB_GETCOUNT = 0x018B
FILE_NAME_BOX = 0x47C  # the file dialog's file name box (cmb13)
COMMAND_MANAGE_SCHEMES = 40019
DIALOG_CLASS = "#32770"
# Each cut end of a slice fades over 1.5 ms; 2 ms of samples at each end are left unchecked.
FADE_BYTES = 2 * packs.RATE * 2 // 1000


class ManageSchemes:
    """The Manage Schemes dialog of a running Tapvox, driven through tvxctl."""

    def __init__(self, test):
        self.test, self.tvx = test, test.tvx
        self.test.assertEqual(self.tvx.post_command(COMMAND_MANAGE_SCHEMES), harness.Tvxctl.OK)
        self.hwnd = self.wait_dialog("Manage Schemes")
        self.list = self.list_box(self.hwnd)

    def dialogs(self, title):
        return [w for w in self.tvx.windows() if w["class"] == DIALOG_CLASS and
                w["title"] == title and w["visible"] and w["parent"] == 0]

    def wait_dialog(self, title):
        found = harness.wait_until(lambda: self.dialogs(title), harness.DEFAULT_TIMEOUT)
        self.test.assertTrue(found, "no %r window; dialogs open: %r" % (title, [
            w["title"] for w in self.tvx.windows() if w["class"] == DIALOG_CLASS]))
        return found[0]["hwnd"]

    def list_box(self, parent):
        """The dialog's one list box: the scheme list."""
        children = [w for w in self.tvx.windows() if w["parent"] == parent]
        lists = [w["hwnd"] for w in children if w["class"].lower() == "listbox"]
        self.test.assertEqual(len(lists), 1)
        return lists[0]

    def listed(self):
        code, out = self.tvx.call("send-window", self.list, LB_GETCOUNT, 0)
        self.test.assertEqual(code, harness.Tvxctl.OK, self.tvx.last_error)
        return int(out, 16)

    def import_pack(self, linux_path):
        """Clicks Import..., chooses the file and clicks Open; returns the seconds from that
        click to the list showing one scheme more, or None when it did not."""
        before = self.listed()
        self.tvx.call("post-window", self.hwnd, WM_COMMAND, IDC_IMPORT_PACK)
        file_dialog = self.wait_dialog("Open")
        code, _ = self.tvx.call("set-text", file_dialog, FILE_NAME_BOX,
                                drive_c_path(self.test.session, linux_path))
        self.test.assertEqual(code, harness.Tvxctl.OK, self.tvx.last_error)
        started = time.monotonic()
        self.tvx.call("post-window", file_dialog, WM_COMMAND, IDOK)
        if harness.wait_until(lambda: self.listed() > before, harness.DEFAULT_TIMEOUT,
                              interval=0.005) is None:
            return None
        return time.monotonic() - started

    def refusal(self):
        """The text of the message box that refused a pack, after closing it."""
        box = self.wait_dialog("Tapvox")
        code, out = self.tvx.call("window-texts", box)
        self.test.assertEqual(code, harness.Tvxctl.OK, self.tvx.last_error)
        self.tvx.call("post-window", box, WM_COMMAND, IDOK)
        return out

    def close(self):
        self.tvx.call("post-window", self.hwnd, WM_COMMAND, IDOK)
        harness.wait_until(lambda: not self.dialogs("Manage Schemes"), harness.DEFAULT_TIMEOUT)


def drive_c_path(session, linux_path):
    """The prefix's own C: path of a file under its drive_c: the file dialog finds some folders
    of drive Z: missing ("Path does not exist") that C: reaches."""
    return "C:\\" + os.path.relpath(linux_path, session.drive_c).replace("/", "\\")


def wav_data(path):
    """The sample data of a plain WAV file as the import writes it."""
    with open(path, "rb") as f:
        image = f.read()
    assert image[36:40] == b"data", path
    return image[44:44 + struct.unpack_from("<I", image, 40)[0]]


def samples_of(data):
    return struct.unpack("<%dh" % (len(data) // 2), data)


class PackImportTest(harness.TapvoxTestCase):

    def setUp(self):
        super().setUp()
        self.app = self.new_app()
        self.schemes = os.path.join(self.app.folder, "Schemes")
        shutil.rmtree(self.schemes)
        os.makedirs(self.schemes)
        self.packs = os.path.join(self.session.drive_c, "packs")

    def scheme_file(self, scheme, name):
        return os.path.join(self.schemes, scheme, name)

    def scheme_words(self, scheme):
        with open(self.scheme_file(scheme, "Scheme.txt")) as f:
            return dict(line.split("=", 1) for line in f.read().split())

    def assert_key_plays(self, scheme, word, event):
        """The key's event sounds the file the scheme's word names, its faded ends aside."""
        data = wav_data(self.scheme_file(scheme, self.scheme_words(scheme)[word]))
        inner = data[FADE_BYTES:-FADE_BYTES]
        self.assertGreater(len(inner), 1000, "%s %s: no sound to hear" % (scheme, word))
        heard = len(self.session.captured_sound())
        self.assertEqual(self.tvx.send(HOOK_MESSAGE, event), 0)
        captured = self.session.wait_for_sound(heard + len(data))
        self.assertIn(inner, captured[heard:], "%s %s was not heard" % (scheme, word))

    def test_each_form_plays_its_press_and_release_sounds_and_a_hostile_pack_is_refused(self):
        made = [maker(os.path.join(self.packs, maker.__name__)) for maker in
                (packs.v1_single_ogg, packs.v1_multi_zip, packs.v2_ranges, packs.dx_single_wav)]
        hostile = packs.hostile(os.path.join(self.packs, "hostile"))
        self.start_app(self.app)
        dialog = ManageSchemes(self)
        for path in made:
            self.assertIsNotNone(dialog.import_pack(path), "%s was not listed" % path)
        dialog.tvx.call("post-window", dialog.hwnd, WM_COMMAND, IDC_IMPORT_PACK)
        file_dialog = dialog.wait_dialog("Open")
        self.tvx.call("set-text", file_dialog, FILE_NAME_BOX,
                      drive_c_path(self.session, hostile))
        self.tvx.call("post-window", file_dialog, WM_COMMAND, IDOK)
        refusal = dialog.refusal()
        self.assertIn("could not be imported", refusal)
        self.assertIn("config.json", refusal)
        self.assertIn("outside its own folder", refusal)
        dialog.close()
        self.assertEqual(sorted(os.listdir(self.schemes)),
                         ["DX", "Multi Zip", "Ranges", "Single Ogg"], "a folder left behind")

        # A slice of a WAV pack is the pack's own samples between its faded ends.
        source = packs.SOURCE[packs.RATE * 100 // 1000:packs.RATE * 180 // 1000]
        cut = samples_of(wav_data(self.scheme_file("DX", self.scheme_words("DX")["A"])))
        self.assertEqual(len(cut), len(source))
        margin = FADE_BYTES // 2
        self.assertTrue(all(abs(a - b) <= 1 for a, b in
                            zip(cut[margin:-margin], source[margin:-margin])))

        self.assertEqual(self.exit_app(self.app), 0)
        self.tvx.reg_write(harness.PROGRAM_KEY, "Valume", "sz", "100")
        self.tvx.reg_write(harness.PROGRAM_KEY, "Filter", "sz", "0")
        self.start_app(self.app)
        commands = {text: int(command) for _, _, command, text in
                    (line.split("\t") for line in self.tray_menu_lines())
                    if harness.FIRST_SCHEME_COMMAND <= int(command) <= harness.LAST_SCHEME_COMMAND}
        keys = {
            "Single Ogg": [("A", key_event(0x41, "a")), ("A.UP", release_event(0x41)),
                           ("SPACE", key_event(0x20, " "))],
            "Multi Zip": [("A", key_event(0x41, "a")), ("A.UP", release_event(0x41)),
                          ("ENTER", key_event(0x0D, 13))],
            "Ranges": [("B", key_event(0x42, "b")), ("B.UP", release_event(0x42)),
                       ("ENTER", key_event(0x0D, 13))],
            "DX": [("A", key_event(0x41, "a")), ("A.UP", release_event(0x41))],
        }
        for scheme, presses in keys.items():
            self.assertEqual(self.tvx.send_command(commands[scheme]), harness.Tvxctl.OK)
            for word, event in presses:
                with self.subTest(scheme=scheme, word=word):
                    self.assert_key_plays(scheme, word, event)


if __name__ == "__main__":
    harness.main()
