"""From a key press to its first sound sample at a sound device that keeps real time: Tapvox under
Wine with each of its sound engines (PlaySoundA, and the overlap engine's held stream) beside
bucklespring, a native keyboard-sound program, in one run on one virtual display: on a quiet
machine and under load (a compile on both cores), and the first key after a minute of silence.
Then, on the same sink, how much of each sound reaches it at 12 keys a second
(bench_sample_share.py).

Both play into a PulseAudio null sink of a server started here on its own socket; parec records
the sink's monitor. The null sink hands out samples at its clock's pace, so the time a block of
the recording arrives says when its samples passed the sink. Keys are pressed with one xdotool
process reading commands from a pipe (no process start per key), into a Wine edit window, at
typing pace with a pause after every key long enough for its sound to end. Prints p50, p99 and
max for each and the ratios to bucklespring; it judges nothing.

  bench_device_latency.py BUILD [PRESSES]
"""

import math
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import bench_sample_share
import benchsession
import compileload
import harness

RATE = 48000
FRAME_BYTES = 2  # 16-bit mono: the monitor mixes the sink's channels down for us
# The first sample whose magnitude reaches this counts as sound (-40 dBFS): well below every key
# sound's first milliseconds, above the room tone that bucklespring's recorded sounds end in.
ONSET_LEVEL = 328
# Samples before a press that must be silent, so that a sound still ringing from the key before
# is not taken for this key's.
QUIET_BEFORE = RATE // 100
KEYS = "asdfghjkl"
# Seconds between presses, drawn at random in this range: bucklespring's press and release
# sounds together ring for up to 0.4 s.
PRESS_GAP = (0.45, 0.6)
HOLD = 0.05  # seconds a key is held down
WARM_UP = 5  # presses before the measured ones: the first opens the sound device
SILENCE_SECONDS = 60
BUCKLESPRING = "/usr/games/buckle"
SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Time for the compile loop to take both cores before the presses start.
LOAD_RAMP_SECONDS = 5


class PulseSink:
    """A PulseAudio server of our own with one null sink, reachable at self.server."""

    def __init__(self, folder):
        self.folder = folder
        socket = os.path.join(folder, "native")
        self.server = "unix:" + socket
        self.env = dict(os.environ, HOME=folder, XDG_RUNTIME_DIR=folder, PULSE_SERVER=self.server)
        self.env.pop("DISPLAY", None)
        self.log = open(os.path.join(folder, "pulseaudio.log"), "w")
        # -n: none of the system's configuration, only the two modules named here.
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--log-target=stderr", "-L", "module-null-sink sink_name=bench rate=%d" % RATE,
             "-L", "module-native-protocol-unix socket=%s auth-anonymous=1" % socket],
            env=self.env, stdout=self.log, stderr=self.log, start_new_session=True)
        deadline = time.monotonic() + harness.DEFAULT_TIMEOUT
        while subprocess.run(["pactl", "info"], env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, check=False).returncode != 0:
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.close()
                raise harness.HarnessError("pulseaudio did not start (see %s)" % self.log.name)
            time.sleep(0.2)

    def close(self):
        harness.stop_process(self.process)
        self.log.close()


class MonitorRecording:
    """parec on the sink's monitor, read on a thread; every block is kept with its arrival time."""

    def __init__(self, pulse):
        self.process = subprocess.Popen(
            ["parec", "-d", "bench.monitor", "--raw", "--format=s16le", "--rate=%d" % RATE,
             "--channels=1", "--latency-msec=5"],
            env=pulse.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            start_new_session=True)
        self.data = bytearray()
        self.arrivals = []  # (monotonic time, frames received up to then)
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        fd = self.process.stdout.fileno()
        while True:
            block = os.read(fd, 65536)
            now = time.monotonic()
            if not block:
                return
            with self.lock:
                self.data += block
                self.arrivals.append((now, len(self.data) // FRAME_BYTES))

    def close(self):
        harness.stop_process(self.process)
        self.reader.join(timeout=5)

    def snapshot(self):
        """(samples, time of frame 0): the clock is the block that arrived soonest after its
        last frame passed the sink, so a reader that was scheduled late shifts nothing."""
        with self.lock:
            data = bytes(self.data)
            start = min(t - frames / RATE for t, frames in self.arrivals)
        samples = memoryview(data).cast("h")
        return samples, start


RINGING = "ringing"
# A sound that began within QUIET_BEFORE before the press's time stamp, after silence: this key's
# own, heard sooner than the recording's clock can place it, or a stray one; left out either way.
EARLY = "early"


def onset_latencies(samples, start, presses):
    """Milliseconds from each press to its first sound sample; None where the key was not heard
    before the next press, RINGING where the sound before it still rang, EARLY where a sound
    began just before the press's time stamp."""
    latencies = []
    bounds = presses[1:] + [presses[-1] + PRESS_GAP[0]]
    for pressed, until in zip(presses, bounds):
        first = max(0, int((pressed - start) * RATE))
        last = min(len(samples), int((until - start) * RATE))
        if any(abs(v) >= ONSET_LEVEL for v in samples[max(0, first - QUIET_BEFORE):first]):
            earlier = samples[max(0, first - 2 * QUIET_BEFORE):max(0, first - QUIET_BEFORE)]
            quiet_earlier = not any(abs(v) >= ONSET_LEVEL for v in earlier)
            latencies.append(EARLY if quiet_earlier else RINGING)
            continue
        found = next((i for i in range(first, last) if abs(samples[i]) >= ONSET_LEVEL), None)
        latencies.append(None if found is None else (found - first) * 1000.0 / RATE)
    return latencies


class Typist:
    """One xdotool reading commands from a pipe, so that a press costs no process start."""

    def __init__(self, session):
        self.process = subprocess.Popen(["xdotool", "-"], env=session.env, stdin=subprocess.PIPE,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        text=True, start_new_session=True)

    def type_keys(self, count, seed):
        """Presses count keys at typing pace; returns the monotonic time of each key-down."""
        chooser = random.Random(seed)
        times = []
        for i in range(count):
            key = KEYS[i % len(KEYS)]
            self.process.stdin.write("keydown %s\n" % key)
            self.process.stdin.flush()
            times.append(time.monotonic())
            time.sleep(HOLD)
            self.process.stdin.write("keyup %s\n" % key)
            self.process.stdin.flush()
            time.sleep(chooser.uniform(*PRESS_GAP) - HOLD)
        return times

    def close(self):
        self.process.stdin.close()
        harness.stop_process(self.process)


def wait_for_key_sound(recording, typist, timeout=60):
    """Presses a key until one is heard: the program has set its hooks and opened the device."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pressed = typist.type_keys(1, 0)[0]
        samples, start = recording.snapshot()
        if any(abs(v) >= ONSET_LEVEL for v in samples[max(0, int((pressed - start) * RATE)):]):
            return
    raise harness.HarnessError("no key was heard within %d s" % timeout)


def measure(recording, typist, presses, seed, silence):
    """(latencies of the presses, latency of one key after SILENCE_SECONDS of silence or None
    when silence is false)."""
    typist.type_keys(WARM_UP, seed)
    times = typist.type_keys(presses, seed + 1)
    after_silence = None
    if silence:
        time.sleep(SILENCE_SECONDS)
        after_silence = typist.type_keys(1, seed + 2)
    time.sleep(PRESS_GAP[1])
    samples, start = recording.snapshot()
    first = onset_latencies(samples, start, after_silence)[0] if silence else None
    return onset_latencies(samples, start, times), first


def percentile(sorted_values, share):
    """Nearest rank, as the other benchmarks print it."""
    rank = max(1, min(len(sorted_values), math.ceil(share * len(sorted_values))))
    return sorted_values[rank - 1]


def summary(name, latencies):
    heard = sorted(v for v in latencies if v not in (None, RINGING, EARLY))
    print("%s: %d presses, %d unheard, %d left out (the sound before still rang), %d left out "
          "(a sound began up to %d ms before the press's time stamp, after silence)"
          % (name, len(latencies), latencies.count(None), latencies.count(RINGING),
             latencies.count(EARLY), QUIET_BEFORE * 1000 // RATE))
    if not heard:
        return None
    figures = (percentile(heard, 0.50), percentile(heard, 0.99), heard[-1])
    print("    key to first sample over %d presses: p50 %.1f ms, p99 %.1f ms, max %.1f ms "
          "(mean %.1f ms)" % ((len(heard),) + figures + (statistics.mean(heard),)))
    return figures


def use_pulse(session, tvx, pulse):
    """Wine's PulseAudio driver instead of the tests' ALSA capture, talking to our server."""
    tvx.reg_write(r"HKCU\Software\Wine\Drivers", "Audio", "sz", "pulse")
    session.env["PULSE_SERVER"] = pulse.server


def run_tapvox(app, tvx, recording, typist, presses, overlap, silence):
    tvx.reg_write(harness.PROGRAM_KEY, "Overlap", "sz", "1" if overlap else "0")
    process, _ = benchsession.start_tapvox(app, tvx)
    try:
        return measure(recording, typist, presses, 1, silence)
    finally:
        tvx.send_command(harness.COMMAND_EXIT)
        app.wait_exit(process, timeout=15)
        harness.stop_process(process)


def run_bucklespring(session, pulse, recording, typist, presses, silence):
    if not os.path.exists(BUCKLESPRING):
        print("bucklespring: %s is missing (Debian package bucklespring)" % BUCKLESPRING)
        return None
    # OpenAL Soft through PulseAudio; buckle hears keys through the X server's RECORD extension.
    env = dict(session.env, PULSE_SERVER=pulse.server, ALSOFT_DRIVERS="pulse",
               HOME=pulse.folder, XDG_RUNTIME_DIR=pulse.folder)
    log_path = os.path.join(pulse.folder, "buckle.log")
    with open(log_path, "w") as log:
        process = subprocess.Popen([BUCKLESPRING], env=env, stdout=log, stderr=log,
                                   start_new_session=True)
    try:
        time.sleep(1.0)
        if process.poll() is not None:
            with open(log_path) as log:
                print("bucklespring ended at once (%d): %s"
                      % (process.returncode, log.read()[-500:]))
            return None
        return measure(recording, typist, presses, 3, silence)
    finally:
        harness.stop_process(process)


def print_load(when):
    with open("/proc/loadavg") as f:
        print("load average %s: %s" % (when, " ".join(f.read().split()[:3])))


def print_silence(name, latency):
    shown = {None: "not heard", RINGING: "the sound before still rang",
             EARLY: "began just before the press's time stamp"}.get(
        latency, "%.1f ms" % latency if isinstance(latency, float) else latency)
    print("%s: the first key after %d s of silence: %s" % (name, SILENCE_SECONDS, shown))


def measure_players(session, app, tvx, pulse, recording, typist, presses, condition, silence):
    """Each player in turn; returns {name: (p50, p99, max) or None}."""
    players = [
        ("Tapvox (Wine, PlaySoundA engine)",
         lambda: run_tapvox(app, tvx, recording, typist, presses, False, silence)),
        ("Tapvox (Wine, overlap engine)",
         lambda: run_tapvox(app, tvx, recording, typist, presses, True, silence)),
        ("bucklespring (OpenAL)",
         lambda: run_bucklespring(session, pulse, recording, typist, presses, silence)),
    ]
    figures = {}
    for name, run in players:
        result = run()
        if result is None:
            figures[name] = None
            continue
        latencies, after_silence = result
        figures[name] = summary("%s, %s" % (name, condition), latencies)
        if silence:
            print_silence(name, after_silence)
    buckle = figures["bucklespring (OpenAL)"]
    for name in list(figures)[:2]:
        if figures[name] and buckle:
            print("%s / bucklespring, %s: p50 %.2f, p99 %.2f, max %.2f"
                  % ((name, condition) + tuple(t / b for t, b in zip(figures[name], buckle))))
    return figures


def main(argv):
    build, presses = benchsession.build_and_figure(argv, __doc__, 300)
    for tool in ("pulseaudio", "parec", "pactl", "make", "g++"):
        if not shutil.which(tool):
            print("bench-device-latency: no %s (run scripts/setup.sh)" % tool, file=sys.stderr)
            return 1
    print_load("before the run")
    with benchsession.bench_session(build, "bench-device") as session:
        pulse_folder = tempfile.mkdtemp(prefix="pulse-", dir=session.work_dir)
        pulse = PulseSink(pulse_folder)
        recording = MonitorRecording(pulse)
        typist = Typist(session)
        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        try:
            edit_window = start_edit_window(session, tvx)
            window = next(w for w in tvx.windows() if w["hwnd"] == edit_window)
            left, top, right, bottom = window["rect"]
            session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)
            use_pulse(session, tvx, pulse)
            app = harness.TapvoxApp(session)
            measure_players(session, app, tvx, pulse, recording, typist, presses, "quiet", True)
            print_load("after the quiet runs")
            with compileload.compile_load(SOURCE_ROOT, session.work_dir):
                time.sleep(LOAD_RAMP_SECONDS)
                print_load("under the compile")
                measure_players(session, app, tvx, pulse, recording, typist, presses,
                                "under load", False)
                print_load("at the end of the compile")

            for overlap in (False, True):
                bench_sample_share.measure(app, tvx, recording, typist, overlap, RATE,
                                           wait_for_key_sound)
        finally:
            typist.close()
            recording.close()
            pulse.close()
        print_load("after the run")
        return 0


def start_edit_window(session, tvx):
    """tvxctl's edit window, which takes the focus for the whole run; returns its hwnd."""
    session.start([tvx.path, "edit-window", "Typing", "3600000"])
    found = tvx.wait_for_window(harness.EDIT_WINDOW_CLASS)
    if not found:
        raise harness.HarnessError("the edit window did not appear")
    return found[0]


if __name__ == "__main__":
    benchsession.run("bench-device-latency", main)
