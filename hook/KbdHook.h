#pragma once
// The exports of KbdHook.dll, linked by import library (CMake target KbdHook). Plain C names,
// the default C calling convention, single-byte text.

#include <windows.h>

#ifdef KBDHOOK_BUILDING_DLL
#define KBDHOOK_API extern "C" __declspec(dllexport)
#else
#define KBDHOOK_API extern "C" __declspec(dllimport)
#endif

// Non-zero on a 64-bit system, whatever the bitness of the caller.
KBDHOOK_API BOOL IsOsX64(void);

// Lets window messages from less privileged processes (the helper, the hooks) through to this
// process's windows. Non-zero on success.
KBDHOOK_API BOOL SetupVistaUipiFilter(void);

// With this bit in SetHooks's install, a low-level mouse hook is installed beside the keyboard
// hook, and each press and release of a mouse button arrives as a mouse event. Without it no
// mouse hook is installed, so mouse input costs nothing.
#define KBDHOOK_MOUSE_CLICKS 2

// install non-zero: installs the system-wide keyboard hook; each key press then arrives at
// window as "NEW_HOOK_SYSTEM" with a key event (hook/HookEvent.h). install zero: removes the
// hooks (window is ignored). Non-zero on success: the keyboard hook is in place; a mouse hook
// the system refuses leaves clicks silent and keys sounding.
// While it waits for the hook's own thread to start or end, the calling thread's messages are
// dispatched, so its windows stay responsive. A SetHooks or ResetHooks called from inside that
// dispatch changes nothing and returns zero.
KBDHOOK_API BOOL SetHooks(HWND window, BOOL install);

// Installs the hooks again for the window and install value of the last successful
// SetHooks(window, install). Zero when there is no such window or the install fails.
KBDHOOK_API BOOL ResetHooks(void);

// Kept for the program's calls; the keyboard hook does not use the value. Returns it.
KBDHOOK_API int SetWaitForEndKey(int value);

// The one launch kind: start the helper program for mainWindow.
#define KBDHOOK_RUN_HELPER 1

// Starts the program at exePath (full path; blanks allowed) with mainWindow on its command
// line, as RunApplication(KBDHOOK_RUN_HELPER, 0, mainWindow, path, 0, 0). Zero when the
// process was started, non-zero on failure (bad arguments, path too long, start failed).
KBDHOOK_API int RunApplication(int launchKind, int reserved1, HWND mainWindow,
                               const char* exePath, int reserved2, int reserved3);
