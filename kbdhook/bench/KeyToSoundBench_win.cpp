// key_to_sound_bench.exe: the whole path of a key press, as Tapvox takes it. KbdHook.dll's hook
// reports to a window of this program; each press is injected with SendInput, and when its
// "NEW_HOOK_SYSTEM" arrives the real sound path (SoundSchemesList::PlayNS on a real scheme)
// runs. Timed from just before SendInput to the moment PlayNS calls PlaySoundA (this program
// routes its own import of PlaySoundA through a timing wrapper): an upper bound of the time from
// the hook callback to the sound call. Prints p50, p99 and the maximum, in microseconds, of
// that, of its parts before and after the message's arrival, and of the PlaySoundA call.
// Usage: key_to_sound_bench.exe SCHEME [presses]   (SCHEME: a folder in Schemes\ beside it)

#include "hook/HookEvent.h"
#include "hook/KbdHook.h"
#include "schemes/SoundSchemesList.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

using PlaySoundFunction = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);
PlaySoundFunction g_platformPlaySound = nullptr;
LONGLONG g_playSoundCalledAt = 0;

BOOL WINAPI TimedPlaySound(LPCSTR sound, HMODULE module, DWORD flags) {
    g_playSoundCalledAt = Now();
    return g_platformPlaySound(sound, module, flags);
}

// Points this program's import of dllName!functionName at replacement; original receives what
// it pointed at. False when this program does not import it by name.
bool RouteImport(const char* dllName, const char* functionName, void* replacement,
                 void** original) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), dllName) != 0) continue;
        const DWORD namesAt =
            library->OriginalFirstThunk != 0 ? library->OriginalFirstThunk : library->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesAt);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(
                base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), functionName) != 0) continue;
            DWORD protection;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                                &protection))
                return false;
            *original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection,
                           &protection);
            return true;
        }
    }
    return false;
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

    void* platformPlaySound = nullptr;
    if (!RouteImport("winmm.dll", "PlaySoundA", reinterpret_cast<void*>(&TimedPlaySound),
                     &platformPlaySound)) {
        fprintf(stderr, "cannot time PlaySoundA: not in this program's imports\n");
        return 1;
    }
    g_platformPlaySound = reinterpret_cast<PlaySoundFunction>(platformPlaySound);

    const UINT hookMessage = RegisterWindowMessageA(kHookMessageName);
    if (!SetHooks(window, TRUE)) {
        fprintf(stderr, "SetHooks failed\n");
        return 1;
    }
    std::vector<double> arrival, soundPath, toSoundCall, platformCall;
    for (auto* samples : {&arrival, &soundPath, &toSoundCall, &platformCall})
        samples->reserve(presses);
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
        g_playSoundCalledAt = 0;
        schemes.PlayNS(HookEventKeyCode(event), 0, 100, 0);
        const LONGLONG played = Now();
        if (g_playSoundCalledAt == 0) {
            fprintf(stderr, "PlayNS made no sound call for key %u\n", keyCode);
            break;
        }
        arrival.push_back(Microseconds(arrived - sent));
        soundPath.push_back(Microseconds(g_playSoundCalledAt - arrived));
        toSoundCall.push_back(Microseconds(g_playSoundCalledAt - sent));
        platformCall.push_back(Microseconds(played - g_playSoundCalledAt));
    }
    SetHooks(nullptr, FALSE);
    if (toSoundCall.empty()) {
        fprintf(stderr, "no key event arrived\n");
        return 1;
    }
    PrintFigures("SendInput to message arrival", arrival);
    PrintFigures("message to the PlaySoundA call", soundPath);
    PrintFigures("SendInput to the PlaySoundA call", toSoundCall);
    PrintFigures("PlaySoundA itself (the platform)", platformCall);
    printf("presses without an event: %zu\n", lost);
    return toSoundCall.size() == presses ? 0 : 1;
}
