#!/usr/bin/env python3
"""ctest's door to Wine.

  winetest.py make-template PREFIX   make the template prefix the Wine tests copy (once per run)
  winetest.py remove-template PREFIX remove it again at the end of the run
  winetest.py run-exe EXE [ARGS...]  run a Windows test program in a fresh copy of the template,
                                     on its own virtual display; exit with the program's code
  winetest.py host-runs-32bit        exit 0 when Wine here runs 32-bit programs, else 1

A program this host cannot run (32-bit Windows code on a kernel without 32-bit support, or with
TAPVOX_ASSUME_NO_32BIT=1) fails with the reason: the tests there take the 64-bit build.
"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "e2e"))
import harness  # noqa: E402

EXE_TIMEOUT = 600


def run_exe(exe, args):
    if harness.pe_machine(exe) is None:
        print("winetest: %s is missing or no Windows program" % exe, file=sys.stderr)
        return 1
    if not harness.host_runs(exe):
        print("winetest: %s is 32-bit Windows code and Wine runs no 32-bit programs here; the "
              "tests take the 64-bit build of the same sources (scripts/wine-test-build.sh)"
              % os.path.basename(exe), file=sys.stderr)
        return 1
    root = os.environ.get("TAPVOX_TEST_WORK") or tempfile.gettempdir()
    os.makedirs(root, exist_ok=True)
    work_dir = tempfile.mkdtemp(prefix=os.path.basename(exe) + "-", dir=root)
    session = harness.WineSession(work_dir)
    try:
        # Where the program may find what it played, and the file that gives or takes away
        # the sound device (see harness.WineSession.write_asoundrc).
        capture = {"TAPVOX_SOUND_CAPTURE": harness.windows_path(session.sound_file),
                   "TAPVOX_ALSA_CONFIG": harness.windows_path(session.asoundrc)}
        code, out, err = session.run([exe] + args, timeout=EXE_TIMEOUT, extra_env=capture)
        sys.stdout.write(out)
        sys.stdout.write(err)
        return code
    finally:
        session.close()
        shutil.rmtree(work_dir, ignore_errors=True)


def main(argv):
    if len(argv) >= 2 and argv[0] == "make-template":
        harness.make_template(argv[1])
        return 0
    if len(argv) == 2 and argv[0] == "remove-template":
        shutil.rmtree(argv[1], ignore_errors=True)
        return 0
    if len(argv) >= 2 and argv[0] == "run-exe":
        return run_exe(argv[1], argv[2:])
    if argv == ["host-runs-32bit"]:
        return 0 if harness.host_runs_32bit_wine() else 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except (harness.HarnessError, OSError) as error:
        print("winetest: %s" % error, file=sys.stderr)
        sys.exit(1)
