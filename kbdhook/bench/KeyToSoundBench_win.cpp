// key_to_sound_bench.exe: the whole path of a key press, as Tapvox takes it. KbdHook.dll's hook
// reports to a window of this program; each press is injected with SendInput, and when its
// "NEW_HOOK_SYSTEM" arrives the real sound path (SoundSchemesList::PlayNS on a real scheme)
// runs. Timed from just before SendInput to PlayNS's return: an upper bound of the time from
// the hook callback to the sound call. Prints p50, p99 and the maximum, in microseconds, of
// that, of its part up to the message's arrival and of PlayNS alone.
// Usage: key_to_sound_bench.exe SCHEME [presses]   (SCHEME: a folder in Schemes\ beside it)

#include "hook/HookEvent.h"
#include "hook/KbdHook.h"
#include "schemes/SoundSchemesList.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr DWORD kArrivalTimeoutMs = 2000;
constexpr size_t kMaxLost = 5;
constexpr char kWindowClass[] = "TVX_BENCH_KEYSOUND";

double Microseconds(LONGLONG ticks) {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    return static_cast<double>(ticks) * 1e6 / frequency;
}

LONGLONG Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void PrintFigures(const char* label, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double fraction) {
        return samples[static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1))];
    };
    printf("%-34s n=%-6zu p50=%9.1f us  p99=%9.1f us  max=%9.1f us\n", label, samples.size(),
           at(0.50), at(0.99), samples.back());
}

bool Inject(WORD keyCode) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = keyCode;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(keyCode, MAPVK_VK_TO_VSC));
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(ARRAYSIZE(inputs), inputs, sizeof(INPUT)) == ARRAYSIZE(inputs);
}

// Pumps this thread's messages until the hook's key event comes, or the time is up.
bool WaitForKeyEvent(UINT hookMessage, uint32_t* event) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == hookMessage &&
                HookEventKindOf(static_cast<uint32_t>(message.wParam)) == HookEventKey) {
                *event = static_cast<uint32_t>(message.wParam);
                return true;
            }
            DispatchMessageA(&message);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= kArrivalTimeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kArrivalTimeoutMs - elapsed, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: key_to_sound_bench.exe SCHEME [presses]\n");
        return 2;
    }
    const long requested = argc > 2 ? strtol(argv[2], nullptr, 10) : 2000;
    const size_t presses = requested >= 1000 && requested <= 100000 ? requested : 2000;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassA(&windowClass)) return 1;
    const HWND window = CreateWindowA(kWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                      windowClass.hInstance, nullptr);
    if (window == nullptr) return 1;

    SoundSchemesList schemes;
    schemes.ReadFromConfig(argv[1]);
    char path[kMaxSchemePathChars + 1];
    if (!schemes.SoundPathOf('A', path, sizeof(path))) {
        fprintf(stderr, "scheme %s has no sound for A\n", argv[1]);
        return 1;
    }
    printf("scheme %s, sound for A: %s\n", argv[1], path);
    fflush(stdout);

    const UINT hookMessage = RegisterWindowMessageA(kHookMessageName);
    if (!SetHooks(window, TRUE)) {
        fprintf(stderr, "SetHooks failed\n");
        return 1;
    }
    std::vector<double> arrival, soundPath, toSoundCall;
    arrival.reserve(presses);
    soundPath.reserve(presses);
    toSoundCall.reserve(presses);
    size_t lost = 0;
    for (size_t i = 0; i < presses; ++i) {
        // Letters A to Z in turn: the character lookup and the sound differ from key to key.
        const auto keyCode = static_cast<WORD>('A' + i % 26);
        const LONGLONG sent = Now();
        if (!Inject(keyCode)) {
            fprintf(stderr, "SendInput failed\n");
            break;
        }
        uint32_t event = 0;
        if (!WaitForKeyEvent(hookMessage, &event)) {
            // The hook does not hear injected keys here: more waiting tells nothing new.
            if (++lost >= kMaxLost) break;
            continue;
        }
        const LONGLONG arrived = Now();
        schemes.PlayNS(HookEventKeyCode(event), 0, 100, 0);
        const LONGLONG played = Now();
        arrival.push_back(Microseconds(arrived - sent));
        soundPath.push_back(Microseconds(played - arrived));
        toSoundCall.push_back(Microseconds(played - sent));
    }
    SetHooks(nullptr, FALSE);
    if (toSoundCall.empty()) {
        fprintf(stderr, "no key event arrived\n");
        return 1;
    }
    PrintFigures("SendInput to message arrival", arrival);
    PrintFigures("PlayNS alone", soundPath);
    PrintFigures("SendInput to PlayNS returned", toSoundCall);
    printf("presses without an event: %zu\n", lost);
    return lost == 0 ? 0 : 1;
}
