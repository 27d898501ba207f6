// "tvxctl edit-window": a window with a focused edit box for typing tests. With a text file given,
// the box's text is written there after every change, so a test sees what its keys typed. The
// window closes itself after its lifetime so that a failed test never leaves it behind. With an
// activation file given, the window appends "deactivated" there each time it loses the activation,
// and "mark" for each kEditWindowMark sent to it: a test that sends a mark after an action sees
// every deactivation that action caused before the mark, because Wine delivers the sent
// deactivation before a message sent later.
#include <windows.h>

#include <cstdio>

#include "tests/tools/LifetimeWindow_win.h"
#include "tests/tools/ToolArgs.h"
#include "tests/tools/TvxCommands.h"

namespace {

const char kEditWindowClass[] = "TVX_TEST_EDITWND";
const DWORD kDefaultLifetimeMs = 60000;
const int kEditId = 100;
const UINT kEditWindowMark = WM_APP;

char textFilePath[MAX_PATH] = "";
char activationFilePath[MAX_PATH] = "";

void SaveEditText(HWND edit) {
    if (textFilePath[0] == '\0') return;
    char text[4096] = "";
    int length = GetWindowTextA(edit, text, static_cast<int>(sizeof(text)));
    FILE* file = fopen(textFilePath, "wb");
    if (!file) return;
    fwrite(text, 1, static_cast<size_t>(length), file);
    fclose(file);
}

void RecordActivation(const char* line) {
    if (activationFilePath[0] == '\0') return;
    FILE* file = fopen(activationFilePath, "ab");
    if (!file) return;
    fprintf(file, "%s\n", line);
    fclose(file);
}

bool CopyPathArg(const char* arg, char (&path)[MAX_PATH]) {
    return snprintf(path, sizeof(path), "%s", arg) < static_cast<int>(sizeof(path));
}

LRESULT CALLBACK EditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            MoveWindow(GetDlgItem(window, kEditId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) {
                SaveEditText(reinterpret_cast<HWND>(lParam));
            }
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) RecordActivation("deactivated");
            return DefWindowProcA(window, message, wParam, lParam);
        case kEditWindowMark:
            RecordActivation("mark");
            return 0;
        case WM_SETFOCUS:
            SetFocus(GetDlgItem(window, kEditId));
            return 0;
        default:
            return LifetimeWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace

int CmdEditWindow(int argc, char** argv) {
    if (argc > 4) return TvxUsage;
    const char* title = argc >= 1 ? argv[0] : "Tapvox typing test";
    uint64_t lifetimeMs = kDefaultLifetimeMs;
    if (argc >= 2 && !ParseUnsignedArg(argv[1], MAXDWORD, &lifetimeMs)) return TvxUsage;
    if (argc >= 3 && !CopyPathArg(argv[2], textFilePath)) return TvxUsage;
    if (argc == 4 && !CopyPathArg(argv[3], activationFilePath)) return TvxUsage;

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = EditWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kEditWindowClass;
    if (!RegisterClassA(&windowClass)) return TvxFailed;
    HWND window = CreateWindowA(kEditWindowClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200,
                                400, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return TvxFailed;
    CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 400, 200, window,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
    SetForegroundWindow(window);
    SetFocus(GetDlgItem(window, kEditId));
    StartLifetime(window, static_cast<UINT>(lifetimeMs));
    printf("ready\n");
    fflush(stdout);

    RunMessageLoop();
    return TvxOk;
}
