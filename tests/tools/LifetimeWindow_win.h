#pragma once
// The tools' own windows close themselves when their lifetime is over, so that a failed test
// never leaves one behind, and closing one ends its tool's message loop.

#include <windows.h>

constexpr UINT_PTR kLifetimeTimer = 1;

inline void StartLifetime(HWND window, UINT lifetimeMs) {
    SetTimer(window, kLifetimeTimer, lifetimeMs, nullptr);
}

// For the messages a tool window does not handle itself.
inline LRESULT LifetimeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kLifetimeTimer) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Until the window has been destroyed.
inline void RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
