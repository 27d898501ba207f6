#include "app/ProgramPaths_win.h"

bool ReadProgramPath(char* out, DWORD outSize) {
    const DWORD length = GetModuleFileNameA(nullptr, out, outSize);
    // A path that filled the buffer was cut short.
    if (length == 0 || length >= outSize) {
        if (outSize > 0) out[0] = '\0';
        return false;
    }
    return true;
}
