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

import benchsession
import harness
import packs
from test_pack_import import ManageSchemes


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


def main(argv):
    build, runs = benchsession.build_and_figure(argv, __doc__, 5)
    with benchsession.bench_session(build, "bench-import") as session:
        pack = packs.big_single_ogg(os.path.join(session.drive_c, "packs", "big"))
        ogg = os.path.join(os.path.dirname(pack), "big.ogg")
        print("pack: %s, %.2f MB of Ogg Vorbis, %d slices" %
              (os.path.basename(pack), os.path.getsize(ogg) / 1e6, 100))
        print("native import (Release build, this host):")
        native_import(build, pack, runs)

        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        app = harness.TapvoxApp(session)
        schemes = os.path.join(app.folder, "Schemes")
        process, _ = benchsession.start_tapvox(app, tvx)
        dialog = ManageSchemes(DialogDriver(tvx, session))
        times = []
        for _ in range(runs):
            took = dialog.import_pack(pack)
            if took is None:
                raise harness.HarnessError("the imported scheme was not listed")
            times.append(took)
        dialog.close()
        size, allocated, files = disk_usage(os.path.join(schemes, "Big Ogg"))
        print("scheme on disk: %d files, %.2f MB in files, %.2f MB allocated" %
              (files, size / 1e6, allocated / 1e6))
        print("Tapvox under Wine, Open clicked to the scheme listed: median %.3f s, min %.3f s, "
              "max %.3f s over %d imports" %
              (statistics.median(times), min(times), max(times), len(times)))
        tvx.send_command(harness.COMMAND_EXIT)
        app.wait_exit(process, timeout=15)
        harness.stop_process(process)
        return 0


if __name__ == "__main__":
    benchsession.run("bench-import", main)
