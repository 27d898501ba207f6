#include "dialogs/RunningPrograms_win.h"

#include "app/QuietPrograms.h"
#include "app/WinHandles.h"

#include <windows.h>

namespace {

BOOL CALLBACK AddProgramOfWindow(HWND window, LPARAM names) {
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0 || processId == GetCurrentProcessId()) return TRUE;
    // The limited right is enough for the image name, and is granted for most processes.
    ScopedKernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return TRUE;
    char path[MAX_PATH] = {};
    DWORD size = ARRAYSIZE(path);
    if (!QueryFullProcessImageNameA(process.Get(), 0, path, &size)) return TRUE;
    reinterpret_cast<std::vector<std::string>*>(names)->push_back(ProgramFileName(path));
    return TRUE;
}

}  // namespace

std::vector<std::string> RunningProgramNames() {
    std::vector<std::string> names;
    EnumWindows(AddProgramOfWindow, reinterpret_cast<LPARAM>(&names));
    return names;
}
