// A stand-in for HookProc.exe in the end-to-end tests. The environment chooses its behaviour:
// TVX_FAKE_HELPER=silent (the default) starts and never announces itself; =announce announces
// itself to Tapvox's main window and accepts every helper command; =reinstall-fails announces
// itself, accepts the first install but refuses every re-install; =hang announces itself and
// never answers: the first command it is sent blocks it until its lifetime ends. Started from
// another folder, the same modes make a foreign window that claims to be the helper. With
// TVX_FAKE_HELPER_LOG set
// to a file path, each command and WM_CLOSE is appended there as a line, so a test can tell what
// Tapvox sent. It ends on WM_CLOSE, or after ten minutes so that it never outlives a failed test.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "tests/tools/LifetimeWindow_win.h"
#include "tests/tools/TapvoxNames.h"

namespace {

const char kHelperClass[] = "TVX_TEST_FAKEHELPER";
const UINT kLifetimeMs = 600000;
// The helper's commands and its answer, written out rather than taken from the program's
// headers: a wrong value in the program then fails the tests that talk to this helper.
const WPARAM kCommandSetHooks = 0x3B00;
const WPARAM kCommandResetHooks = 0x3B01;
const LRESULT kHooksAccepted = static_cast<LRESULT>(0xA7) << 16;

UINT helperMessage = 0;
char logPath[MAX_PATH] = "";
bool refuseReinstall = false;
bool hang = false;

void LogLine(const char* line) {
    if (logPath[0] == '\0') return;
    FILE* file = fopen(logPath, "a");
    if (!file) return;
    fprintf(file, "%s\n", line);
    fclose(file);
}

LRESULT OnHelperCommand(WPARAM command, LPARAM parameter) {
    char line[64];
    snprintf(line, sizeof(line), "command 0x%x %ld", static_cast<unsigned>(command),
             static_cast<long>(parameter));
    LogLine(line);
    if (hang) {
        Sleep(kLifetimeMs);
        ExitProcess(0);
    }
    if (command == kCommandResetHooks) return refuseReinstall ? 0 : kHooksAccepted;
    if (command == kCommandSetHooks) return kHooksAccepted;
    return static_cast<LRESULT>(parameter);
}

LRESULT CALLBACK HelperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == helperMessage && helperMessage != 0) return OnHelperCommand(wParam, lParam);
    if (message == WM_CLOSE) {
        LogLine("close");
        DestroyWindow(window);
        return 0;
    }
    return LifetimeWindowProc(window, message, wParam, lParam);
}

bool ModeIs(const char* wanted) {
    char mode[32] = "";
    DWORD length = GetEnvironmentVariableA("TVX_FAKE_HELPER", mode, sizeof(mode));
    return length > 0 && length < sizeof(mode) && strcmp(mode, wanted) == 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    DWORD length = GetEnvironmentVariableA("TVX_FAKE_HELPER_LOG", logPath, sizeof(logPath));
    if (length == 0 || length >= sizeof(logPath)) logPath[0] = '\0';
    helperMessage = RegisterWindowMessageA(kTapvoxHelperMessageName);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HelperWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kHelperClass;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window =
        CreateWindowA(kHelperClass, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    StartLifetime(window, kLifetimeMs);
    LogLine("started");

    refuseReinstall = ModeIs("reinstall-fails");
    hang = ModeIs("hang");
    if (refuseReinstall || hang || ModeIs("announce")) {
        HWND mainWindow = FindWindowA(kTapvoxMainWindowClass, nullptr);
        if (mainWindow) {
            SendMessageA(mainWindow, helperMessage, reinterpret_cast<WPARAM>(window), 0);
            LogLine("announced");
        }
    }

    RunMessageLoop();
    return 0;
}
