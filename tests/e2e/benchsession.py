"""What the Wine benchmarks share: the staged Tapvox this host can run, a Wine prefix template
kept under BUILD between runs, one session in a folder of its own, and their way of failing."""

import contextlib
import os
import shutil
import sys
import tempfile

import harness


def runnable_build(build):
    """(program folder, build folder of its 32-bit kind) of the first build of Tapvox this host
    can run: the real 32-bit one, else the 64-bit twin of scripts/wine-test-build.sh."""
    for dist, kind in (("dist/Tapvox", "win32"), ("dist-win32on64/Tapvox", "win32on64")):
        exe = os.path.join(build, dist, "Tapvox.exe")
        if os.path.exists(exe) and harness.host_runs(exe):
            return os.path.join(build, dist), os.path.join(build, kind)
    return None, None


@contextlib.contextmanager
def bench_session(build, name):
    """A fresh Wine session for the benchmark `name`, with the harness pointed at the build;
    its folder is removed afterwards."""
    dist, kind_dir = runnable_build(build)
    if not dist:
        raise harness.HarnessError("no staged Tapvox this host can run (make dist)")
    os.environ["TAPVOX_DIST"] = dist
    os.environ["TAPVOX_TOOLS32"] = os.path.join(kind_dir, "tests", "tools")
    os.environ.setdefault("TAPVOX_TOOLS64", os.path.join(build, "win64", "tests", "tools"))
    template = os.path.join(build, "bench-wine-template")
    if not os.path.isdir(template):
        print("%s: making a Wine prefix for benchmarks (once)" % name)
        harness.make_template(template)
    os.environ["TAPVOX_WINE_TEMPLATE"] = template
    missing = harness.missing_prerequisites()
    if missing:
        raise harness.HarnessError("cannot run: " + missing)
    work_dir = tempfile.mkdtemp(prefix=name + "-", dir=build)
    session = harness.WineSession(work_dir)
    try:
        yield session
    finally:
        session.close()
        shutil.rmtree(work_dir, ignore_errors=True)


def build_and_figure(argv, usage, default_figure):
    """A benchmark's command line BUILD [FIGURE]: BUILD made absolute, and FIGURE read as a number
    of the default's type (the default when it is not given). Without BUILD it prints the usage
    and ends the program with exit code 2."""
    if not argv:
        print(usage, file=sys.stderr)
        sys.exit(2)
    figure = type(default_figure)(argv[1]) if len(argv) > 1 else default_figure
    return os.path.abspath(argv[0]), figure


def start_tapvox(app, tvx):
    """Starts Tapvox and waits for its main window: (its process, (hwnd, Windows pid))."""
    process = app.start()
    found = tvx.wait_for_window()
    if not found:
        raise harness.HarnessError("Tapvox's window did not appear")
    return process, found


def run(name, main):
    """Runs main(arguments) as the program; a harness failure is reported as `name`'s."""
    try:
        sys.exit(main(sys.argv[1:]))
    except harness.HarnessError as error:
        print("%s: %s" % (name, error), file=sys.stderr)
        sys.exit(1)
