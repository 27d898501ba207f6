// Launcher.exe: what the start-with-the-system entry names. Starts Tapvox.exe from its own
// folder and ends; exit code 0 when Tapvox was started.

#include "app/ProgramPaths.h"
#include "app/ProgramPaths_win.h"
#include "hook/QuotedCommandLine.h"

#include <windows.h>

namespace {

constexpr char kProgramName[] = "Tapvox.exe";

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char ownPath[MAX_PATH];
    if (!ReadProgramPath(ownPath, ARRAYSIZE(ownPath))) return 1;

    char programPath[MAX_PATH];
    if (!BuildSiblingPath(ownPath, kProgramName, programPath, ARRAYSIZE(programPath))) return 1;
    // Tapvox reads any text on its command line as "do not activate a running instance",
    // so it gets its quoted name alone.
    char commandLine[MAX_PATH + 8];
    if (!BuildQuotedCommandLine(programPath, "", commandLine, ARRAYSIZE(commandLine))) return 1;

    char folder[MAX_PATH];
    if (!BuildSiblingPath(ownPath, "", folder, ARRAYSIZE(folder))) return 1;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(programPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        folder[0] != '\0' ? folder : nullptr, &startup, &process))
        return 2;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
