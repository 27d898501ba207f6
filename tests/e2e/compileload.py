"""Load for the benchmarks that measure under it: a compile on both cores, as a developer's build
beside the typing would be. `make -j2` rebuilds some of Tapvox's own platform-neutral sources
and their tests with the system's compiler (no cache), again and again, until stopped."""

import contextlib
import glob
import os
import subprocess
import tempfile

import harness

SOURCE_FOLDERS = ("audio", "schemes", "dialogs", "hook")


def makefile_text(source_root, sources):
    objects = ["o%d.o" % i for i in range(len(sources))]
    lines = ["all: " + " ".join(objects)]
    for target, source in zip(objects, sources):
        lines.append("%s: %s\n\tg++ -std=c++17 -O2 -I%s -c %s -o %s"
                     % (target, source, source_root, source, target))
    return "\n".join(lines) + "\n"


def builds_natively(path):
    """Platform-neutral: no _win in the name, and no Windows header (CApp.cpp, Main.cpp)."""
    if "_win" in os.path.basename(path):
        return False
    with open(path, errors="replace") as f:
        return "<windows.h>" not in f.read()


@contextlib.contextmanager
def compile_load(source_root, work_dir):
    """Runs the compile loop for the length of the with-block."""
    folder = tempfile.mkdtemp(prefix="compile-load-", dir=work_dir)
    sources = sorted(path for name in SOURCE_FOLDERS
                     for path in glob.glob(os.path.join(source_root, name, "*.cpp"))
                     if builds_natively(path))
    with open(os.path.join(folder, "Makefile"), "w") as f:
        f.write(makefile_text(source_root, sources))
    loop = subprocess.Popen(["sh", "-c", "while :; do make -k -B -j2 -s >/dev/null 2>&1; done"],
                            cwd=folder, stdin=subprocess.DEVNULL, start_new_session=True)
    try:
        yield
    finally:
        harness.stop_process(loop)
