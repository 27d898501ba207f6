#pragma once
// A program of the system with a window open, for tests that list the running programs: Wine's
// and Windows' own notepad, started on creation and ended on destruction.

#include <windows.h>

#include <string>

class RunningNotepad {
public:
    RunningNotepad() {
        char command[] = "notepad.exe";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process_)) {
            process_ = {};
        }
    }
    ~RunningNotepad() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, INFINITE);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    RunningNotepad(const RunningNotepad&) = delete;
    RunningNotepad& operator=(const RunningNotepad&) = delete;

    // Waits until the program shows a visible top-level window; false when it never does
    // within a bound far above its start-up time.
    bool WindowShown() const {
        if (!process_.hProcess) return false;
        WaitForInputIdle(process_.hProcess, kStartBoundMs);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kStartBoundMs) {
            if (HasVisibleWindow()) return true;
            MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, 50, QS_ALLINPUT);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        }
        return false;
    }

private:
    static constexpr DWORD kStartBoundMs = 30000;

    struct Search {
        DWORD processId;
        bool found;
    };

    static BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search->processId && IsWindowVisible(window)) search->found = true;
        return search->found ? FALSE : TRUE;
    }

    bool HasVisibleWindow() const {
        Search search{process_.dwProcessId, false};
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION process_{};
};
