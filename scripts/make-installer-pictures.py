#!/usr/bin/env python3
"""Draws the README's pictures of the setup program's options page and of the Settings dialog,
both in Wine's virtual desktop with the Wine fonts (Debian's fonts-wine) and its visual style.

  make-installer-pictures.py SETUP_EXE OUTDIR

Needs the same environment as the end-to-end tests (TAPVOX_WINE_TEMPLATE, TAPVOX_TOOLS32);
writes OUTDIR/installer-options.png and OUTDIR/settings-dialog.png.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

WM_COMMAND = 0x111
COMMAND_SETTINGS = 40015
# Pages before the options page: welcome, licence, folder; Enter takes each one's default.
PAGES_BEFORE_OPTIONS = 3
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tapvox"


def window(tvx, title, timeout=30):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for w in tvx.windows():
            if w["visible"] and w["parent"] == 0 and title in w["title"]:
                return w
        time.sleep(0.5)
    raise harness.HarnessError("no window titled %r" % title)


def crop(session, w, path):
    whole = os.path.join(session.work_dir, "screen.png")
    session.screenshot(whole)
    left, top, right, bottom = w["rect"]
    subprocess.run(["convert", whole, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top,
                                                                  left, top), "+repage", path],
                   check=True)


def main(setup, outdir):
    os.makedirs(outdir, exist_ok=True)
    work = tempfile.mkdtemp(prefix="pictures-")
    session = harness.WineSession(work)
    try:
        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        tvx.reg_write(r"HKCU\Software\Wine\Explorer", "Desktop", "sz", "Default")
        tvx.reg_write(r"HKCU\Software\Wine\Explorer\Desktops", "Default", "sz", "800x600")
        session.start([setup])
        window(tvx, "Tapvox")
        for _ in range(PAGES_BEFORE_OPTIONS):
            time.sleep(1.5)
            session.xdotool("key", "Return")
        time.sleep(2)
        crop(session, window(tvx, "Tapvox"), os.path.join(outdir, "installer-options.png"))
        session.xdotool("key", "Return")  # install
        # The uninstall entry is the install's last step; the finish page follows.
        deadline = time.monotonic() + 120
        while tvx.reg_read(UNINSTALL_KEY, "DisplayName") is None:
            if time.monotonic() > deadline:
                raise harness.HarnessError("the install did not finish")
            time.sleep(1)
        time.sleep(3)
        session.xdotool("key", "Return")  # finish, which starts Tapvox
        found = tvx.find_window(timeout_ms=20000)
        if not found:
            raise harness.HarnessError("Tapvox did not start from the finish page")
        tvx.call("post", WM_COMMAND, COMMAND_SETTINGS)
        settings = window(tvx, "Settings")
        time.sleep(1)
        crop(session, settings, os.path.join(outdir, "settings-dialog.png"))
    finally:
        session.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    main(*sys.argv[1:])
