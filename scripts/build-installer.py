#!/usr/bin/env python3
"""Builds the setup program from a staged program folder.

  build-installer.py DIST OUTDIR [TARGET]

Writes OUTDIR/files.nsh, the lists installer/Tapvox.nsi needs from DIST (every file under it,
the language modules in Lngs\\ and whether the help ships), then runs makensis, which writes
OUTDIR/Tapvox-<version>-setup.exe. TARGET is the kind of setup program makensis makes:
x86-unicode, the one users receive, unless told otherwise; the tests take amd64-unicode where
32-bit programs cannot run, wrapping the 64-bit build of the same sources.
"""

import os
import subprocess
import sys

SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRIPT = os.path.join(SOURCE_ROOT, "installer", "Tapvox.nsi")
TARGETS = ("x86-unicode", "amd64-unicode")


def nsis_text(text):
    """A text for a double-quoted NSIS string: "$" and the quote itself escaped."""
    return text.replace("$", "$$").replace('"', '$\\"')


def staged_files(dist):
    """Paths inside dist of every file, folders before their contents, names in order."""
    found = []
    for folder, subfolders, files in os.walk(dist):
        subfolders.sort()
        inside = os.path.relpath(folder, dist)
        for name in sorted(files):
            found.append(name if inside == "." else os.path.join(inside, name))
    return found


def module_names(dist):
    """The language modules: Lngs\\<Name>.lng, by name."""
    folder = os.path.join(dist, "Lngs")
    if not os.path.isdir(folder):
        return []
    return sorted(name[:-4] for name in os.listdir(folder)
                  if name.lower().endswith(".lng") and os.path.isfile(os.path.join(folder, name)))


def lists(dist):
    dist = os.path.abspath(dist)
    lines = ["; Written by scripts/build-installer.py from %s" % nsis_text(dist)]
    if os.path.isfile(os.path.join(dist, "Help.chm")):
        lines.append("!define TVX_HAVE_HELP")
    lines.append("!macro TVX_FOR_EACH_MODULE MACRO")
    lines += ['  !insertmacro ${MACRO} "%s"' % nsis_text(name) for name in module_names(dist)]
    lines.append("!macroend")
    lines.append("!macro TVX_INSTALL_FILES")
    for path in staged_files(dist):
        windows = path.replace("/", "\\")
        folder = os.path.dirname(path).replace("/", "\\")
        # The user may edit the bundled schemes; the program files are always ours.
        kind = "scheme" if windows.lower().startswith("schemes\\") else "program"
        lines.append('  !insertmacro TVX_FILE %s "%s" "%s" "%s"'
                     % (kind, nsis_text("\\" + folder if folder else ""), nsis_text(windows),
                        nsis_text(os.path.join(dist, path))))
    lines.append("!macroend")
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) not in (2, 3) or argv[2:] and argv[2] not in TARGETS:
        print(__doc__, file=sys.stderr)
        return 2
    dist, outdir = argv[:2]
    target = argv[2] if len(argv) == 3 else TARGETS[0]
    if not os.path.isfile(os.path.join(dist, "Tapvox.exe")):
        print("build-installer: no staged program in %s" % dist, file=sys.stderr)
        return 1
    os.makedirs(outdir, exist_ok=True)
    generated = os.path.abspath(os.path.join(outdir, "files.nsh"))
    with open(generated, "w", encoding="utf-8") as f:
        f.write(lists(dist))
    return subprocess.run(["makensis", "-V2", "-XTarget " + target, "-DTVX_GENERATED=" + generated,
                           "-DTVX_OUTDIR=" + os.path.abspath(outdir), SCRIPT]).returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
