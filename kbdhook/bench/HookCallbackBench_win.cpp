// hook_callback_bench.exe: the time spent inside the keyboard hook's callback body per key
// event, fed synthesised low-level events, and the time of the work the hook thread does
// after the callback has returned (character lookup and post to a real window); then the
// same for the mouse hook's callback, per move and per button event. Prints p50, p99 and the
// maximum in microseconds. Usage: hook_callback_bench.exe [presses]

#include "kbdhook/KeyboardHook_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Timer {
    LARGE_INTEGER frequency;
    Timer() { QueryPerformanceFrequency(&frequency); }
    LONGLONG Now() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    double Microseconds(LONGLONG ticks) const {
        return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
    }
};

void PrintFigures(const char* label, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double fraction) {
        const size_t index = static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1));
        return samples[index];
    };
    printf("%-28s n=%-6zu p50=%8.2f us  p99=%8.2f us  max=%8.2f us\n", label, samples.size(),
           at(0.50), at(0.99), samples.back());
}

KBDLLHOOKSTRUCT Event(DWORD keyCode, bool keyUp) {
    KBDLLHOOKSTRUCT key = {};
    key.vkCode = keyCode;
    key.scanCode = MapVirtualKeyA(keyCode, MAPVK_VK_TO_VSC);
    key.flags = keyUp ? LLKHF_UP : 0;
    key.time = GetTickCount();
    return key;
}

size_t DrainPosted(UINT message) {
    size_t count = 0;
    MSG posted;
    while (PeekMessageA(&posted, nullptr, message, message, PM_REMOVE)) ++count;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    const long requested = argc > 1 ? strtol(argv[1], nullptr, 10) : 5000;
    const size_t presses = requested >= 1000 && requested <= 1000000 ? requested : 5000;

    HookTarget target;
    target.message = RegisterWindowMessageA("NEW_HOOK_SYSTEM");
    target.window = CreateWindowExA(0, "STATIC", "bench target", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    if (target.window == nullptr || target.message == 0) {
        printf("cannot create the target window\n");
        return 1;
    }

    const DWORD keys[] = {'A', 'B', 'Q', 'Z', '5', VK_SPACE, VK_RETURN, VK_LEFT, VK_F5, VK_OEM_1};
    const Timer timer;
    std::vector<double> callbackTimes;
    std::vector<double> postTimes;
    callbackTimes.reserve(presses * 3);
    postTimes.reserve(presses);
    size_t delivered = 0;
    for (size_t i = 0; i < presses; ++i) {
        const DWORD keyCode = keys[i % ARRAYSIZE(keys)];
        const KBDLLHOOKSTRUCT down = Event(keyCode, false);
        const KBDLLHOOKSTRUCT up = Event(keyCode, true);
        // A press, one auto-repeat and the key-up, each through the callback body.
        for (const KBDLLHOOKSTRUCT* key : {&down, &down, &up}) {
            const LONGLONG start = timer.Now();
            RecordKeyEvent(target, *key);
            callbackTimes.push_back(timer.Microseconds(timer.Now() - start));
        }
        const LONGLONG start = timer.Now();
        PostPendingPresses(target);
        postTimes.push_back(timer.Microseconds(timer.Now() - start));

        // Outside the timing: keep the queue short, as a pumping receiver would.
        if (i % 100 == 99) delivered += DrainPosted(target.message);
    }
    delivered += DrainPosted(target.message);

    printf("keyboard hook, %zu presses (%zu key events posted)\n", presses, delivered);
    PrintFigures("callback body, every event", callbackTimes);
    PrintFigures("after the callback, per press", postTimes);

    // The mouse hook, installed only for schemes with button words, is called for every move
    // as well: ten moves per click here, still far fewer than a real mouse sends.
    std::vector<double> moveTimes;
    std::vector<double> buttonTimes;
    moveTimes.reserve(presses * 10);
    buttonTimes.reserve(presses * 2);
    size_t clicksPosted = 0;
    MSLLHOOKSTRUCT mouse = {};
    for (size_t i = 0; i < presses; ++i) {
        for (LONG step = 0; step < 10; ++step) {
            mouse.pt.x = step;
            const LONGLONG start = timer.Now();
            RecordMouseEvent(target, WM_MOUSEMOVE, mouse);
            moveTimes.push_back(timer.Microseconds(timer.Now() - start));
        }
        for (WPARAM message : {WPARAM{WM_LBUTTONDOWN}, WPARAM{WM_LBUTTONUP}}) {
            const LONGLONG start = timer.Now();
            RecordMouseEvent(target, message, mouse);
            buttonTimes.push_back(timer.Microseconds(timer.Now() - start));
        }
        PostPendingPresses(target);
        if (i % 100 == 99) clicksPosted += DrainPosted(target.message);
    }
    clicksPosted += DrainPosted(target.message);
    printf("mouse hook, %zu clicks (%zu button events posted)\n", presses, clicksPosted);
    PrintFigures("callback body, a move", moveTimes);
    PrintFigures("callback body, a button", buttonTimes);
    DestroyWindow(target.window);
    // Each press posts its key event and its release, each click its press and release.
    return delivered == 2 * presses && clicksPosted == 2 * presses ? 0 : 1;
}
