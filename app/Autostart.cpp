#include "app/Autostart.h"

#include "app/ProgramPaths.h"
#include "hook/QuotedCommandLine.h"

#include <vector>

namespace {

constexpr char kLauncherName[] = "Launcher.exe";

}  // namespace

bool BuildAutostartCommand(const char* programPath, char* out, size_t outSize) {
    if (outSize == 0) return false;
    out[0] = '\0';
    // The launcher's path is two quotes shorter than the command, so it fits whenever that does.
    std::vector<char> launcherPath(outSize);
    return BuildSiblingPath(programPath, kLauncherName, launcherPath.data(), outSize) &&
           BuildQuotedCommandLine(launcherPath.data(), "", out, outSize);
}
