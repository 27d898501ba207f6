// Text commands of tvxctl: what a window and an open popup menu of Tapvox show, in UTF-8, so
// that a test compares texts in any language.
#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "tests/tools/MenuProbe.h"
#include "tests/tools/ToolArgs.h"
#include "tests/tools/ToolHandle.h"
#include "tests/tools/TvxCommands.h"

namespace {

const wchar_t kPopupMenuClass[] = L"#32768";
const DWORD kPollMs = 20;
const UINT kProbeTimeoutMs = 5000;

void PrintUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return;
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    fputs(utf8.c_str(), stdout);
}

HWND WaitForVisibleMenu(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowW(kPopupMenuClass, nullptr);
        if ((window && IsWindowVisible(window)) || GetTickCount() - start >= timeoutMs) {
            return window && IsWindowVisible(window) ? window : nullptr;
        }
        Sleep(kPollMs);
    }
}

BOOL CALLBACK PrintChildText(HWND child, LPARAM) {
    wchar_t text[512] = L"";
    GetWindowTextW(child, text, ARRAYSIZE(text));
    printf("%d\t", GetDlgCtrlID(child));
    PrintUtf8(text);
    printf("\n");
    return TRUE;
}

}  // namespace

// The menu of the open popup menu window, as MenuProbe.dll writes it (MenuProbe_win.cpp).
int CmdMenuTexts(int argc, char** argv) {
    uint64_t timeoutMs = 0;
    if (argc > 1 || (argc == 1 && !ParseUnsignedArg(argv[0], MAXDWORD, &timeoutMs))) return TvxUsage;
    HWND menuWindow = WaitForVisibleMenu(static_cast<DWORD>(timeoutMs));
    if (!menuWindow) return TvxMissing;

    ScopedKernelHandle block(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                kMenuProbeBlockChars * sizeof(wchar_t),
                                                kMenuProbeBlock));
    if (!block) return TvxFailed;
    ScopedModule probe(LoadLibraryW(L"MenuProbe.dll"));
    auto hookProc = probe
        ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe.Get(), kMenuProbeExport)))
        : nullptr;
    if (!hookProc) {
        fprintf(stderr, "tvxctl: no MenuProbe.dll beside tvxctl.exe\n");
        return TvxFailed;
    }
    {
        ScopedHook hook(SetWindowsHookExW(WH_CALLWNDPROC, hookProc, probe.Get(),
                                          GetWindowThreadProcessId(menuWindow, nullptr)));
        if (!hook) return TvxFailed;
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(menuWindow, RegisterWindowMessageW(kMenuProbeMessage), 0, 0,
                                 SMTO_ABORTIFHUNG, kProbeTimeoutMs, &ignored)) {
            return TvxFailed;
        }
    }
    ScopedMapView view(MapViewOfFile(block.Get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return TvxFailed;
    auto* text = static_cast<wchar_t*>(view.Get());
    text[kMenuProbeBlockChars - 1] = L'\0';
    if (text[0] == L'\0') return TvxFailed;
    PrintUtf8(text);
    return TvxOk;
}

// The window's title on the first line, then "ID<tab>TEXT" for each child window.
int CmdWindowTexts(int argc, char** argv) {
    uint64_t handle = 0;
    if (argc != 1 || !ParseUnsignedArg(argv[0], UINTPTR_MAX, &handle)) return TvxUsage;
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    if (!IsWindow(window)) return TvxMissing;
    wchar_t title[512] = L"";
    GetWindowTextW(window, title, ARRAYSIZE(title));
    PrintUtf8(title);
    printf("\n");
    EnumChildWindows(window, PrintChildText, 0);
    return TvxOk;
}

// HWND ID TEXT: the text (UTF-8) of a dialog's control, as typing it would leave it, such as
// the file name of a file dialog. WM_SETTEXT carries its text across processes.
int CmdSetText(int argc, char** argv) {
    uint64_t handle = 0;
    uint64_t id = 0;
    if (argc != 3 || !ParseUnsignedArg(argv[0], UINTPTR_MAX, &handle) ||
        !ParseUnsignedArg(argv[1], 0xFFFF, &id)) {
        return TvxUsage;
    }
    HWND control = GetDlgItem(reinterpret_cast<HWND>(static_cast<uintptr_t>(handle)),
                              static_cast<int>(id));
    if (!control) return TvxMissing;
    const int size = MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, &text[0], size);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, kProbeTimeoutMs, &result) && result
               ? TvxOk
               : TvxFailed;
}
