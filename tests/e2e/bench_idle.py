"""Idle cost of Tapvox under Wine, with each sound engine: CPU time over a quiet stretch after
one key, and memory. Prints figures; it judges nothing (target: under 0.1 % of one core).

  bench_idle.py BUILD [SECONDS]
"""

import os
import time

import benchsession
import harness

# Past the overlap engine's letting go of its stream, 5 s after the last sound.
SETTLE_SECONDS = 8


def cpu_seconds(linux_pid):
    """utime + stime of a Linux process, in seconds."""
    with open("/proc/%d/stat" % linux_pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # After the command name: state is field 3, so utime (14) and stime (15) sit at 11 and 12.
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def thread_nanoseconds(linux_pid):
    """{thread id: (name, CPU time in nanoseconds)} from the scheduler: finer than the clock
    ticks of utime and stime, which count only in steps of 10 ms."""
    threads = {}
    for task in os.listdir("/proc/%d/task" % linux_pid):
        folder = "/proc/%d/task/%s/" % (linux_pid, task)
        try:
            with open(folder + "comm") as name, open(folder + "schedstat") as stat:
                threads[task] = (name.read().strip(), int(stat.read().split()[0]))
        except OSError:
            continue  # a thread that ended meanwhile
    return threads


def busiest_threads(before, after, count=3):
    """The count threads that used the most CPU between two thread_nanoseconds readings:
    [(name, nanoseconds)]."""
    used = [(after[t][1] - before.get(t, (None, 0))[1], after[t][0]) for t in after]
    return [(name, ns) for ns, name in sorted(used, reverse=True)[:count]]


def private_kib(linux_pid):
    """Private_Clean + Private_Dirty: memory no other process shares."""
    total = 0
    with open("/proc/%d/smaps_rollup" % linux_pid) as f:
        for line in f:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1])
    return total


def rss_kib(linux_pid):
    with open("/proc/%d/status" % linux_pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def wineserver_pid(prefix):
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % name, "rb") as f:
                if b"wineserver" not in f.read().split(b"\0")[0]:
                    continue
            with open("/proc/%s/environ" % name, "rb") as f:
                if b"WINEPREFIX=" + prefix.encode() in f.read().split(b"\0"):
                    return int(name)
        except OSError:
            continue
    return None


# A key before the quiet stretch: the overlap engine then opens its stream and must stop it.
KEY_A = (0x41 << 8) | ord("a")
ENGINES = (("PlaySoundA engine", "0"), ("overlap engine", "1"))


def measure_engine(session, tvx, app, engine, overlap, seconds):
    """Prints the idle figures of Tapvox started with the given "Overlap" value."""
    tvx.reg_write(harness.PROGRAM_KEY, "Overlap", "sz", overlap)
    process, found = benchsession.start_tapvox(app, tvx)
    tvx.post_hook(KEY_A)
    time.sleep(SETTLE_SECONDS)
    server = wineserver_pid(session.prefix)
    app_before = cpu_seconds(process.pid)
    threads_before = thread_nanoseconds(process.pid)
    server_before = cpu_seconds(server) if server else 0.0
    started = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - started
    app_used = cpu_seconds(process.pid) - app_before
    threads_after = thread_nanoseconds(process.pid)
    # A thread that ended meanwhile is left out: its time within the stretch is unknown.
    app_ns_used = sum(ns for _, ns in busiest_threads(threads_before, threads_after,
                                                      len(threads_after)))
    server_used = (cpu_seconds(server) - server_before) if server else 0.0
    memory = tvx.memory(found[1]) or {}

    print("%s:" % engine)
    print("  Tapvox idle CPU over %.1f s after one key (utime + stime): %.3f s = %.3f %% of one "
          "core (target < 0.1 %%)" % (elapsed, app_used, 100.0 * app_used / elapsed))
    print("  Tapvox idle CPU over %.1f s (scheduler, threads alive at the end): %.4f s = %.4f %% "
          "of one core"
          % (elapsed, app_ns_used / 1e9, 100.0 * app_ns_used / 1e9 / elapsed))
    print("  busiest threads: " + ", ".join(
        "%s %.4f %%" % (name, 100.0 * ns / 1e9 / elapsed)
        for name, ns in busiest_threads(threads_before, threads_after)))
    if server:
        print("  wineserver CPU meanwhile: %.3f s = %.3f %% of one core"
              % (server_used, 100.0 * server_used / elapsed))
    if memory:
        # Wine leaves PrivateUsage at 0; the working set is the Linux RSS.
        print("  Tapvox as Windows reports it: private bytes %.1f MiB, working set %.1f MiB"
              % (memory["private"] / 2**20, memory["workingset"] / 2**20))
    print("  Tapvox private memory on Linux: %.1f MiB; RSS %.1f MiB (both include Wine's own "
          "libraries and heaps)" % (private_kib(process.pid) / 1024, rss_kib(process.pid) / 1024))
    tvx.send_command(harness.COMMAND_EXIT)
    app.wait_exit(process, timeout=15)
    harness.stop_process(process)


def main(argv):
    build, seconds = benchsession.build_and_figure(argv, __doc__, 30.0)
    with benchsession.bench_session(build, "bench-idle") as session:
        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        app = harness.TapvoxApp(session)
        for engine, overlap in ENGINES:
            measure_engine(session, tvx, app, engine, overlap, seconds)
        return 0


if __name__ == "__main__":
    benchsession.run("bench-idle", main)
