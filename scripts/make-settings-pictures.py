#!/usr/bin/env python3
"""Draws the README's pictures of the Settings dialog at 100 % and 200 % display scale, in
Wine's virtual desktop, with a few programs on the quiet list.

  make-settings-pictures.py OUTDIR

Needs the same environment as the end-to-end tests (TAPVOX_WINE_TEMPLATE, TAPVOX_DIST,
TAPVOX_TOOLS32); writes OUTDIR/settings-dialog-100.png and OUTDIR/settings-dialog-200.png.
"""

import functools
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402
from importlib import import_module  # noqa: E402

pictures = import_module("make-installer-pictures")
virtual_display = harness.VirtualDisplay

WM_COMMAND = 0x111
COMMAND_SETTINGS = 40015
# Where Wine reads the display's scale: 96 pixels per inch is 100 %.
FONT_DPI_KEYS = [(r"HKCU\Control Panel\Desktop", "LogPixels"),
                 (r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts",
                  "LogPixels")]
SCALES = [(96, (1024, 768)), (192, (1600, 1200))]


def picture(outdir, dpi, size):
    work = tempfile.mkdtemp(prefix="settings-pictures-")
    # The X display as large as the desktop, which at 200 % outgrows the tests' display.
    harness.VirtualDisplay = functools.partial(virtual_display, *size)
    session = harness.WineSession(work)
    desktop = "%dx%d" % size
    try:
        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        tvx.reg_write(r"HKCU\Software\Wine\Explorer", "Desktop", "sz", "Default")
        tvx.reg_write(r"HKCU\Software\Wine\Explorer\Desktops", "Default", "sz", desktop)
        for key, value in FONT_DPI_KEYS:
            tvx.reg_write(key, value, "dword", str(dpi))
        tvx.reg_write(harness.PROGRAM_KEY, "QuietPrograms", "sz", "game.exe|Slides.exe|player.exe")
        app = harness.TapvoxApp(session)
        app.start()
        if not tvx.find_window(timeout_ms=30000):
            raise harness.HarnessError("Tapvox did not start")
        tvx.call("post", WM_COMMAND, COMMAND_SETTINGS)
        settings = pictures.window(tvx, "Settings")
        time.sleep(1)  # painted
        pictures.crop(session, settings,
                      os.path.join(outdir, "settings-dialog-%d.png" % (dpi * 100 // 96)))
    finally:
        session.close()
        shutil.rmtree(work, ignore_errors=True)


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    for dpi, desktop in SCALES:
        picture(outdir, dpi, desktop)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    main(sys.argv[1])
