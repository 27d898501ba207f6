"""The headless `make run`: Tapvox at work on a virtual display. It starts Tapvox as on a first run
(no settings, so the default scheme), types a sentence into another Wine window as a user would,
and saves what Tapvox played as BUILD/demo/typing.wav and the screen as BUILD/demo/screen.png.

Usage: demo.py BUILD PROGRAM_FOLDER

The sound is taken where Wine hands it to ALSA (tests/e2e/harness.py tells how): the raw stream,
in the format of the WAV files played, wrapped here in a WAV header of that format. The Wine
prefix is made once, as BUILD/demo/template, and copied fresh for every run."""

import os
import shutil
import sys
import time
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import harness  # noqa: E402

SENTENCE = "Tapvox plays a sound for every key you press."
TYPING_DELAY_MS = 150
DEFAULT_SCHEME_INDEX = 19  # the scheme a first run loads, by its place in the folder listing


def say(text):
    print("demo: " + text, flush=True)


def tool_for(build, dist):
    """tvxctl.exe of the same kind as the program folder, so it runs wherever Tapvox does."""
    candidates = [os.path.join(build, kind, "tests", "tools", "tvxctl.exe")
                  for kind in ("win32on64", "win32", "win64")]
    for path in candidates:
        if os.path.exists(path) and harness.host_runs(path):
            return path
    return None


def scheme_listing(session, dist_copy):
    """The scheme folders in the order Wine lists them, which is the order Tapvox numbers them
    in (cmd's dir leaves that order as it is unless told to sort)."""
    schemes = harness.windows_path(os.path.join(dist_copy, "Schemes"))
    code, out, _ = session.run(["cmd", "/c", "dir", "/b", "/ad", schemes])
    return [line.strip() for line in out.splitlines() if line.strip()] if code == 0 else []


def sound_format(folder):
    """(channels, bytes per sample, rate) shared by the scheme's WAV files, and how many
    formats there are."""
    formats = set()
    for name in sorted(os.listdir(folder)):
        if name.lower().endswith(".wav"):
            try:
                with wave.open(os.path.join(folder, name), "rb") as w:
                    formats.add((w.getnchannels(), w.getsampwidth(), w.getframerate()))
            except (wave.Error, EOFError):
                continue
    return (min(formats) if formats else None), len(formats)


def main():
    build, dist = (os.path.abspath(a) for a in sys.argv[1:3])
    demo = os.path.join(build, "demo")
    os.makedirs(demo, exist_ok=True)
    tvxctl_path = tool_for(build, dist)
    if not tvxctl_path:
        say("no tvxctl.exe this host can run in %s; build the tests first" % build)
        return 1
    template = os.path.join(demo, "template")
    if not os.path.isdir(template):
        say("making the Wine prefix %s (once, about half a minute)" % template)
        harness.make_template(template)
    os.environ["TAPVOX_WINE_TEMPLATE"] = template
    work = os.path.join(demo, "work")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)

    session = harness.WineSession(work)
    try:
        return run_demo(session, harness.TapvoxApp(session, dist),
                        harness.Tvxctl(session, tvxctl_path), demo)
    finally:
        session.close()
        shutil.rmtree(work, ignore_errors=True)


def run_demo(session, app, tvx, demo):
    say("virtual display %s; Tapvox starts as on a first run" % session.display.display)
    schemes = scheme_listing(session, app.folder)
    if len(schemes) <= DEFAULT_SCHEME_INDEX:
        say("only %d schemes listed: a first run has no default scheme and stays silent"
            % len(schemes))
        default = None
    else:
        default = schemes[DEFAULT_SCHEME_INDEX]
        say("%d schemes listed; number %d, the first-run default, is \"%s\""
            % (len(schemes), DEFAULT_SCHEME_INDEX, default))

    app.start()
    if tvx.find_window(timeout_ms=30000) is None:
        say("Tapvox's main window did not appear")
        return 1
    session.start([tvx.path, "edit-window", "Typing into another program", "120000"])
    found = tvx.find_window(harness.EDIT_WINDOW_CLASS, 15000)
    if found is None:
        say("the edit window did not appear")
        return 1
    window = next(w for w in tvx.windows() if w["hwnd"] == found[0])
    left, top, right, bottom = window["rect"]
    # Let the helper announce itself and the hooks be set before typing.
    time.sleep(2)
    session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)
    say("typing: %s" % SENTENCE)
    session.xdotool("type", "--delay", TYPING_DELAY_MS, SENTENCE)
    # The last sound may still be on its way to the capture.
    raw = session.wait_for_sound(1, timeout=5)
    screen = os.path.join(demo, "screen.png")
    session.screenshot(screen)
    say("screen saved as %s" % screen)

    tvx.call("send-command", harness.COMMAND_EXIT)
    code = app.wait_exit(timeout=15)
    say("Tapvox ended with exit code %s" % code)

    fmt, format_count = (sound_format(os.path.join(app.folder, "Schemes", default))
                         if default else (None, 0))
    if not raw:
        say("nothing was played: the capture is empty")
        return 1
    if fmt is None:
        say("no WAV format known for the scheme; the raw stream is left as typing.raw")
        with open(os.path.join(demo, "typing.raw"), "wb") as f:
            f.write(raw)
        return 1
    if format_count > 1:
        say("the scheme's files have %d formats; the WAV header takes one of them" % format_count)
    channels, width, rate = fmt
    out = os.path.join(demo, "typing.wav")
    with wave.open(out, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(width)
        w.setframerate(rate)
        w.writeframes(raw[:len(raw) - len(raw) % (channels * width)])
    say("played sound saved as %s: %d bytes, %.2f s (%d-bit, %d channel(s), %d Hz)"
        % (out, len(raw), len(raw) / (channels * width * rate), width * 8, channels, rate))
    return 0 if code == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
