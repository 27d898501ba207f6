"""Runs key_to_sound_bench.exe under Wine in a prefix of its own, on a virtual display, from a
copy of the staged program folder, with the first-run default scheme (the 20th scheme folder).
Sound goes to ALSA's null device through the capture set-up of tests/e2e/harness.py, so the whole
sound path runs without a sound card. Usage: bench_latency.py BENCH_EXE PROGRAM_FOLDER PRESSES"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "e2e"))
import harness  # noqa: E402


def main():
    bench, dist, presses = sys.argv[1:4]
    work = tempfile.mkdtemp(prefix="bench-latency-")
    try:
        os.environ["TAPVOX_WINE_TEMPLATE"] = os.path.join(work, "template")
        harness.make_template(os.environ["TAPVOX_WINE_TEMPLATE"])
        session = harness.WineSession(os.path.join(work, "run"))
        try:
            app = harness.TapvoxApp(session, dist)
            shutil.copy(bench, app.folder)
            schemes = sorted(os.listdir(os.path.join(app.folder, "Schemes")))
            scheme = schemes[19] if len(schemes) > 19 else schemes[0]
            code, out, err = session.run(
                [os.path.join(app.folder, os.path.basename(bench)), scheme, presses], timeout=600)
            print(out.replace("\r", ""), end="")
            if code != 0:
                print(err[-2000:], file=sys.stderr)
            return code
        finally:
            session.close()
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
