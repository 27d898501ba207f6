"""Runs Windows programs under Wine for the tests: one fresh Wine prefix, HOME and X display per
test, Tapvox started from a private copy of its program folder, and a record of every sound played.

Paths come from the environment that ctest sets (see tests/CMakeLists.txt):
  TAPVOX_DIST           the staged program folder (Tapvox.exe, KbdHook.dll, HookProc.exe, Lngs\\,
                        Schemes\\)
  TAPVOX_TOOLS32/64     folders holding tvxctl.exe (with its MenuProbe.dll) and FakeHelper.exe,
                        built 32- and 64-bit
  TAPVOX_WINE_TEMPLATE  a prefix made once per ctest run by `winetest.py make-template`
  TAPVOX_TEST_WORK      where each test makes its own folder (removed afterwards unless
                        TAPVOX_KEEP_WORK=1)

Sound capture. Wine plays through ALSA (the template sets HKCU\\Software\\Wine\\Drivers "Audio" to
"alsa"). Each test's HOME holds an .asoundrc that makes the default ALSA device a `file` plugin in
front of the `null` device, with `format "raw"` and `file "|cat >> sound.raw"`: every sample frame
that Wine hands to ALSA is appended to sound.raw in the order played, and no device is needed. The
null slave takes any sample format and rate, so ALSA's plug layer converts nothing, and Wine passes
the stream on in the format it was opened with. Checked with `tvxctl play` (PlaySoundA, from memory
with SND_ASYNC and from a file with SND_SYNC) for 8- and 16-bit, mono and stereo, at 11025, 22050
and 44100 Hz: the captured bytes equal the WAV's data chunk byte for byte, with no silence before or
after (test_sound_capture.py keeps this checked). One exception, seen on a busy machine: when a
stream runs dry before it is stopped, Wine keeps the device fed with silence, one period (10 ms)
at a time, so a sound may be followed by silence: zero bytes for 16-bit sound, 0x80 bytes for
8-bit. strip_padding() and sounds_in_order() look past silence at either end of a sound; test
sounds begin and end with bytes that are neither. Opening the device the first time in a process can take about a
second, so tests wait for the capture to reach its expected length instead of sleeping a fixed
time.
"""

import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest

MAIN_WINDOW_CLASS = "TVX_SOUNDPRG_MAINWND"
# Without a system tray on the X display, Wine shows the notification area as a small window at
# the top left, "Wine System Tray", with one child window per icon, of this class.
TRAY_ICON_CLASS = "__winex11_tray_icon"
MENU_CLASS = "#32768"
DIALOG_CLASS = "#32770"
EDIT_WINDOW_CLASS = "TVX_TEST_EDITWND"
EDIT_WINDOW_MARK = 0x8000  # WM_APP: the edit window writes "mark" to its activation record
WM_COMMAND = 0x111
WM_KEYDOWN = 0x100
VK_ESCAPE = 0x1B
COMMAND_STARTUP, COMMAND_EXIT = 40014, 40017
# The menu numbers its scheme items from here, at most 25 of them.
FIRST_SCHEME_COMMAND, LAST_SCHEME_COMMAND = 30000, 30024
PROGRAM_KEY = r"HKCU\Software\Quillmark\Tapvox"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"

WINE32_LOADER = "/usr/lib/wine/wine"
WINE64_LOADER = "/usr/lib/wine/wine64"
PE_MACHINE_I386 = 0x14C
PE_MACHINE_AMD64 = 0x8664

DEFAULT_TIMEOUT = 30
# How long a program started under Wine may take to show its window: a few seconds as a rule,
# past 30 s once under a load average of 14. The bound only proves that start-up does not hang.
STARTUP_TIMEOUT_MS = 120000


class HarnessError(Exception):
    pass


def pe_machine(path):
    """The machine field of a PE file's header (0x14c for 32-bit, 0x8664 for 64-bit), or None."""
    try:
        with open(path, "rb") as f:
            header = f.read(4096)
    except OSError:
        return None
    if len(header) < 0x40 or header[:2] != b"MZ":
        return None
    (pe_offset,) = struct.unpack_from("<I", header, 0x3C)
    if pe_offset + 6 > len(header) or header[pe_offset:pe_offset + 4] != b"PE\0\0":
        return None
    (machine,) = struct.unpack_from("<H", header, pe_offset + 4)
    return machine


def qemu_runs_i386():
    """Whether the kernel hands 32-bit x86 Linux programs to an emulator (a qemu-i386 binfmt_misc
    entry). Wine under qemu-user hangs, so Wine must not take that path."""
    folder = "/proc/sys/fs/binfmt_misc"
    try:
        names = os.listdir(folder)
    except OSError:
        return False
    for name in names:
        try:
            with open(os.path.join(folder, name)) as f:
                entry = f.read()
        except OSError:
            continue
        if entry.startswith("enabled") and "qemu-i386" in entry:
            return True
    return False


def isolation_command():
    """A prefix for Wine commands that hides an emulator registration: a user and mount namespace
    with a binfmt_misc of its own (Linux 6.7 and later), in which 32-bit programs fail at once
    instead of crawling under qemu. Empty when there is nothing to hide."""
    if not qemu_runs_i386():
        return []
    return ["unshare", "-Urm", "sh", "-c",
            'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null; exec "$@"',
            "sh"]


_can_run_32bit = None
# Set to 1, the harness takes the path for hosts without 32-bit support on any host.
ASSUME_NO_32BIT = "TAPVOX_ASSUME_NO_32BIT"


def host_runs_32bit_wine():
    """Whether Wine can run 32-bit Windows programs here. It needs the 32-bit Linux loader, which a
    kernel without IA-32 emulation refuses to execute."""
    global _can_run_32bit
    if os.environ.get(ASSUME_NO_32BIT) == "1":
        return False
    if _can_run_32bit is None:
        try:
            probe = subprocess.run(isolation_command() + [WINE32_LOADER, "--version"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   timeout=DEFAULT_TIMEOUT, check=False)
            _can_run_32bit = probe.returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            _can_run_32bit = False
    return _can_run_32bit


def host_runs(exe_path):
    machine = pe_machine(exe_path)
    if machine == PE_MACHINE_AMD64:
        return True
    return machine == PE_MACHINE_I386 and host_runs_32bit_wine()


def wine_command():
    """The Wine loader to start programs with: the usual `wine` script where 32-bit programs run,
    else the 64-bit loader directly (the script would try the 32-bit one first and fail)."""
    if host_runs_32bit_wine() or not os.path.exists(WINE64_LOADER):
        return isolation_command() + ["wine"]
    return isolation_command() + [WINE64_LOADER]


SYSTEM_ALSA_CONFIG = "/usr/share/alsa/alsa.conf"
SYSTEM_ALSA_DROPINS = re.compile(r'^\s*"(/var/lib|/usr/etc|/etc)/alsa/conf\.d"\s*$', re.M)


def private_alsa_config(home):
    """The system's ALSA configuration without the drop-in folders, written into home: packages
    such as PulseAudio's ALSA plugin drop a default device there that 32-bit ALSA cannot load,
    and then no sound reaches the capture of ~/.asoundrc. Returns its path."""
    os.makedirs(home, exist_ok=True)
    path = os.path.join(home, "alsa.conf")
    with open(SYSTEM_ALSA_CONFIG) as f:
        text = SYSTEM_ALSA_DROPINS.sub("", f.read())
    with open(path, "w") as f:
        f.write(text)
    return path


def wine_environment(prefix, home, display=None):
    env = dict(os.environ)
    for name in ("WAYLAND_DISPLAY", "WINEARCH", "WINESERVER"):
        env.pop(name, None)
    env.update({
        "WINEPREFIX": prefix,
        "HOME": home,
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        # No PulseAudio here: Wine goes straight to ALSA, where the capture sits.
        "PULSE_SERVER": "unix:/nonexistent",
        "ALSA_CONFIG_PATH": private_alsa_config(home),
    })
    if not host_runs_32bit_wine() and os.path.exists(WINE64_LOADER):
        env["WINELOADER"] = WINE64_LOADER
    if display:
        env["DISPLAY"] = display
    else:
        env.pop("DISPLAY", None)
    return env


def run_to_files(args, env, timeout, what, cwd=None):
    """Runs a command with its output in temporary files rather than pipes: programs that Wine
    starts in the background (services, explorer) inherit the output handles, and a pipe would
    stay open for as long as they live. Returns (exit code, stdout, stderr) as text."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            code = subprocess.run(args, env=env, cwd=cwd, stdout=out, stderr=err,
                                  stdin=subprocess.DEVNULL, timeout=timeout,
                                  check=False).returncode
        except subprocess.TimeoutExpired as error:
            raise HarnessError("%s did not finish within %s s; Wine's processes then:\n%s"
                               % (what, timeout, wine_processes())) from error
        out.seek(0)
        err.seek(0)
        return (code, out.read().decode(errors="replace"), err.read().decode(errors="replace"))


def wine_processes():
    """The Wine processes of this machine, with their state: what a stalled call waited on."""
    listing = subprocess.run(["ps", "-eo", "pid,stat,etime,args"], capture_output=True,
                             text=True, check=False).stdout.splitlines()
    return "\n".join(line for line in listing[1:] if ".exe" in line or "wine" in line)


def make_template(prefix):
    """Creates a fresh Wine prefix at `prefix` for the tests to copy, with ALSA as audio driver
    and Windows 10 as the system's version."""
    if os.path.exists(prefix):
        shutil.rmtree(prefix)
    home = prefix + ".home"
    os.makedirs(home, exist_ok=True)
    env = wine_environment(prefix, home)
    code, _, err = run_to_files(wine_command() + ["wineboot", "-i"], env, 300, "wineboot -i")
    if code != 0:
        raise HarnessError("wineboot -i failed (%d): %s" % (code, err[-2000:]))
    code, _, err = run_to_files(wine_command() + ["reg", "add", r"HKCU\Software\Wine\Drivers",
                                                  "/v", "Audio", "/d", "alsa", "/f"],
                                env, 60, "reg add")
    if code != 0:
        raise HarnessError("setting the audio driver failed: %s" % err[-2000:])
    # Windows 10 is the least system Tapvox supports; Wine's default version may be older.
    code, _, err = run_to_files(wine_command() + ["reg", "add", r"HKCU\Software\Wine",
                                                  "/v", "Version", "/d", "win10", "/f"],
                                env, 60, "reg add")
    if code != 0:
        raise HarnessError("setting the Windows version failed: %s" % err[-2000:])
    # The registry reaches the disk only when the server ends: wait for that before tests copy it.
    run_to_files(["wineserver", "-w"], env, 60, "wineserver -w")
    # Wine links the profile's Desktop, Documents and the like to the home folder, which goes
    # now; left dangling, the shell finds no Desktop and the file dialog cannot open a file.
    users = os.path.join(prefix, "drive_c", "users")
    for user in os.listdir(users):
        for name in os.listdir(os.path.join(users, user)):
            path = os.path.join(users, user, name)
            if os.path.islink(path) and os.path.realpath(path).startswith(os.path.realpath(home)):
                os.remove(path)
                os.makedirs(path)
    shutil.rmtree(home, ignore_errors=True)


# Silence as 16-bit and as 8-bit samples.
PADDING_BYTES = b"\x00\x80"


def strip_padding(captured):
    """The captured sound without the silence Wine may add before and after it."""
    return captured.strip(PADDING_BYTES)


def sounds_in_order(captured, sounds):
    """Whether the capture holds exactly these sample data, in this order, with nothing else
    between or around them but Wine's padding silence."""
    rest = captured
    for sound in sounds:
        rest = rest.lstrip(PADDING_BYTES)
        if not rest.startswith(sound):
            return False
        rest = rest[len(sound):]
    return rest.strip(PADDING_BYTES) == b""


def read_lines(path):
    """A file's lines, or none while the file does not exist yet."""
    try:
        with open(path) as f:
            return f.read().splitlines()
    except FileNotFoundError:
        return []


def windows_path(linux_path):
    """The path Wine programs see for a Linux path: drive Z: is the Linux root."""
    return "Z:" + os.path.abspath(linux_path).replace("/", "\\")


class VirtualDisplay:
    """An Xvfb of our own on a free display number that Xvfb picks itself (-displayfd)."""

    def __init__(self, width=1024, height=768):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp", "-ac", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + DEFAULT_TIMEOUT
        try:
            while not number.endswith(b"\n"):
                remaining = deadline - time.monotonic()
                if remaining <= 0 or not select.select([read_end], [], [], remaining)[0]:
                    break
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
        finally:
            os.close(read_end)
        if not number.strip().isdigit():
            self.close()
            raise HarnessError("Xvfb did not start")
        self.display = ":" + number.strip().decode()

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)


class WineSession:
    """A private Wine world for one test: prefix copied from the template, its own HOME (with the
    sound capture), its own X display and wineserver. close() ends all of it, also after a
    failure."""

    def __init__(self, work_dir):
        self.work_dir = work_dir
        self.prefix = os.path.join(work_dir, "prefix")
        self.home = os.path.join(work_dir, "home")
        self.sound_file = os.path.join(work_dir, "sound.raw")
        self.display = None
        self.children = []
        template = os.environ.get("TAPVOX_WINE_TEMPLATE")
        if not template or not os.path.isdir(template):
            raise HarnessError("no template Wine prefix (TAPVOX_WINE_TEMPLATE)")
        os.makedirs(self.home, exist_ok=True)
        subprocess.run(["cp", "-a", template, self.prefix], check=True, timeout=120)
        self.write_asoundrc()
        try:
            self.display = VirtualDisplay()
            self.env = wine_environment(self.prefix, self.home, self.display.display)
            # A persistent server started with its output elsewhere: otherwise a program's
            # captured output would stay open as long as the server runs.
            subprocess.run(["wineserver", "-p"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=DEFAULT_TIMEOUT, check=False)
        except BaseException:
            self.close()
            raise

    def write_asoundrc(self, device="null", seen_by_running=False):
        """The default ALSA device: the capture in front of `device`; a device that does not
        exist takes the sound device away. ALSA in a running process reads the file again only
        when its top configuration file changed: seen_by_running replaces that one too."""
        with open(self.asoundrc, "w") as f:
            f.write('pcm.!default {\n'
                    '  type file\n'
                    '  slave.pcm "%s"\n'
                    '  file "|cat >> %s"\n'
                    '  format "raw"\n'
                    '}\n' % (device, self.sound_file))
        if seen_by_running:
            top = self.env["ALSA_CONFIG_PATH"]
            shutil.copyfile(top, top + ".new")
            os.replace(top + ".new", top)  # a new file, even within the same second

    @property
    def asoundrc(self):
        return os.path.join(self.home, ".asoundrc")

    @property
    def drive_c(self):
        return os.path.join(self.prefix, "drive_c")

    def run(self, args, timeout=DEFAULT_TIMEOUT, extra_env=None):
        """Runs a Windows program to its end; returns (exit code, stdout, stderr)."""
        env = dict(self.env, **(extra_env or {}))
        return run_to_files(wine_command() + list(args), env, timeout, args[0])

    def start(self, args, extra_env=None, cwd=None):
        """Starts a Windows program and returns its Popen; the Linux process is the Windows
        process, so its exit code is the program's."""
        env = dict(self.env, **(extra_env or {}))
        process = subprocess.Popen(wine_command() + list(args), env=env, cwd=cwd,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        self.children.append(process)
        return process

    def captured_sound(self):
        try:
            with open(self.sound_file, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return b""

    def wait_for_sound(self, length, timeout=10):
        """Waits until at least `length` bytes were captured and the capture stays still for a
        moment; returns what was captured."""
        deadline = time.monotonic() + timeout
        last = -1
        while time.monotonic() < deadline:
            size = os.path.getsize(self.sound_file) if os.path.exists(self.sound_file) else 0
            if size >= length and size == last:
                break
            last = size
            time.sleep(0.2)
        return self.captured_sound()

    def screenshot(self, path):
        """Saves the whole virtual screen as an image file (its type from the extension)."""
        if not self.display:
            raise HarnessError("no display")
        code, _, err = run_to_files(["import", "-display", self.display.display, "-window", "root",
                                     path], self.env, DEFAULT_TIMEOUT, "import")
        if code != 0:
            raise HarnessError("screenshot failed: " + err)

    def brightness(self, left, top, right, bottom):
        """Mean brightness, 0 (black) to 1 (white), of a rectangle of the screen as shown now."""
        shot = os.path.join(self.work_dir, "brightness.png")
        self.screenshot(shot)
        code, out, err = run_to_files(
            ["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
             "-colorspace", "Gray", "-format", "%[fx:mean]", "info:"],
            self.env, DEFAULT_TIMEOUT, "convert")
        if code != 0:
            raise HarnessError("measuring the screenshot failed: " + err)
        return float(out)

    def xdotool(self, *args):
        if not self.display:
            raise HarnessError("no display")
        code, out, err = run_to_files(["xdotool"] + [str(a) for a in args], self.env,
                                      DEFAULT_TIMEOUT, "xdotool")
        if code != 0:
            raise HarnessError("xdotool %s failed: %s" % (args[0], err))
        return out

    def close(self):
        for process in self.children:
            stop_process(process)
        if hasattr(self, "env"):
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=DEFAULT_TIMEOUT, check=False)
            subprocess.run(["wineserver", "-w"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=DEFAULT_TIMEOUT, check=False)
        if self.display:
            self.display.close()
            self.display = None


def stop_process(process, timeout=5):
    if process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    try:
        process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        pass


class Tvxctl:
    """The test tool that talks to Tapvox from inside Wine (tests/tools/tvxctl_main.cpp)."""

    OK, FAILED, USAGE, MISSING = 0, 1, 2, 3

    def __init__(self, session, path):
        self.session = session
        self.path = path
        self.last_error = ""

    def call(self, *args, timeout=DEFAULT_TIMEOUT):
        code, out, self.last_error = self.session.run([self.path] + [str(a) for a in args],
                                                      timeout=timeout)
        return code, out

    def find_window(self, window_class=MAIN_WINDOW_CLASS, timeout_ms=0):
        """(hwnd, Windows pid) of the first window of the class, or None."""
        try:
            code, out = self.call("find-window", window_class, timeout_ms,
                                  timeout=DEFAULT_TIMEOUT + timeout_ms / 1000)
        except HarnessError as stalled:
            # Seen once under load: the tool outlived its own time limit by far, so Wine had
            # stalled it. Looking for a window changes nothing, so one more try is safe; a
            # second stall fails the test.
            print("find-window stalled; trying once more. %s" % stalled, file=sys.stderr)
            code, out = self.call("find-window", window_class, timeout_ms,
                                  timeout=DEFAULT_TIMEOUT + timeout_ms / 1000)
        if code != self.OK:
            return None
        hwnd, pid = out.split()
        return int(hwnd, 16), int(pid)

    def wait_for_window(self, window_class=MAIN_WINDOW_CLASS):
        """find_window for a program just started: (hwnd, Windows pid), or None."""
        return self.find_window(window_class, STARTUP_TIMEOUT_MS)

    def windows(self):
        """Every top-level window and child as a dict: hwnd, parent, pid, visible, rect, class,
        title."""
        # Seen while a help viewer opened, more so under load: the listing failed in the tool,
        # or the tool stalled. Listing windows changes nothing, so it is asked again until it
        # answers, within a bound; each failure is printed.
        answer = wait_until(self._list_windows, DEFAULT_TIMEOUT, interval=0.2)
        if answer is None:
            raise HarnessError("tvxctl windows kept failing: %s" % self.last_error)
        listed = []
        for line in answer[0].splitlines():
            fields = line.split("\t", 6)
            if len(fields) != 7:
                continue
            listed.append({
                "hwnd": int(fields[0], 16), "parent": int(fields[1], 16), "pid": int(fields[2]),
                "visible": fields[3] == "1", "rect": tuple(int(v) for v in fields[4].split(",")),
                "class": fields[5], "title": fields[6],
            })
        return listed

    def _list_windows(self):
        """(the tool's listing,), or None when it failed or stalled."""
        try:
            code, out = self.call("windows")
        except HarnessError as stalled:
            self.last_error = str(stalled)
            code, out = None, ""
        if code == self.OK:
            return (out,)
        print("tvxctl windows failed (%s): %s" % (code, self.last_error), file=sys.stderr)
        return None

    def tray_icon_count(self):
        return sum(1 for w in self.windows() if w["class"] == TRAY_ICON_CLASS and w["visible"])

    def menu_shown(self):
        return any(w["class"] == MENU_CLASS and w["visible"] for w in self.windows())

    def running(self, exe_name):
        """Windows pids of the processes whose file is exe_name (case-insensitive)."""
        return [pid for pid, exe in self.processes() if exe.lower() == exe_name.lower()]

    def foreground(self):
        code, out = self.call("foreground")
        return int(out.split()[0], 16) if code == self.OK else None

    def send(self, message, wparam=0, lparam=0):
        """SendMessage to Tapvox's window; message is a number or a registered name. Returns the
        window procedure's result, or None when the message was not answered."""
        code, out = self.call("send", message, wparam, lparam)
        return int(out, 16) if code == self.OK else None

    def send_command(self, command_id):
        code, _ = self.call("send-command", command_id)
        return code

    def post_command(self, command_id):
        """Posts the command instead: returns at once, also when it opens a modal window."""
        # Seen once under load, right after start-up: the window was found but the post
        # failed. A failed post delivers nothing, so it is made again, within a bound; each
        # failure is printed.
        def post():
            code, _ = self.call("post", WM_COMMAND, command_id)
            if code == self.FAILED:
                print("tvxctl post failed: %s" % self.last_error, file=sys.stderr)
                return None
            return (code,)
        answer = wait_until(post, DEFAULT_TIMEOUT, interval=0.2)
        return answer[0] if answer else self.FAILED

    def post_hook(self, *events, every_ms=0):
        """Posts hook events in order; each is an event number or an (event, lParam) pair. With
        every_ms, one every every_ms milliseconds, as a typist's keys come."""
        pairs = [e if isinstance(e, tuple) else (e, 0) for e in events]
        pace = ["--every", every_ms] if every_ms else []
        code, _ = self.call("post-hook", *(pace + ["%#x:%#x" % pair for pair in pairs]))
        return code

    def reg_read(self, key, value):
        """(type name, readable data, raw bytes) or None when the value is missing."""
        code, out = self.call("reg-read", key, value)
        if code == self.MISSING:
            return None
        if code != self.OK:
            raise HarnessError("reg-read %s %s failed (%d)" % (key, value, code))
        type_name, readable, raw = out.rstrip("\r\n").split("\t")
        return type_name, readable, bytes.fromhex(raw)

    def reg_write(self, key, value, kind, data):
        code, _ = self.call("reg-write", key, value, kind, data)
        if code != self.OK:
            raise HarnessError("reg-write %s %s failed (%d)" % (key, value, code))

    def reg_delete(self, key, value=None):
        args = ["reg-delete", key] + ([value] if value is not None else [])
        code, _ = self.call(*args)
        return code

    def processes(self):
        """[(Windows pid, exe name)] of every process in this prefix."""
        # Wine's process snapshot can fail while a process is being created: ask again.
        for _ in range(5):
            code, out = self.call("processes")
            if code == self.OK:
                break
            time.sleep(0.1)
        else:
            raise HarnessError("tvxctl processes failed (%d): %s" % (code, self.last_error))
        listed = []
        for line in out.splitlines():
            pid, _, exe = line.partition(" ")
            if pid.isdigit():
                listed.append((int(pid), exe))
        return listed

    def memory(self, pid):
        code, out = self.call("memory", pid)
        if code != self.OK:
            return None
        return {k: int(v) for k, v in (item.split("=") for item in out.split())}

    def play(self, wav_path, mode="memory-async", wait_ms=3000):
        code, _ = self.call("play", windows_path(wav_path), mode, wait_ms,
                            timeout=DEFAULT_TIMEOUT + wait_ms / 1000)
        return code

    def mix_format(self):
        """The default sound device's mix format, in which the overlap engine plays and the
        capture then records: ("float" or "pcm", channels, rate, bits), or None without a
        device."""
        code, out = self.call("mixformat")
        if code != self.OK:
            return None
        kind, channels, rate, bits = out.split()
        return kind, int(channels), int(rate), int(bits)


def tool_path(name, want_64bit):
    folder = os.environ.get("TAPVOX_TOOLS64" if want_64bit else "TAPVOX_TOOLS32", "")
    path = os.path.join(folder, name)
    return path if folder and os.path.exists(path) else None


def best_tool(name):
    """A build of the tool this host can run, 32-bit first (the bitness Tapvox itself has)."""
    for want_64bit in (False, True):
        path = tool_path(name, want_64bit)
        if path and host_runs(path):
            return path
    return None


class TapvoxApp:
    """Tapvox started from a private copy of the staged program folder, so a test may add
    schemes, files or replace HookProc.exe without touching the original."""

    def __init__(self, session, dist=None):
        self.session = session
        dist = dist or os.environ.get("TAPVOX_DIST", "")
        if not os.path.exists(os.path.join(dist, "Tapvox.exe")):
            raise HarnessError("no staged program folder (TAPVOX_DIST)")
        self.folder = os.path.join(session.drive_c, "Tapvox")
        shutil.copytree(dist, self.folder)
        self.exe = os.path.join(self.folder, "Tapvox.exe")
        self.process = None

    @property
    def exe_windows_path(self):
        return r"C:\Tapvox\Tapvox.exe"

    @property
    def trace_file(self):
        """Where the trace goes: "c:/tmp/log.txt" in this prefix."""
        return os.path.join(self.session.drive_c, "tmp", "log.txt")

    def make_trace_folder(self):
        os.makedirs(os.path.dirname(self.trace_file), exist_ok=True)

    def read_trace(self):
        try:
            with open(self.trace_file, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def replace_helper(self, exe_path):
        """Puts another program in place of HookProc.exe in this copy of the program folder."""
        shutil.copyfile(exe_path, os.path.join(self.folder, "HookProc.exe"))

    def start(self, *args, extra_env=None):
        """Starts an instance and returns its Popen. self.process is the instance that runs
        first: a start while it runs does not replace it, one after it ended does."""
        process = self.session.start([self.exe_windows_path] + list(args), extra_env=extra_env,
                                     cwd=self.folder)
        if self.process is None or self.process.poll() is not None:
            self.process = process
        return process

    def wait_exit(self, process=None, timeout=DEFAULT_TIMEOUT):
        process = process or self.process
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None


class TapvoxTestCase(unittest.TestCase):
    """Base for the end-to-end tests: a WineSession, tvxctl and a copy of Tapvox per test."""

    def setUp(self):
        root = os.environ.get("TAPVOX_TEST_WORK") or tempfile.gettempdir()
        os.makedirs(root, exist_ok=True)
        self.work_dir = tempfile.mkdtemp(prefix=self.id().rsplit(".", 1)[-1] + "-", dir=root)
        self.session = WineSession(self.work_dir)
        self.addCleanup(self._remove_work_dir)
        self.addCleanup(self.session.close)
        self.tvx = Tvxctl(self.session, best_tool("tvxctl.exe"))

    def _remove_work_dir(self):
        if os.environ.get("TAPVOX_KEEP_WORK") != "1":
            shutil.rmtree(self.work_dir, ignore_errors=True)

    def new_app(self):
        return TapvoxApp(self.session)

    def start_app(self, app=None, *args, extra_env=None):
        """Starts Tapvox and waits for its main window; returns (app, hwnd, Windows pid)."""
        app = app or self.new_app()
        app.start(*args, extra_env=extra_env)
        found = self.tvx.wait_for_window()
        self.assertIsNotNone(found, "Tapvox's main window did not appear")
        return app, found[0], found[1]

    def exit_app(self, app):
        """Sends the Exit command and returns the exit code (None if Tapvox did not end)."""
        self.assertEqual(self.tvx.send_command(COMMAND_EXIT), Tvxctl.OK)
        return app.wait_exit(timeout=15)

    def assert_tray_menu_opens(self, while_open=None):
        """Right-clicks the tray icon, sees the popup menu open and closes it with Escape,
        posted to the menu: a key typed through the keyboard would reach the hooks and sound,
        late enough under load to fall into the capture of the key a test sends next.
        Returns what while_open(), if given, returns when called with the menu open."""
        icons = [w for w in self.tvx.windows() if w["class"] == TRAY_ICON_CLASS and w["visible"]]
        self.assertEqual(len(icons), 1, "not one tray icon")
        left, top, right, bottom = icons[0]["rect"]
        self.session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 3)
        self.assertTrue(self.wait_until(self.tvx.menu_shown, 10), "no popup menu")
        seen = while_open() if while_open else None
        for menu in (w for w in self.tvx.windows() if w["class"] == MENU_CLASS and w["visible"]):
            self.tvx.call("post-window", menu["hwnd"], WM_KEYDOWN, VK_ESCAPE)
        self.assertTrue(self.wait_until(lambda: not self.tvx.menu_shown(), 10),
                        "menu stayed open")
        return seen

    def tray_menu_lines(self):
        """The popup menu's items, read while assert_tray_menu_opens holds it open, as tvxctl's
        menu-texts prints them, one line each: depth, kind, command id and text, separated by
        tabs."""
        def read():
            code, out = self.tvx.call("menu-texts", 10000)
            self.assertEqual(code, Tvxctl.OK, "no menu texts: " + self.tvx.last_error)
            return out.splitlines()
        return self.assert_tray_menu_opens(read)

    def open_edit_window(self, text_file=None, activation_file=None):
        """Opens tvxctl's edit window, which takes the foreground; returns its hwnd. With
        text_file, the window writes its text there after every change; with activation_file,
        it records there each time it loses the activation (see edit_window_deactivations)."""
        args = [self.tvx.path, "edit-window", "Typing test", "60000"]
        if text_file or activation_file:
            args.append(windows_path(text_file or os.path.join(self.work_dir, "edit-text.txt")))
        if activation_file:
            args.append(windows_path(activation_file))
        self.session.start(args)
        found = self.tvx.wait_for_window(EDIT_WINDOW_CLASS)
        self.assertIsNotNone(found, "the edit window did not appear")
        return found[0]

    def edit_window_deactivations(self, hwnd, activation_file):
        """How often the edit window has lost the activation, counted after a mark sent to it
        now: Wine delivers a deactivation that any call before this one caused ahead of the
        mark, so none can still be on its way."""
        code, _ = self.tvx.call("send-window", hwnd, EDIT_WINDOW_MARK, 0)
        self.assertEqual(code, Tvxctl.OK, "the edit window took no mark: " + self.tvx.last_error)
        record = read_lines(activation_file)
        self.assertEqual(record[-1:], ["mark"], "the edit window's record ends otherwise")
        return record.count("deactivated")

    def type_into(self, hwnd, text, delay_ms=40):
        """Clicks into the window, so that it has the keyboard focus, and types text there
        through the X server, as a user's keyboard would."""
        window = next(w for w in self.tvx.windows() if w["hwnd"] == hwnd)
        left, top, right, bottom = window["rect"]
        self.session.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)
        self.session.xdotool("type", "--delay", delay_ms, text)

    def wait_until(self, condition, timeout, interval=0.1):
        return wait_until(condition, timeout, interval)


def wait_until(condition, timeout, interval=0.1):
    """Polls condition() until it returns something true; returns that, or None."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def missing_prerequisites(need_app=True):
    """What is missing for the end-to-end tests, as a reason to fail with, or None."""
    if not os.environ.get("TAPVOX_WINE_TEMPLATE"):
        return "no template Wine prefix (TAPVOX_WINE_TEMPLATE)"
    if not (tool_path("tvxctl.exe", False) or tool_path("tvxctl.exe", True)):
        return "no tvxctl.exe (TAPVOX_TOOLS32/64)"
    if not best_tool("tvxctl.exe"):
        return "no tvxctl.exe this host can run"
    if need_app:
        exe = os.path.join(os.environ.get("TAPVOX_DIST", ""), "Tapvox.exe")
        if pe_machine(exe) is None:
            return "no staged Tapvox.exe (TAPVOX_DIST)"
        if not host_runs(exe):
            return ("Tapvox.exe is 32-bit and Wine cannot run 32-bit programs here: the tests "
                    "take the 64-bit build of the same sources (scripts/wine-test-build.sh)")
    return None


def main(need_app=True):
    """Runs the calling test module; fails, saying why, when something it needs is missing."""
    missing = missing_prerequisites(need_app)
    if missing:
        print("cannot run: " + missing)
        sys.exit(1)
    program = unittest.main(module="__main__", exit=False, verbosity=2)
    sys.exit(0 if program.result.wasSuccessful() else 1)
