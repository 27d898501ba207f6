"""Hours of typing, compressed: the loop that `make soak` (scripts/soak.sh) and the 60-second
test_soak.py share.

Keys are typed with xdotool at 15 a second into tvxctl's edit window while Tapvox runs with the
scheme a first run gives. At every scheme interval the loop stops typing, chooses the next scheme
with its menu command and sets another volume and filter through the Settings dialog. A running
Tapvox reads "Valume" and "Filter" only at start, and its Settings command starts from the values
in memory, so a value written into the registry would reach it only after a restart: the loop
sets the dialog's controls instead, presses OK and waits until the registry holds the new values.
At every sample interval it records Tapvox's working set and its kernel handle, GDI and USER
object counts (`tvxctl counts`) and the time Tapvox takes to handle a key event, sound call
included (HookEventBench, as bench_sound_events.py runs it).

Sounds heard. Every sound device Wine opens pipes its samples into a file of its own, and Wine
opens the device once for each sound it plays, so each file is one sound; a file holding more
than Wine's padding silence was heard. Each sound replaces the one still playing, also one whose
first block has not reached the device yet, which under load happens at 15 keys a second: such a
file stays empty. Files are counted and removed while typing pauses, when every sound has ended.
A scheme with release words asks for two sounds per key typed, the press's and the release's.
"""

import glob
import os
import re
import time

import benchsession
import harness

PRESS_GAP_MS = 67  # 15 keys a second
# Lower-case letters, digits, space and punctuation without Shift: the sound of a Shift pressed
# together with its letter is replaced by the letter's at once, so it would count as unheard.
KEYS = (list("thequickbrownfoxjumpsoverthelazydog0123456789")
        + ["space", "comma", "period", "minus", "BackSpace"])
CHUNK_SECONDS = 5  # typing between two looks at the clock
COMMAND_SETTINGS = 40015
MAX_SCHEMES = 25
# (volume, filter) in turn: the filter applies to upper-case letters, which the latency events
# are; volume 0 is left out, since it plays silence that could not be told from a lost sound.
SETTINGS = [(60, 1), (100, 2), (35, 0), (85, 1), (45, 2)]
FILTER_BUTTONS = ["No Filter", "Echo", "Inversion"]
TRACKBAR_CLASS = "msctls_trackbar32"
WM_HSCROLL, TB_THUMBPOSITION, TBM_SETPOS, BM_SETCHECK, IDOK = 0x114, 4, 0x405, 0xF1, 1
# Key event A with the character 'A': a sound, and the upper-case filter on it.
LATENCY_EVENT, LATENCY_EVENTS, LATENCY_GAP_MS = 0x4141, 20, 100
LATENCY = re.compile(r"p50 ([\d.]+) us p99 ([\d.]+) us max ([\d.]+) us")
COUNTS = ("handles", "gdi", "user", "workingset")
QUIET_SECONDS = 1.0  # no sound file growing for this long: every sound has ended


def count_text(value):
    """A count as the sample lines show it: "-" where it cannot be read."""
    return str(value) if value >= 0 else "-"


class SoundFiles:
    """The capture: one file per opened sound device under folder."""

    def __init__(self, session):
        self.folder = os.path.join(session.work_dir, "sounds")
        os.makedirs(self.folder, exist_ok=True)
        # The shell of the pipe is the one process per device; its pid names the file, and the
        # files are removed every few hundred sounds, long before pids wrap around.
        with open(os.path.join(session.home, ".asoundrc"), "w") as f:
            f.write('pcm.!default {\n  type file\n  slave.pcm "null"\n'
                    '  file "|exec cat >> %s/sound.$$"\n  format "raw"\n}\n' % self.folder)

    def files(self):
        return glob.glob(os.path.join(self.folder, "sound.*"))

    def wait_quiet(self, timeout=20):
        """Waits until no sound file grows for a moment; false if they kept growing."""
        deadline = time.monotonic() + timeout
        last = None
        while time.monotonic() < deadline:
            sizes = sorted((path, os.path.getsize(path)) for path in self.files())
            if sizes == last:
                return True
            last = sizes
            time.sleep(QUIET_SECONDS)
        return False

    def take(self):
        """(heard, replaced, silence): the sounds captured since the last call, which are then
        removed. A file without a byte is a sound the next one replaced before its first block
        reached the device; one of nothing but padding played silence."""
        counts = [0, 0, 0]
        for path in self.files():
            with open(path, "rb") as f:
                data = f.read()
            counts[0 if harness.strip_padding(data) else 1 if not data else 2] += 1
            os.remove(path)
        return tuple(counts)


class Soak:
    """One Tapvox typed at for `seconds` of typing, ending with the first chunk that reaches them;
    both intervals are multiples of CHUNK_SECONDS. samples holds a dict per sample: seconds typed,
    presses, each of COUNTS and the key event latency as (p50, p99, max) in microseconds."""

    def __init__(self, session, tvx, seconds, scheme_every=60, sample_every=30, log=None):
        self.session, self.tvx = session, tvx
        # Each line as it comes, also into a pipe or a log file.
        self.log = log or (lambda line: print(line, flush=True))
        self.seconds, self.scheme_every, self.sample_every = seconds, scheme_every, sample_every
        self.sounds = SoundFiles(session)
        self.bench = harness.best_tool("HookEventBench.exe")
        if not self.bench:
            raise harness.HarnessError("no HookEventBench.exe this host can run")
        self.app = harness.TapvoxApp(session)
        schemes = os.path.join(self.app.folder, "Schemes")
        self.schemes = min(MAX_SCHEMES, len([
            name for name in os.listdir(schemes)
            if not name.startswith(".") and os.path.isdir(os.path.join(schemes, name))]))
        self.presses = self.requests = self.heard = self.replaced = self.silence = 0
        self.switches = 0
        self.scheme_names = {}  # by menu command, read from the tray menu
        self.sounds_per_key = 1
        self.samples = []
        self.pid = self.edit_window = None

    def start(self):
        """Starts Tapvox with no stored settings, as on a first run, and the edit window."""
        self.app.start()
        found = self.tvx.wait_for_window()
        if not found:
            raise harness.HarnessError("Tapvox's window did not appear")
        self.pid = found[1]
        # The pauses for samples and switches take about as long again as the typing.
        lifetime_ms = (3 * self.seconds + 600) * 1000
        self.session.start([self.tvx.path, "edit-window", "Soak", str(lifetime_ms)])
        found = self.tvx.wait_for_window(harness.EDIT_WINDOW_CLASS)
        if not found:
            raise harness.HarnessError("the edit window did not appear")
        self.edit_window = found[0]
        # The scheme items join the menu when it is shown for the first time.
        self.open_tray_menu()

    def open_tray_menu(self):
        icons = [w for w in self.tvx.windows()
                 if w["class"] == harness.TRAY_ICON_CLASS and w["visible"]]
        if len(icons) != 1:
            raise harness.HarnessError("not one tray icon but %d" % len(icons))
        left, top, right, bottom = icons[0]["rect"]
        self.session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 3)
        if not harness.wait_until(self.tvx.menu_shown, 10):
            raise harness.HarnessError("the tray menu did not open")
        code, out = self.tvx.call("menu-texts", 10000)
        if code != harness.Tvxctl.OK:
            raise harness.HarnessError("no menu texts: " + self.tvx.last_error)
        for _, _, command, text in (line.split("\t") for line in out.splitlines()):
            if harness.FIRST_SCHEME_COMMAND <= int(command) <= harness.LAST_SCHEME_COMMAND:
                self.scheme_names[int(command)] = text
        self.session.xdotool("key", "Escape")
        if not harness.wait_until(lambda: not self.tvx.menu_shown(), 10):
            raise harness.HarnessError("the tray menu stayed open")

    def focus_edit_window(self):
        """Clicks into the edit window unless it has the focus, and waits until it has: a key
        typed before that would reach no Wine window, and so no hook."""
        if self.tvx.foreground() == self.edit_window:
            return
        window = next(w for w in self.tvx.windows() if w["hwnd"] == self.edit_window)
        left, top, right, bottom = window["rect"]
        self.session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)
        if not harness.wait_until(lambda: self.tvx.foreground() == self.edit_window, 10):
            raise harness.HarnessError("the edit window did not take the focus")

    def type_chunk(self):
        self.focus_edit_window()
        count = CHUNK_SECONDS * 1000 // PRESS_GAP_MS
        keys = [KEYS[(self.presses + i) % len(KEYS)] for i in range(count)]
        self.session.xdotool("key", "--delay", PRESS_GAP_MS, *keys)
        self.presses += count
        self.requests += count * self.sounds_per_key

    def settle(self):
        """Waits for the sounds to end and counts them."""
        if not self.sounds.wait_quiet():
            raise harness.HarnessError("sounds still being captured long after the last press")
        heard, replaced, silence = self.sounds.take()
        self.heard += heard
        self.replaced += replaced
        self.silence += silence

    def switch(self):
        """The next scheme by its menu command, then the next volume and filter."""
        self.switches += 1
        command = harness.FIRST_SCHEME_COMMAND + self.switches % self.schemes
        if self.tvx.send_command(command) != harness.Tvxctl.OK:
            raise harness.HarnessError("the scheme command was not answered")
        self.sounds_per_key = 2 if self.has_release_words(self.scheme_names[command]) else 1
        self.change_settings(*SETTINGS[self.switches % len(SETTINGS)])

    def has_release_words(self, scheme):
        """Whether the scheme's file has release words; the bundled schemes that have them give
        one to every key typed here."""
        folder = os.path.join(self.app.folder, "Schemes", scheme)
        for name in ("Scheme.txt", "Scheme.ini"):
            path = os.path.join(folder, name)
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    return b".UP=" in f.read().upper()
        return False

    def change_settings(self, volume, sound_filter):
        if self.tvx.post_command(COMMAND_SETTINGS) != harness.Tvxctl.OK:
            raise harness.HarnessError("the Settings command could not be posted")
        dialog = harness.wait_until(lambda: next(
            (w for w in self.tvx.windows() if w["pid"] == self.pid and w["visible"]
             and w["class"] == harness.DIALOG_CLASS and w["title"] == "Settings"), None), 15)
        if not dialog:
            raise harness.HarnessError("the Settings dialog did not open")
        controls = [w for w in self.tvx.windows() if w["parent"] == dialog["hwnd"]]
        slider = next(w["hwnd"] for w in controls if w["class"] == TRACKBAR_CLASS)
        buttons = {w["title"]: w["hwnd"] for w in controls}
        # As a drag ends: the slider moves, then tells the dialog where it is.
        self.send(slider, TBM_SETPOS, 1, volume)
        self.send(dialog["hwnd"], WM_HSCROLL, (volume << 16) | TB_THUMBPOSITION, slider)
        for index, title in enumerate(FILTER_BUTTONS):
            self.send(buttons[title], BM_SETCHECK, int(index == sound_filter))
        self.send(dialog["hwnd"], harness.WM_COMMAND, IDOK)
        stored = harness.wait_until(lambda: self.stored_settings() == (volume, sound_filter), 15)
        if not stored:
            raise harness.HarnessError("the registry did not take volume %d and filter %d, it "
                                       "holds %s" % (volume, sound_filter, self.stored_settings()))

    def send(self, window, message, wparam=0, lparam=0):
        code, _ = self.tvx.call("send-window", window, message, wparam, lparam)
        if code != harness.Tvxctl.OK:
            raise harness.HarnessError("message %#x to window %#x not answered" % (message, window))

    def stored_settings(self):
        values = [self.tvx.reg_read(harness.PROGRAM_KEY, name) for name in ("Valume", "Filter")]
        return tuple(int(value[1]) if value else None for value in values)

    def sample(self, typed):
        code, out = self.tvx.call("counts", self.pid)
        if code != harness.Tvxctl.OK:
            raise harness.HarnessError("tvxctl counts failed (%d): %s"
                                       % (code, self.tvx.last_error.strip()))
        counts = {k: int(v) for k, v in (item.split("=") for item in out.split())}
        code, out, err = self.session.run(
            [self.bench, str(LATENCY_EVENTS), hex(LATENCY_EVENT), str(LATENCY_GAP_MS)], timeout=120)
        figures = LATENCY.search(out)
        if code != 0 or not figures:
            raise harness.HarnessError("HookEventBench failed (%d): %s" % (code, err.strip()))
        self.requests += LATENCY_EVENTS
        self.settle()
        row = dict(counts, typed=typed, presses=self.presses,
                   latency=tuple(float(v) for v in figures.groups()))
        self.samples.append(row)
        self.log("%5.0f s %5d presses %5d heard of %5d (%d replaced)  handles %3s gdi %3s "
                 "user %3s  working set %6d KB  key event p50 %6.0f us p99 %6.0f us" % (
                     typed, self.presses, self.heard, self.requests, self.replaced,
                     count_text(row["handles"]), count_text(row["gdi"]), count_text(row["user"]),
                     row["workingset"] // 1024, row["latency"][0], row["latency"][1]))

    def run(self):
        """Warm-up (a first scheme switch and first sounds), the baseline sample, then
        self.seconds of typing, with switches and samples after the typing time of their
        intervals: the pauses for them do not count, so a run types 15 keys a second of it."""
        self.start()
        self.switch()
        self.type_chunk()
        self.settle()
        self.sample(0)
        typed = 0
        while typed < self.seconds:
            self.type_chunk()
            typed += CHUNK_SECONDS
            sample_now = typed % self.sample_every == 0 or typed >= self.seconds
            switch_now = typed % self.scheme_every == 0 and typed < self.seconds
            if sample_now or switch_now:
                self.settle()
            if sample_now:
                self.sample(typed)
            if switch_now:
                self.switch()

    def readable(self, name):
        """Whether every sample could read the count: tvxctl counts gives -1 where it cannot."""
        return all(sample[name] >= 0 for sample in self.samples)

    def growth_per_1000(self, name):
        """Growth of a count from the baseline to the last sample per 1,000 presses."""
        first, last = self.samples[0], self.samples[-1]
        presses = last["presses"] - first["presses"]
        return (last[name] - first[name]) * 1000.0 / presses if presses else 0.0

    def report(self):
        self.log("presses typed: %d; sounds asked for, the latency events' too: %d; sounds "
                 "heard: %d; replaced by the next before their first block reached the device: %d; played "
                 "as silence: %d; without a sound device: %d; scheme switches: %d" % (
                     self.presses, self.requests, self.heard, self.replaced, self.silence,
                     self.requests - self.heard - self.replaced - self.silence, self.switches))
        for name in COUNTS:
            if not self.readable(name):
                self.log("%s: not readable here" % name)
                continue
            scale, unit = (1024, " KB") if name == "workingset" else (1, "")
            self.log("%s: %d%s at the baseline, %d%s at the end, %+.2f%s per 1,000 presses" % (
                name, self.samples[0][name] // scale, unit, self.samples[-1][name] // scale, unit,
                self.growth_per_1000(name) / scale, unit))



def main(argv):
    """soak.py BUILD [SECONDS]: prints the samples and the totals; fails only when something
    could not run."""
    build, seconds = benchsession.build_and_figure(argv, __doc__, 600)
    with open("/proc/loadavg") as f:
        print("soak for %d s; load average before: %s" % (seconds, " ".join(f.read().split()[:3])))
    with benchsession.bench_session(build, "soak") as session:
        soak = Soak(session, harness.Tvxctl(session, harness.best_tool("tvxctl.exe")), seconds)
        soak.run()
        soak.report()
    with open("/proc/loadavg") as f:
        print("load average after: %s" % " ".join(f.read().split()[:3]))
    return 0


if __name__ == "__main__":
    benchsession.run("soak", main)
