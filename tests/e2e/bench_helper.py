"""The 64-bit helper's cost to start-up and its end, under Wine: from CApp::Init to the hooks with
the real HookProc.exe and with a helper that never announces itself (start-up waits for it two
seconds), and how soon the helper ends after Tapvox exits or is killed. Prints figures; it judges
nothing (targets: under 1.5 s with the real helper, about 2 s with a silent one, the helper gone
within a second).

  bench_helper.py BUILD [RUNS]
"""

import os
import signal
import time

import benchsession
import harness
from test_helper import INIT_LINE, SET_HOOKS_LINE
from test_input_keys import helper_pids

WAIT_SECONDS = 60


def seconds_from_init_to_hooks(session, tvx, app, extra_env=None):
    """Starts Tapvox with its trace on and times, by watching the trace file, CApp::Init to the
    hooks being set: the helper wait lies between the two. Leaves Tapvox running."""
    app.make_trace_folder()
    tvx.reg_write(harness.PROGRAM_KEY, "LogFile", "sz", "1")
    before = (app.read_trace() or b"").count(SET_HOOKS_LINE)
    app.start(extra_env=extra_env)
    init_seen = hooks_seen = None
    deadline = time.monotonic() + WAIT_SECONDS
    while hooks_seen is None and time.monotonic() < deadline:
        trace = app.read_trace() or b""
        now = time.monotonic()
        if init_seen is None and trace.count(INIT_LINE) > before:
            init_seen = now
        if init_seen is not None and trace.count(SET_HOOKS_LINE) > before:
            hooks_seen = now
        time.sleep(0.01)
    if hooks_seen is None:
        raise harness.HarnessError("the trace never showed the hooks being set")
    return hooks_seen - init_seen


def seconds_until_helper_gone(prefix):
    started = time.monotonic()
    if not harness.wait_until(lambda: not helper_pids(prefix), WAIT_SECONDS, 0.02):
        raise harness.HarnessError("HookProc.exe did not end")
    return time.monotonic() - started


def main(argv):
    build, runs = benchsession.build_and_figure(argv, __doc__, 3)
    with benchsession.bench_session(build, "bench-helper") as session:
        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        app = harness.TapvoxApp(session)
        for run in range(1, runs + 1):
            delay = seconds_from_init_to_hooks(session, tvx, app)
            print("run %d: CApp::Init to hooks set with HookProc.exe: %.2f s" % (run, delay))
            if not harness.wait_until(lambda: helper_pids(session.prefix), WAIT_SECONDS):
                raise harness.HarnessError("HookProc.exe did not start")
            if run % 2:
                if tvx.send_command(harness.COMMAND_EXIT) != harness.Tvxctl.OK:
                    raise harness.HarnessError("Exit was not taken")
                app.wait_exit(timeout=WAIT_SECONDS)
                how = "Tapvox's exit"
            else:
                os.kill(app.process.pid, signal.SIGKILL)
                app.process.wait(timeout=WAIT_SECONDS)
                how = "Tapvox was killed"
            print("run %d: HookProc.exe gone %.2f s after %s"
                  % (run, seconds_until_helper_gone(session.prefix), how))
    with benchsession.bench_session(build, "bench-helper") as session:
        tvx = harness.Tvxctl(session, harness.best_tool("tvxctl.exe"))
        app = harness.TapvoxApp(session)
        fake = harness.tool_path("FakeHelper.exe", want_64bit=True)
        if not fake:
            raise harness.HarnessError("no 64-bit FakeHelper.exe")
        app.replace_helper(fake)
        delay = seconds_from_init_to_hooks(session, tvx, app, {"TVX_FAKE_HELPER": "silent"})
        print("CApp::Init to hooks set with a helper that never announces itself: %.2f s" % delay)
    return 0


if __name__ == "__main__":
    benchsession.run("bench-helper", main)
