"""Takes the tour's pictures from the real program: Tapvox runs under Wine in a virtual desktop
(so that windows have title bars and the tray sits in a taskbar) on a virtual display, and each
picture is a part of the screen, cut around what the page shows.

Usage: tour-pictures.py BUILD PROGRAM_FOLDER OUTPUT_FOLDER

Writes tray.png, menu.png, schemes.png, settings.png and editor.png into OUTPUT_FOLDER. The
pictures are committed under help/tour/html/; run this again after the program's look changes.
The Wine session is the benchmarks' (tests/e2e/benchsession.py): a prefix kept under BUILD."""

import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import benchsession  # noqa: E402
import harness  # noqa: E402

SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768
DESKTOP_SIZE = "%dx%d" % (SCREEN_WIDTH, SCREEN_HEIGHT)
MARLETT = "/usr/share/wine/fonts/marlett.ttf"
COMMAND_SETTINGS, COMMAND_MANAGE_SCHEMES = 40015, 40019
SCHEMES_ITEM_FROM_BOTTOM = 38
FIRST_LIST_ITEM_Y = 8
SETTLE_SECONDS = 1.5


def say(text):
    print("tour-pictures: " + text, flush=True)


class Camera:
    """Finds windows, drives the mouse and cuts pictures out of the screen."""

    def __init__(self, session, tvx, output):
        self.session = session
        self.tvx = tvx
        self.output = output
        self.screen = os.path.join(session.work_dir, "screen.png")

    def window(self, window_class=None, title=None, other_than=None, parent=None, timeout=20):
        """The first visible window of that class and title, waiting for it to appear."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for w in self.tvx.windows():
                if (w["visible"] and (window_class is None or w["class"] == window_class)
                        and (title is None or w["title"] == title) and w["hwnd"] != other_than
                        and (parent is None or w["parent"] == parent)):
                    return w
            time.sleep(0.3)
        raise harness.HarnessError("no window %s %r appeared" % (window_class, title))

    def child(self, dialog, title, window_class=None):
        return self.window(window_class, title, parent=dialog["hwnd"])

    def click(self, x, y, button=1):
        """Moves the mouse there and clicks the button; button 0 only moves it."""
        self.session.xdotool("mousemove", x, y, *(("click", button) if button else ()))

    def click_window(self, w, button=1):
        left, top, right, bottom = w["rect"]
        self.click((left + right) // 2, (top + bottom) // 2, button)

    def take(self, name, left, top, right, bottom):
        """Saves the screen's rectangle as OUTPUT/name, kept inside the screen."""
        time.sleep(SETTLE_SECONDS)
        self.session.screenshot(self.screen)
        left, top = max(left, 0), max(top, 0)
        right, bottom = min(right, SCREEN_WIDTH), min(bottom, SCREEN_HEIGHT)
        path = os.path.join(self.output, name)
        crop = "%dx%d+%d+%d" % (right - left, bottom - top, left, top)
        subprocess.run(["convert", self.screen, "-crop", crop, "+repage", "-strip", path],
                       check=True, timeout=60)
        say("saved %s (%dx%d)" % (path, right - left, bottom - top))

    def take_around(self, name, windows, margin=12):
        left = min(w["rect"][0] for w in windows) - margin
        top = min(w["rect"][1] for w in windows) - margin
        right = max(w["rect"][2] for w in windows) + margin
        bottom = max(w["rect"][3] for w in windows) + margin
        self.take(name, left, top, right, bottom)


def take_pictures(session, app, camera):
    tvx = camera.tvx
    # Title bars draw their buttons with Marlett, which this Wine does not find by itself.
    fonts = os.path.join(session.drive_c, "windows", "Fonts")
    os.makedirs(fonts, exist_ok=True)
    shutil.copy(MARLETT, fonts)
    # Every program of this prefix, tvxctl too, runs in the one virtual desktop, so the tool
    # sees Tapvox's windows.
    for key, name, data in ((r"HKCU\Software\Wine\Explorer", "Desktop", "Tapvox"),
                            (r"HKCU\Software\Wine\Explorer\Desktops", "Tapvox", DESKTOP_SIZE)):
        tvx.reg_write(key, name, "sz", data)
    # A volume and a filter chosen, as the Settings picture should show them.
    tvx.reg_write(harness.PROGRAM_KEY, "Valume", "sz", "80")
    tvx.reg_write(harness.PROGRAM_KEY, "Filter", "sz", "0")
    session.start(["explorer", "/desktop=Tapvox," + DESKTOP_SIZE, app.exe_windows_path],
                  cwd=app.folder)
    if tvx.find_window(timeout_ms=30000) is None:
        raise harness.HarnessError("Tapvox's main window did not appear")
    taskbar = camera.window("Shell_TrayWnd")
    left, top, right, bottom = taskbar["rect"]
    # Tapvox's is the only icon in the taskbar's notification area, at its right end.
    icon = (right - 12, (top + bottom) // 2)

    session.xdotool("mousemove", *icon)
    camera.take("tray.png", right - 300, bottom - 110, right, bottom)

    camera.click(*icon, button=3)
    menu = camera.window("#32768")
    session.xdotool("mousemove", menu["rect"][0] - 150, menu["rect"][1])
    camera.take("menu.png", menu["rect"][0] - 40, menu["rect"][1] - 20, right, bottom)

    # Keys typed through the X server do not reach the virtual desktop's menus: the mouse does
    # it all. "Sound Schemes" is the second item from the bottom, above the last separator.
    camera.click(menu["rect"][0] + 40, menu["rect"][3] - SCHEMES_ITEM_FROM_BOTTOM, button=0)
    submenu = camera.window("#32768", other_than=menu["hwnd"])
    camera.take("schemes.png", submenu["rect"][0] - 20, submenu["rect"][1] - 12, right, bottom)
    # A click outside closes the menus.
    camera.click(100, 100)

    tvx.post_command(COMMAND_SETTINGS)
    settings = camera.window(title="Settings")
    camera.take_around("settings.png", [settings])
    camera.click_window(camera.child(settings, "Cancel"))

    tvx.post_command(COMMAND_MANAGE_SCHEMES)
    manage = camera.window(title="Manage Schemes")
    schemes = camera.child(manage, None, "ListBox")
    # The first scheme of the list, sorted by name.
    camera.click(schemes["rect"][0] + 30, schemes["rect"][1] + FIRST_LIST_ITEM_Y)
    camera.click_window(camera.child(manage, "Edit"))
    editor = camera.window(title="Scheme Control")
    camera.take_around("editor.png", [editor])
    camera.click_window(camera.child(editor, "Cancel"))
    camera.click_window(camera.child(manage, "OK"))
    tvx.send_command(harness.COMMAND_EXIT)


def main():
    build, output = (os.path.abspath(a) for a in (sys.argv[1], sys.argv[3]))
    os.makedirs(output, exist_ok=True)
    with benchsession.bench_session(build, "tour-pictures") as session:
        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        app = harness.TapvoxApp(session, os.path.abspath(sys.argv[2]))
        take_pictures(session, app, Camera(session, tvx, output))
    return 0


if __name__ == "__main__":
    benchsession.run("tour-pictures", lambda _: main())
