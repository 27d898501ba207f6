"""Runs key_to_sound_bench.exe under Wine in a session of its own (tests/e2e/benchsession.py),
from a copy of the staged program folder, with the first-run default scheme (the 20th scheme
folder). Sound goes to ALSA's null device through the capture set-up of tests/e2e/harness.py, so
the whole sound path runs without a sound card. Usage: bench_latency.py BUILD PRESSES"""

import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "e2e"))
import benchsession  # noqa: E402
import harness  # noqa: E402


def main(argv):
    build, presses = os.path.abspath(argv[0]), argv[1]
    _, kind_dir = benchsession.runnable_build(build)
    bench = os.path.join(kind_dir or "", "kbdhook", "key_to_sound_bench.exe")
    if not os.path.exists(bench):
        print("bench-latency: no %s; build first" % bench, file=sys.stderr)
        return 1
    with benchsession.bench_session(build, "bench-latency") as session:
        app = harness.TapvoxApp(session)
        shutil.copy(bench, app.folder)
        schemes = sorted(os.listdir(os.path.join(app.folder, "Schemes")))
        scheme = schemes[19] if len(schemes) > 19 else schemes[0]
        code, out, err = session.run(
            [os.path.join(app.folder, os.path.basename(bench)), scheme, presses], timeout=600)
        print(out.replace("\r", ""), end="")
        if code != 0:
            print(err[-2000:], file=sys.stderr)
        return code


if __name__ == "__main__":
    benchsession.run("bench-latency", main)
