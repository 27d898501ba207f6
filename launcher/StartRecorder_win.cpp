// Test stand-in for Tapvox.exe beside Launcher.exe: writes the folder it runs in and the
// command-line arguments it got to "started.txt" in its own folder, then ends.

#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    char ownPath[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, ownPath, ARRAYSIZE(ownPath));
    if (length == 0 || length >= ARRAYSIZE(ownPath)) return 1;
    char* lastSlash = strrchr(ownPath, '\\');
    if (lastSlash == nullptr) return 1;
    char reportPath[MAX_PATH];
    lastSlash[1] = '\0';
    const int written = snprintf(reportPath, sizeof reportPath, "%sstarted.txt", ownPath);
    if (written < 0 || static_cast<size_t>(written) >= sizeof reportPath) return 1;
    char workingFolder[MAX_PATH];
    const DWORD folderLength = GetCurrentDirectoryA(ARRAYSIZE(workingFolder), workingFolder);
    if (folderLength == 0 || folderLength >= ARRAYSIZE(workingFolder)) return 1;
    FILE* report = fopen(reportPath, "w");
    if (report == nullptr) return 1;
    fprintf(report, "%s\n[%s]\n", workingFolder, arguments);
    fclose(report);
    return 0;
}
