"""The "Language" setting end to end: with a staged module the tray menu and the About box show
its texts; a module left from an older release is ignored and the program's English is shown."""

import os
import re
import struct

import harness
import peresources

WM_COMMAND = 0x111
COMMAND_ABOUT = 40009
ABOUT_VERSION, ABOUT_NOTICE, ABOUT_LINK = 1009, 1010, 1011
VERSION_H = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res",
                          "version.h")

LINK = "https://www.quillmark.example/tapvox/"

# The popup menu without the scheme items added at run time: (depth, kind, command id), and
# each language's texts for it.
MENU_LAYOUT = [
    (0, "item", 40009), (0, "item", 40008), (0, "separator", 0), (0, "item", 40012),
    (0, "item", 40014), (0, "separator", 0), (0, "submenu", 0), (1, "item", 40019),
    (1, "item", 40015), (1, "separator", 0), (0, "separator", 0), (0, "item", 40017),
]
GERMAN_TEXTS = ["Über Tapvox...", "Hilfe", "", "Stumm", "Autostart", "", "Soundschemas",
                "Schemas verwalten", "Einstellungen", "", "", "Beenden"]
ENGLISH_TEXTS = ["About...", "Help", "", "Mute", "Startup", "", "Sound Schemes",
                 "Manage Schemes", "Settings", "", "", "Exit"]


def menu_of(texts):
    return [layout + (text,) for layout, text in zip(MENU_LAYOUT, texts, strict=True)]


def program_version():
    """(major, minor, release, build) as res/version.h gives the program's version."""
    with open(VERSION_H) as f:
        text = f.read()
    return tuple(int(re.search(r"#define TAPVOX_VERSION_%s (\d+)" % part, text).group(1))
                 for part in ("MAJOR", "MINOR", "RELEASE", "BUILD"))


def about_box(title, version_line, notice):
    return {"title": title, ABOUT_VERSION: version_line, ABOUT_NOTICE: notice, ABOUT_LINK: LINK,
            1: "OK"}


def make_older(module_path, release):
    """Rewrites the module's fixed file and product version to an earlier release."""
    with open(module_path, "rb") as f:
        image = bytearray(f.read())
    at = image.index(struct.pack("<I", peresources.FIXED_FILE_INFO_SIGNATURE))
    # Signature, structure version, then the file and the product version, each MS and LS.
    for offset in (at + 12, at + 20):
        (ls,) = struct.unpack_from("<I", image, offset)
        struct.pack_into("<I", image, offset, (release << 16) | (ls & 0xFFFF))
    with open(module_path, "wb") as f:
        f.write(image)


class LanguageTest(harness.TapvoxTestCase):

    def menu_items(self):
        """The tray popup menu as opened by a right click, without the scheme items."""
        items = []
        for line in self.tray_menu_lines():
            depth, kind, command, text = line.split("\t")
            if not harness.FIRST_SCHEME_COMMAND <= int(command) <= harness.LAST_SCHEME_COMMAND:
                items.append((int(depth), kind, int(command), text))
        return items

    def about_texts(self):
        """The texts of the About box opened by its menu command."""
        self.assertEqual(self.tvx.call("post", WM_COMMAND, COMMAND_ABOUT)[0], harness.Tvxctl.OK)
        box = self.wait_until(lambda: next(
            (w for w in self.tvx.windows() if w["class"] == harness.DIALOG_CLASS
             and w["pid"] == self.pid and w["visible"]), None), 15)
        self.assertIsNotNone(box, "no About box")
        code, out = self.tvx.call("window-texts", hex(box["hwnd"]))
        self.assertEqual(code, harness.Tvxctl.OK)
        lines = out.splitlines()
        texts = {"title": lines[0]}
        for line in lines[1:]:
            control, text = line.split("\t", 1)
            if int(control) in (ABOUT_VERSION, ABOUT_NOTICE, ABOUT_LINK, 1):
                texts[int(control)] = text
        return texts

    def test_texts_come_from_the_fitting_module_only(self):
        major, minor, release, build = program_version()
        number = "%d.%d.%d" % (major, minor, release)
        cases = [
            ("module of this release", None, menu_of(GERMAN_TEXTS),
             about_box("Über Tapvox", "Version %s (Build %d)" % (number, build),
                       "Ein Klang für jede Taste, die Sie drücken.")),
            ("module of the release before", release - 1, menu_of(ENGLISH_TEXTS),
             about_box("About Tapvox", "version %s (build %d)" % (number, build),
                       "Keyboard sounds for every key you press.")),
        ]
        app = self.new_app()
        self.tvx.reg_write(harness.PROGRAM_KEY, "Language", "sz", "German")
        for name, older_release, menu, about in cases:
            with self.subTest(name):
                if older_release is not None:
                    make_older(os.path.join(app.folder, "Lngs", "German.lng"), older_release)
                _, _, self.pid = self.start_app(app)
                self.assertTrue(self.wait_until(lambda: self.tvx.tray_icon_count() == 1, 10),
                                "no tray icon")
                self.assertEqual(self.menu_items(), menu)
                self.assertTrue(self.wait_until(lambda: not self.tvx.menu_shown(), 10),
                                "menu stayed open")
                self.assertEqual(self.about_texts(), about)
                self.assertEqual(self.exit_app(app), 0)

if __name__ == "__main__":
    harness.main()
