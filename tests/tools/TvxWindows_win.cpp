// Window commands of tvxctl: finding Tapvox's hidden window, listing windows, sending messages.
#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "tests/tools/TapvoxNames.h"
#include "tests/tools/ToolArgs.h"
#include "tests/tools/TvxCommands.h"

namespace {

const DWORD kPollMs = 20;
const UINT kSendTimeoutMs = 5000;
// How long a title is asked of a window before it is read without asking.
const UINT kTitleWaitMs = 2000;

uint64_t HandleValue(HWND window) {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window));
}

HWND WaitForWindow(const char* windowClass, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(windowClass, nullptr);
        if (window || GetTickCount() - start >= timeoutMs) return window;
        Sleep(kPollMs);
    }
}

// MSG is either a number or the name of a registered window message.
UINT MessageFromArg(const char* text) {
    uint64_t number = 0;
    if (ParseUnsignedArg(text, 0xFFFF, &number)) return static_cast<UINT>(number);
    return RegisterWindowMessageA(text);
}

struct MessageArgs {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

bool ParseMessageArgs(int argc, char** argv, MessageArgs* args) {
    if (argc < 2 || argc > 3) return false;
    args->message = MessageFromArg(argv[0]);
    uint64_t wParam = 0;
    uint64_t lParam = 0;
    if (args->message == 0 || !ParseUnsignedArg(argv[1], UINTPTR_MAX, &wParam)) return false;
    if (argc == 3 && !ParseUnsignedArg(argv[2], UINTPTR_MAX, &lParam)) return false;
    args->wParam = static_cast<WPARAM>(wParam);
    args->lParam = static_cast<LPARAM>(lParam);
    return true;
}

// HWND (as `windows` prints it) MSG WPARAM [LPARAM].
bool ParseWindowMessageArgs(int argc, char** argv, HWND* window, MessageArgs* args) {
    uint64_t handle = 0;
    if (argc < 1 || !ParseUnsignedArg(argv[0], UINTPTR_MAX, &handle)) return false;
    *window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    return ParseMessageArgs(argc - 1, argv + 1, args);
}

int SendTo(HWND window, const MessageArgs& args) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, args.message, args.wParam, args.lParam, SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &result)) {
        fprintf(stderr, "tvxctl: message not answered (error %lu)\n", GetLastError());
        return TvxFailed;
    }
    printf("0x%" PRIx64 "\n", static_cast<uint64_t>(result));
    return TvxOk;
}

// Tapvox's main window; null, after saying so, when there is none.
HWND FindTapvoxWindow() {
    HWND window = FindWindowA(kTapvoxMainWindowClass, nullptr);
    if (!window) fprintf(stderr, "tvxctl: no %s window\n", kTapvoxMainWindowClass);
    return window;
}

int SendToTapvox(const MessageArgs& args) {
    HWND window = FindTapvoxWindow();
    if (!window) return TvxMissing;
    return SendTo(window, args);
}

int PostToTapvox(const MessageArgs& args) {
    HWND window = FindTapvoxWindow();
    if (!window) return TvxMissing;
    if (PostMessageA(window, args.message, args.wParam, args.lParam)) return TvxOk;
    fprintf(stderr, "tvxctl: message not posted (error %lu)\n", GetLastError());
    return TvxFailed;
}

// A window of another process answers WM_GETTEXT only when its thread runs its queue; a help
// viewer still loading does not, and GetWindowText would wait on it. Such a window's title is
// read from what the system keeps instead.
void ReadTitle(HWND window, char* title, size_t size) {
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutA(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(title),
                            SMTO_ABORTIFHUNG | SMTO_BLOCK, kTitleWaitMs, &copied)) {
        return;
    }
    wchar_t wide[256] = L"";
    InternalGetWindowText(window, wide, static_cast<int>(sizeof(wide) / sizeof(wide[0])));
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, title, static_cast<int>(size), nullptr,
                             nullptr)) {
        title[0] = '\0';
    }
}

void PrintWindow(HWND window, HWND parent) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    RECT rect = {};
    GetWindowRect(window, &rect);
    char className[256] = "";
    GetClassNameA(window, className, static_cast<int>(sizeof(className)));
    char title[256] = "";
    ReadTitle(window, title, sizeof(title));
    printf("0x%" PRIx64 "\t0x%" PRIx64 "\t%lu\t%d\t%ld,%ld,%ld,%ld\t%s\t%s\n",
           HandleValue(window), HandleValue(parent), pid, IsWindowVisible(window) ? 1 : 0,
           rect.left, rect.top, rect.right, rect.bottom, className, title);
}

BOOL CALLBACK PrintChild(HWND window, LPARAM) {
    PrintWindow(window, GetParent(window));
    return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
    PrintWindow(window, nullptr);
    EnumChildWindows(window, PrintChild, 0);
    return TRUE;
}

}  // namespace

int CmdFindWindow(int argc, char** argv) {
    if (argc > 2) return TvxUsage;
    const char* windowClass = argc >= 1 ? argv[0] : kTapvoxMainWindowClass;
    uint64_t timeoutMs = 0;
    if (argc == 2 && !ParseUnsignedArg(argv[1], MAXDWORD, &timeoutMs)) return TvxUsage;
    HWND window = WaitForWindow(windowClass, static_cast<DWORD>(timeoutMs));
    if (!window) return TvxMissing;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    printf("0x%" PRIx64 " %lu\n", HandleValue(window), pid);
    return TvxOk;
}

// One line per window: HWND, parent, PID, visible, rectangle, class and title, tab-separated.
int CmdWindows(int argc, char**) {
    if (argc != 0) return TvxUsage;
    return EnumWindows(PrintTopLevel, 0) ? TvxOk : TvxFailed;
}

int CmdForeground(int argc, char**) {
    if (argc != 0) return TvxUsage;
    HWND window = GetForegroundWindow();
    if (!window) return TvxMissing;
    char className[256] = "";
    GetClassNameA(window, className, static_cast<int>(sizeof(className)));
    printf("0x%" PRIx64 " %s\n", HandleValue(window), className);
    return TvxOk;
}

int CmdSend(int argc, char** argv) {
    MessageArgs args;
    if (!ParseMessageArgs(argc, argv, &args)) return TvxUsage;
    return SendToTapvox(args);
}

// Any window, such as a control of one of Tapvox's dialogs: HWND as `windows` prints it.
int CmdSendWindow(int argc, char** argv) {
    HWND window = nullptr;
    MessageArgs args;
    if (!ParseWindowMessageArgs(argc, argv, &window, &args)) return TvxUsage;
    if (!IsWindow(window)) return TvxMissing;
    return SendTo(window, args);
}

// Any window, returning at once: for a window whose answer waits on a loop the message starts.
int CmdPostWindow(int argc, char** argv) {
    HWND window = nullptr;
    MessageArgs args;
    if (!ParseWindowMessageArgs(argc, argv, &window, &args)) return TvxUsage;
    if (!IsWindow(window)) return TvxMissing;
    return PostMessageA(window, args.message, args.wParam, args.lParam) ? TvxOk : TvxFailed;
}

int CmdPost(int argc, char** argv) {
    MessageArgs args;
    if (!ParseMessageArgs(argc, argv, &args)) return TvxUsage;
    return PostToTapvox(args);
}

int CmdSendCommand(int argc, char** argv) {
    uint64_t id = 0;
    if (argc != 1 || !ParseUnsignedArg(argv[0], 0xFFFF, &id)) return TvxUsage;
    MessageArgs args;
    args.message = WM_COMMAND;
    args.wParam = static_cast<WPARAM>(id);
    return SendToTapvox(args);
}

// Each argument is one event, EVENT or EVENT:LPARAM, posted in the order given; after
// "--every MS", one every MS milliseconds, as a typist's keys come.
int CmdPostHook(int argc, char** argv) {
    uint64_t everyMs = 0;
    if (argc >= 2 && strcmp(argv[0], "--every") == 0) {
        if (!ParseUnsignedArg(argv[1], MAXDWORD, &everyMs)) return TvxUsage;
        argc -= 2;
        argv += 2;
    }
    if (argc < 1) return TvxUsage;
    MessageArgs args;
    args.message = RegisterWindowMessageA(kTapvoxHookMessageName);
    for (int i = 0; i < argc; ++i) {
        char event[32];
        if (snprintf(event, sizeof(event), "%s", argv[i]) >= static_cast<int>(sizeof(event))) {
            return TvxUsage;
        }
        char* separator = strchr(event, ':');
        uint64_t lParam = 0;
        if (separator) {
            *separator = '\0';
            if (!ParseUnsignedArg(separator + 1, UINTPTR_MAX, &lParam)) return TvxUsage;
        }
        uint64_t wParam = 0;
        if (!ParseUnsignedArg(event, 0xFFFFFFFF, &wParam)) return TvxUsage;
        args.wParam = static_cast<WPARAM>(wParam);
        args.lParam = static_cast<LPARAM>(lParam);
        if (i > 0 && everyMs > 0) Sleep(static_cast<DWORD>(everyMs));
        int result = PostToTapvox(args);
        if (result != TvxOk) return result;
    }
    return TvxOk;
}
