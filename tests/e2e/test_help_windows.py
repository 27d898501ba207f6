"""The help and the tour end to end: a first run that asks for the tutorial opens the tour, and
the Help command opens the help file that the language names, each in a viewer window of its
own. Wine's viewer shows no pages here (it has no HTML engine), so what is checked is the
window and the file that Tapvox's process opened; help_files_test.py checks the pages."""

import os

import harness

VIEWER_CLASS = "HH Parent"
COMMAND_HELP = 40008
# A viewer opens in a few seconds; the bound only proves that opening one does not hang.
VIEWER_TIMEOUT = 60


def help_files_open(pid):
    """The names of the compiled help files that a Linux process holds open."""
    folder = "/proc/%d/fd" % pid
    names = set()
    for fd in os.listdir(folder):
        try:
            target = os.readlink(os.path.join(folder, fd))
        except OSError:
            continue
        if target.lower().endswith(".chm"):
            names.add(os.path.basename(target))
    return names


class HelpWindowsTest(harness.TapvoxTestCase):

    def viewers(self):
        return [w for w in self.tvx.windows() if w["class"] == VIEWER_CLASS and w["visible"]]

    def test_first_run_with_tutorial_opens_tour(self):
        self.tvx.reg_write(harness.PROGRAM_KEY, "ShowTutorialOnRun", "dword", "1")
        app, _, _ = self.start_app()
        viewers = self.wait_until(self.viewers, VIEWER_TIMEOUT)
        self.assertEqual([w["title"] for w in viewers], ["Tapvox Tour"])
        self.assertEqual(help_files_open(app.process.pid), {"Tour.chm"})
        self.assertEqual(self.tvx.reg_read(harness.PROGRAM_KEY, "ShowTutorialOnRun"),
                         ("REG_DWORD", "0", b"\0\0\0\0"))
        self.assertEqual(self.exit_app(app), 0)

    def test_help_command_opens_help_of_language(self):
        cases = [
            # "Language", module it needs, file the viewer opens, window title (None: the
            # title is not in the code page that the test tool prints)
            ("", None, "Help.chm", "Tapvox Help"),
            ("Russian", "Russian.lng", "Help_ru.chm", None),
        ]
        app = self.new_app()
        for language, module, help_file, title in cases:
            with self.subTest(language=language):
                if module:
                    self.assertTrue(os.path.exists(os.path.join(app.folder, "Lngs", module)),
                                    "no Lngs\\%s in the program folder" % module)
                self.tvx.reg_write(harness.PROGRAM_KEY, "Language", "sz", language)
                self.start_app(app)
                self.assertEqual(self.viewers(), [])
                self.assertEqual(self.tvx.post_command(COMMAND_HELP), harness.Tvxctl.OK)
                viewers = self.wait_until(self.viewers, VIEWER_TIMEOUT)
                self.assertEqual(len(viewers), 1, "no help window")
                if title:
                    self.assertEqual(viewers[0]["title"], title)
                self.assertEqual(help_files_open(app.process.pid), {help_file})
                self.assertEqual(self.exit_app(app), 0)


if __name__ == "__main__":
    harness.main()
