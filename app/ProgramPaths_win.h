#pragma once
// The running program's own path, the start of every path beside it.

#include <windows.h>

// The program file's full path. False, with out empty, when it cannot be read or does not fit.
bool ReadProgramPath(char* out, DWORD outSize);
