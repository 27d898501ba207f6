#!/usr/bin/env python3
"""Draws the README's picture of the setup program's options page, in Wine's virtual desktop with
the Wine fonts (Debian's fonts-wine) and its visual style. The Settings dialog's pictures are
scripts/make-settings-pictures.py's.

  make-installer-pictures.py SETUP_EXE OUTDIR

Needs the same environment as the end-to-end tests (TAPVOX_WINE_TEMPLATE, TAPVOX_TOOLS32);
writes OUTDIR/installer-options.png.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

# Pages before the options page: welcome, licence, folder; Enter takes each one's default.
PAGES_BEFORE_OPTIONS = 3


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
    finally:
        session.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    main(*sys.argv[1:])
