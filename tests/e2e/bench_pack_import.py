"""Importing a sound pack: a single-file Ogg pack of about 2.6 MB with 100 slices, made here
with oggenc. Prints the import's own time (native, Release), the scheme's size on disk, and under
Wine the time from clicking Open in the file dialog to the scheme showing in the Manage Schemes
list. It judges nothing (target: the import under 1 s).

  bench_pack_import.py BUILD [RUNS]
"""

import os
import shutil
import statistics
import subprocess
import tempfile
import time

import benchsession
import harness
import packs
from test_pack_import import (FILE_NAME_BOX, IDC_IMPORT_PACK, IDOK, WM_COMMAND, ManageSchemes,
                              drive_c_path)

WM_GETTEXTLENGTH = 0x000E


class DialogDriver:
    """What ManageSchemes needs of a test case, for a benchmark."""

    def __init__(self, tvx, session):
        self.tvx, self.session = tvx, session

    def assertEqual(self, a, b, message=None):
        if a != b:
            raise harness.HarnessError(message or "%r != %r" % (a, b))

    def assertTrue(self, value, message=None):
        if not value:
            raise harness.HarnessError(message or "not true")


def disk_usage(folder):
    """(bytes in files, bytes allocated on disk, files) of a folder."""
    size = allocated = count = 0
    for name in os.listdir(folder):
        info = os.stat(os.path.join(folder, name))
        size += info.st_size
        allocated += info.st_blocks * 512
        count += 1
    return size, allocated, count


def native_import(build, pack, runs):
    tool = os.path.join(build, "host", "bench", "tapvox_pack_import_bench")
    schemes = tempfile.mkdtemp(prefix="bench-import-", dir=build)
    try:
        out = subprocess.run([tool, pack, schemes, str(runs)], check=True, capture_output=True,
                             text=True).stdout
        print("  " + out.strip().replace("\n", "\n  "))
    finally:
        shutil.rmtree(schemes, ignore_errors=True)


def wine_import(session, kind_dir, pack, runs):
    """The same import in the program's own build (32-bit, or its 64-bit twin) under Wine."""
    tool = os.path.join(kind_dir, "bench", "tapvox_pack_import_bench.exe")
    schemes = os.path.join(session.drive_c, "bench-schemes")
    os.makedirs(schemes)
    code, out, err = session.run([tool, drive_c_path(session, pack),
                                  drive_c_path(session, schemes), str(runs)], timeout=300)
    if code != 0:
        raise harness.HarnessError("the import benchmark failed: " + err[-500:])
    print("  " + out.strip().replace("\n", "\n  "))


def main(argv):
    build, runs = benchsession.build_and_figure(argv, __doc__, 5)
    with benchsession.bench_session(build, "bench-import") as session:
        pack = packs.big_single_ogg(os.path.join(session.drive_c, "packs", "big"))
        ogg = os.path.join(os.path.dirname(pack), "big.ogg")
        print("pack: %s, %.2f MB of Ogg Vorbis, %d slices" %
              (os.path.basename(pack), os.path.getsize(ogg) / 1e6, 100))
        print("native import (Release build, this host):")
        native_import(build, pack, runs)
        print("the same in the Windows build under Wine:")
        wine_import(session, benchsession.runnable_build(build)[1], pack, runs)

        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        app = harness.TapvoxApp(session)
        schemes = os.path.join(app.folder, "Schemes")
        process, _ = benchsession.start_tapvox(app, tvx)
        dialog = ManageSchemes(DialogDriver(tvx, session))
        times, closed = [], []
        for _ in range(runs):
            before = dialog.listed()
            tvx.call("post-window", dialog.hwnd, WM_COMMAND, IDC_IMPORT_PACK)
            file_dialog = dialog.wait_dialog("Open")
            tvx.call("set-text", file_dialog, FILE_NAME_BOX, drive_c_path(session, pack))
            started = time.monotonic()
            tvx.call("post-window", file_dialog, WM_COMMAND, IDOK)
            # The file dialog answers until it is gone; then the import runs.
            while tvx.call("send-window", file_dialog, WM_GETTEXTLENGTH, 0)[0] == harness.Tvxctl.OK:
                pass
            closed.append(time.monotonic() - started)
            if harness.wait_until(lambda: dialog.listed() > before, harness.DEFAULT_TIMEOUT,
                                  interval=0.005) is None:
                raise harness.HarnessError("the imported scheme was not listed")
            times.append(time.monotonic() - started)
        looks = []
        for _ in range(5):
            started = time.monotonic()
            dialog.listed()
            looks.append(time.monotonic() - started)
        dialog.close()
        size, allocated, files = disk_usage(os.path.join(schemes, "Big Ogg"))
        print("scheme on disk: %d files, %.2f MB in files, %.2f MB allocated" %
              (files, size / 1e6, allocated / 1e6))
        print("Tapvox under Wine, Open clicked to the scheme listed: median %.3f s, min %.3f s, "
              "max %.3f s over %d imports" %
              (statistics.median(times), min(times), max(times), len(times)))
        print("  of which the file dialog's own closing: median %.3f s" % statistics.median(closed))
        print("  and up to one look at the list (a tvxctl run under Wine): median %.3f s"
              % statistics.median(looks))
        tvx.send_command(harness.COMMAND_EXIT)
        app.wait_exit(process, timeout=15)
        harness.stop_process(process)
        return 0


if __name__ == "__main__":
    benchsession.run("bench-import", main)
