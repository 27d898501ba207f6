// HookProc.exe: the 64-bit helper. Started with Tapvox's main window on its command line, it
// announces its own window to it, answers its commands, and ends on WM_CLOSE or as soon as
// the main window is gone, so it never outlives the program it serves.

#include "hook/HelperCommandLine.h"
#include "hook/HookEvent.h"
#include "hookproc/HelperCommands.h"

#include <windows.h>

#include <cstdint>

namespace {

constexpr char kWindowClass[] = "TVX_HOOKPROC_WND";
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchIntervalMs = 500;
constexpr UINT kAnnounceTimeoutMs = 5000;

struct Helper {
    HWND mainWindow = nullptr;
    UINT helperMessage = 0;
    HelperCommands commands;
};

Helper* HelperOf(HWND window) {
    return reinterpret_cast<Helper*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK HelperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Helper* helper = HelperOf(window);
    if (helper != nullptr && message == helper->helperMessage && message != 0)
        return helper->commands.Handle(static_cast<uint32_t>(wParam), lParam);
    switch (message) {
        case WM_TIMER:
            if (wParam == kWatchTimer && helper != nullptr && !IsWindow(helper->mainWindow))
                DestroyWindow(window);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, kWatchTimer);
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    uint32_t handleValue = 0;
    if (!ParseHelperWindowArgument(arguments, &handleValue)) return 1;
    Helper helper;
    // A 32-bit handle widens by sign extension, as the system does it.
    helper.mainWindow =
        reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(handleValue)));
    helper.helperMessage = RegisterWindowMessageA(kHelperMessageName);
    if (!IsWindow(helper.mainWindow) || helper.helperMessage == 0) return 2;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HelperWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassA(&windowClass) == 0) return 3;
    const HWND window = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, instance, &helper);
    if (window == nullptr) return 3;
    if (SetTimer(window, kWatchTimer, kWatchIntervalMs, nullptr) == 0) {
        DestroyWindow(window);
        return 4;
    }

    // Tapvox waits for this at start and takes it at any later time; a main window that
    // does not answer in time is left to the watch timer.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(helper.mainWindow, helper.helperMessage, reinterpret_cast<WPARAM>(window),
                        0, SMTO_ABORTIFHUNG, kAnnounceTimeoutMs, &ignored);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
