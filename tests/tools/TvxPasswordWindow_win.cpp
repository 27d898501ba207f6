// "tvxctl password-window": a window with a standard password edit box above an ordinary one,
// the ordinary box focused, for the tests of keys typed into password boxes. It closes itself
// after its lifetime, as the other tool windows do.
#include <windows.h>

#include <cstdio>

#include "tests/tools/LifetimeWindow_win.h"
#include "tests/tools/ToolArgs.h"
#include "tests/tools/TvxCommands.h"

namespace {

const char kPasswordWindowClass[] = "TVX_TEST_PASSWORDWND";
const DWORD kDefaultLifetimeMs = 60000;
const int kPasswordEditId = 100;
const int kPlainEditId = 101;

LRESULT CALLBACK PasswordWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            const int width = LOWORD(lParam);
            const int half = HIWORD(lParam) / 2;
            MoveWindow(GetDlgItem(window, kPasswordEditId), 0, 0, width, half, TRUE);
            MoveWindow(GetDlgItem(window, kPlainEditId), 0, half, width, half, TRUE);
            return 0;
        }
        default:
            return LifetimeWindowProc(window, message, wParam, lParam);
    }
}

HWND CreateEdit(HWND parent, int id, DWORD style) {
    return CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 0, 0, 10, 10,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int CmdPasswordWindow(int argc, char** argv) {
    if (argc > 1) return TvxUsage;
    uint64_t lifetimeMs = kDefaultLifetimeMs;
    if (argc == 1 && !ParseUnsignedArg(argv[0], MAXDWORD, &lifetimeMs)) return TvxUsage;

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PasswordWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kPasswordWindowClass;
    if (!RegisterClassA(&windowClass)) return TvxFailed;
    // Created without WS_VISIBLE, so that the edits exist before the first WM_SIZE places them.
    HWND window = CreateWindowA(kPasswordWindowClass, "Password test", WS_OVERLAPPEDWINDOW, 200,
                                200, 400, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return TvxFailed;
    HWND plain = CreateEdit(window, kPlainEditId, ES_AUTOHSCROLL);
    if (!CreateEdit(window, kPasswordEditId, ES_PASSWORD | ES_AUTOHSCROLL) || !plain) {
        return TvxFailed;
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(plain);
    StartLifetime(window, static_cast<UINT>(lifetimeMs));
    printf("ready\n");
    fflush(stdout);

    RunMessageLoop();
    return TvxOk;
}
