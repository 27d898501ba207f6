#include "app/Autostart.h"

#include "app/ProgramPaths.h"

#include <cstdio>

namespace {

constexpr char kLauncherName[] = "Launcher.exe";

}  // namespace

bool BuildAutostartCommand(const char* programPath, char* out, size_t outSize) {
    if (outSize == 0) return false;
    out[0] = '\0';
    const int folderLength = static_cast<int>(ProgramFolderLength(programPath));
    const int written =
        std::snprintf(out, outSize, "\"%.*s%s\"", folderLength, programPath, kLauncherName);
    if (written < 0 || static_cast<size_t>(written) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}
