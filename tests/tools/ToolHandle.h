// The test tools hold their handles in the program's own holders; these are the kinds only the
// tools open.
#pragma once
#include "app/WinHandles.h"

// Toolhelp snapshots and files report failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

struct HookTraits {
    using Handle = HHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { UnhookWindowsHookEx(handle); }
};

using ScopedFile = ScopedHandle<FileHandleTraits>;
using ScopedHook = ScopedHandle<HookTraits>;
