// The exports of KbdHook.dll (hook/KbdHook.h).

#include "hook/KbdHook.h"

#include "hook/HelperCommandLine.h"
#include "hook/HookEvent.h"
#include "kbdhook/KeyboardHook_win.h"

#include <cstdint>

namespace {

// The exports may be called from any thread; one at a time changes the hook.
SRWLOCK g_lock = SRWLOCK_INIT;
KeyboardHookThread g_hook;
HWND g_lastWindow = nullptr;
BOOL g_lastInstall = FALSE;
// The thread changing the hook. Its messages are dispatched while it waits for the hook thread,
// and a change asked for from there would wait for itself.
volatile LONG g_changingThread = 0;

bool CalledFromInsideAChange() {
    return InterlockedCompareExchange(&g_changingThread, 0, 0) ==
           static_cast<LONG>(GetCurrentThreadId());
}

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) {
        AcquireSRWLockExclusive(&lock_);
        InterlockedExchange(&g_changingThread, static_cast<LONG>(GetCurrentThreadId()));
    }
    ~ExclusiveLock() {
        InterlockedExchange(&g_changingThread, 0);
        ReleaseSRWLockExclusive(&lock_);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

UINT HookMessage() { return RegisterWindowMessageA(kHookMessageName); }

bool InstallFor(HWND window, BOOL install) {
    const UINT message = HookMessage();
    if (window == nullptr || !IsWindow(window) || message == 0) return false;
    if (!g_hook.Start(window, message, (install & KBDHOOK_MOUSE_CLICKS) != 0)) return false;
    g_lastWindow = window;
    g_lastInstall = install;
    return true;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    // Nothing to do at unload: the hook thread holds a reference to this library, so it is
    // unloaded only once that thread has ended, or at process exit, when no thread is left.
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

BOOL IsOsX64(void) {
    SYSTEM_INFO info;
    GetNativeSystemInfo(&info);
    switch (info.wProcessorArchitecture) {
        case PROCESSOR_ARCHITECTURE_AMD64:
        case PROCESSOR_ARCHITECTURE_IA64:
        case PROCESSOR_ARCHITECTURE_ARM64:
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL SetupVistaUipiFilter(void) {
    const UINT hookMessage = HookMessage();
    const UINT helperMessage = RegisterWindowMessageA(kHelperMessageName);
    if (hookMessage == 0 || helperMessage == 0) return FALSE;
    const BOOL hookAllowed = ChangeWindowMessageFilter(hookMessage, MSGFLT_ADD);
    const BOOL helperAllowed = ChangeWindowMessageFilter(helperMessage, MSGFLT_ADD);
    return hookAllowed && helperAllowed;
}

BOOL SetHooks(HWND window, BOOL install) {
    if (CalledFromInsideAChange()) return FALSE;
    ExclusiveLock lock(g_lock);
    if (!install) {
        g_hook.Stop();
        return TRUE;
    }
    return InstallFor(window, install);
}

BOOL ResetHooks(void) {
    if (CalledFromInsideAChange()) return FALSE;
    ExclusiveLock lock(g_lock);
    return InstallFor(g_lastWindow, g_lastInstall);
}

int SetWaitForEndKey(int value) { return value; }

int RunApplication(int launchKind, int, HWND mainWindow, const char* exePath, int, int) {
    if (launchKind != KBDHOOK_RUN_HELPER || exePath == nullptr || !IsWindow(mainWindow))
        return ERROR_INVALID_PARAMETER;
    // Window handles are 32-bit values in every process, whatever its bitness.
    const auto window = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(mainWindow));
    char commandLine[MAX_PATH + 32];
    if (!BuildHelperCommandLine(exePath, window, commandLine, ARRAYSIZE(commandLine)))
        return ERROR_INVALID_PARAMETER;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // The program name is given apart as well, so a path with blanks can never be split.
    if (!CreateProcessA(exePath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        const DWORD error = GetLastError();
        return error != 0 ? static_cast<int>(error) : ERROR_GEN_FAILURE;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
