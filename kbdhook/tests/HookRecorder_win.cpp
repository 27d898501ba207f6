// hook_recorder.exe: installs the keyboard hook of KbdHook.dll for a hidden window of its own
// and prints every event it receives, one line each ("key VK CH" in hex for key events, "up VK"
// for releases), until
// F12 arrives or the time limit given as its argument (seconds, default 60) runs out. Prints
// "ready" once the hook is in place. Used by the end-to-end hook check.

#include "hook/HookEvent.h"
#include "hook/KbdHook.h"
#include "tests/RecordingWindow_win.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long seconds = argc > 1 ? strtol(argv[1], nullptr, 10) : 60;
    const DWORD limitMs =
        seconds > 0 && seconds < 3600 ? static_cast<DWORD>(seconds) * 1000 : 60000;
    RecordingWindow recorder;
    if (recorder.Get() == nullptr || !SetHooks(recorder.Get(), TRUE)) {
        printf("cannot set hooks\n");
        return 1;
    }
    printf("ready\n");
    fflush(stdout);

    size_t printed = 0;
    bool stopped = false;
    recorder.PumpUntil(
        [&] {
            const auto& events = recorder.HookEvents();
            for (; printed < events.size() && !stopped; ++printed) {
                const uint32_t event = events[printed];
                if (event == MakeKeyEvent(VK_F12, 0)) {
                    stopped = true;
                } else if (HookEventKindOf(event) == HookEventKey) {
                    printf("key %02X %02X\n", HookEventKeyCode(event), HookEventCharacter(event));
                } else if (HookEventKindOf(event) == HookEventKeyRelease) {
                    printf("up %02X\n", HookEventKeyCode(event));
                } else {
                    printf("event %08X\n", event);
                }
            }
            fflush(stdout);
            return stopped;
        },
        limitMs);
    SetHooks(nullptr, FALSE);
    printf(stopped ? "done\n" : "timed out\n");
    return stopped ? 0 : 2;
}
