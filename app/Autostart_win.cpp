#include "app/Autostart_win.h"

#include "app/Autostart.h"
#include "app/ProgramPaths_win.h"
#include "app/Settings_win.h"
#include "app/WinHandles.h"

namespace {

// The Run key's entry is read back into a buffer of this size, so a longer command could
// never be recognised as ours.
constexpr DWORD kAutostartCommandSize = MAX_PATH;

ScopedRegKey OpenExistingKey(HKEY root, const char* subKey, REGSAM access) {
    ScopedRegKey key;
    if (RegOpenKeyExA(root, subKey, 0, access, key.Receive()) != ERROR_SUCCESS) key.Release();
    return key;
}

}  // namespace

bool SetAutostartFor(const char* runKey, const char* programPath, bool enable) {
    ScopedRegKey key = OpenExistingKey(HKEY_CURRENT_USER, runKey, KEY_WRITE);
    if (!key) return false;
    if (!enable) return RegDeleteValueA(key.Get(), kAutostartValueName) == ERROR_SUCCESS;
    char command[kAutostartCommandSize];
    if (!BuildAutostartCommand(programPath, command, sizeof(command))) return false;
    return WriteTextValue(key.Get(), kAutostartValueName, command) == ERROR_SUCCESS;
}

bool IsAutostartSetFor(const char* runKey, const char* programPath) {
    ScopedRegKey key = OpenExistingKey(HKEY_CURRENT_USER, runKey, KEY_QUERY_VALUE);
    if (!key) return false;
    char stored[kAutostartCommandSize];
    if (!ReadTextValue(key.Get(), kAutostartValueName, stored, sizeof(stored))) return false;
    char expected[kAutostartCommandSize];
    if (stored[0] == '\0' || !BuildAutostartCommand(programPath, expected, sizeof(expected))) {
        return false;
    }
    // The first stored character is taken to be the opening quote without looking at it.
    return lstrcmpiA(stored + 1, expected + 1) == 0;
}

bool SetAutostart(bool enable) {
    char programPath[MAX_PATH];
    return ReadProgramPath(programPath, sizeof(programPath)) &&
           SetAutostartFor(kRunKey, programPath, enable);
}

bool IsAutostartSet() {
    char programPath[MAX_PATH];
    return ReadProgramPath(programPath, sizeof(programPath)) &&
           IsAutostartSetFor(kRunKey, programPath);
}
