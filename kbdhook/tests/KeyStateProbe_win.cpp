// key_state_probe.exe: what a hidden window's thread of a process without the focus reads for
// the keys Tapvox polls. Every 50 ms it reads GetKeyState and GetAsyncKeyState for Shift,
// Ctrl, Alt, the left Windows key, Caps Lock, Num Lock and Scroll Lock and prints a line
// "poll VK sync=XXXX async=XXXX" (hex) whenever a GetKeyState value or an async down bit
// changes. Prints "ready" first; ends after the seconds given as its argument (default 30).

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr int kPolledKeys[] = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN,
                               VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};
SHORT g_lastState[ARRAYSIZE(kPolledKeys)];
SHORT g_lastAsyncDown[ARRAYSIZE(kPolledKeys)];

void Poll(bool printAll) {
    for (size_t i = 0; i < ARRAYSIZE(kPolledKeys); ++i) {
        const SHORT state = GetKeyState(kPolledKeys[i]);
        const SHORT async = GetAsyncKeyState(kPolledKeys[i]);
        const SHORT asyncDown = static_cast<SHORT>(async & 0x8000);
        if (printAll || state != g_lastState[i] || asyncDown != g_lastAsyncDown[i]) {
            printf("poll %02X sync=%04X async=%04X\n", kPolledKeys[i],
                   static_cast<unsigned short>(state), static_cast<unsigned short>(async));
        }
        g_lastState[i] = state;
        g_lastAsyncDown[i] = asyncDown;
    }
    fflush(stdout);
}

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kPollTimer) {
        Poll(false);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    const long seconds = argc > 1 ? strtol(argv[1], nullptr, 10) : 30;
    const DWORD limitMs = seconds > 0 && seconds < 3600 ? static_cast<DWORD>(seconds) * 1000 : 30000;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TapvoxKeyStateProbe";
    RegisterClassA(&windowClass);
    // Hidden, like Tapvox's main window: it never has the focus.
    const HWND window = CreateWindowExA(0, windowClass.lpszClassName, "probe", WS_POPUP, 0, 0, 0,
                                        0, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr || SetTimer(window, kPollTimer, 50, nullptr) == 0) return 1;
    Poll(true);
    printf("ready\n");
    fflush(stdout);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < limitMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    DestroyWindow(window);
    return 0;
}
