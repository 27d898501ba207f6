"""Time Tapvox's main window takes to handle one "NEW_HOOK_SYSTEM" key event under Wine, sent
with SendMessage from another process (HookEventBench.exe). Prints figures; it judges nothing
(target: p99 under 1 ms).

  bench_sound_events.py BUILD [COUNT]
"""

import os
import shutil
import sys

import benchsession
import harness
from wavfiles import sample_bytes, write_wav

SCHEME = "BenchClicks"
# (what, event, count share, pause before each event in ms). Key A with the character 'A' is
# loaded, echoed, scaled and played: back to back, each request first stops the sound before it;
# with pauses as between a typist's key presses, the sound before has ended. Key Z has no
# sound; an event of kind 2 asks for nothing, so it shows what the round trip alone costs.
RUNS = [("key with a sound, back to back", 0x4141, 1.0, 0),
        ("key with a sound, 150 ms apart", 0x4141, 0.2, 150),
        ("key without a sound", 0x5A7A, 1.0, 0),
        ("event of kind 2 (nothing to do)", 0x20000, 1.0, 0)]


def install_scheme(app):
    schemes = os.path.join(app.folder, "Schemes")
    shutil.rmtree(schemes, ignore_errors=True)
    folder = os.path.join(schemes, SCHEME)
    os.makedirs(folder)
    with open(os.path.join(folder, "Scheme.txt"), "w") as f:
        f.write("A=click.wav\r\n")
    # 50 ms of 16-bit mono at 22,050 Hz: a short click, as the bundled schemes have.
    write_wav(os.path.join(folder, "click.wav"), 16, 1, 22050, sample_bytes(16, 1, 1102, seed=5))


def use_null_sound_device(session):
    """Plain ALSA null device: the tests' capture pipe starts a process for every opened device,
    a cost of the capture and not of the program."""
    with open(os.path.join(session.home, ".asoundrc"), "w") as f:
        f.write("pcm.!default {\n  type null\n}\n")


def main(argv):
    build, count = benchsession.build_and_figure(argv, __doc__, 1000)
    with benchsession.bench_session(build, "bench-events") as session:
        bench = harness.best_tool("HookEventBench.exe")
        if not bench:
            print("bench-events: no HookEventBench.exe this host can run", file=sys.stderr)
            return 1
        use_null_sound_device(session)
        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        app = harness.TapvoxApp(session)
        install_scheme(app)
        for name, value in (("Scheme", "0"), ("Filter", "1"), ("Valume", "50")):
            tvx.reg_write(harness.PROGRAM_KEY, name, "sz", value)
        benchsession.start_tapvox(app, tvx)
        for what, event, share, gap_ms in RUNS:
            events = max(1, int(count * share))
            code, out, err = session.run([bench, str(events), hex(event), str(gap_ms)],
                                         timeout=900)
            if code != 0:
                print("bench-events: HookEventBench failed (%d): %s" % (code, err.strip()),
                      file=sys.stderr)
                return 1
            print("%s: %s" % (what, out.strip()))
        return 0


if __name__ == "__main__":
    benchsession.run("bench-events", main)
