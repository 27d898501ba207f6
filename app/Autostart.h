#pragma once
// The start-with-the-system command: the launcher beside the program, which starts it.

#include <cstddef>

// A double quote, the program's folder, "Launcher.exe" and a closing double quote. False, with
// out empty, when the command does not fit into outSize bytes with its terminating zero.
bool BuildAutostartCommand(const char* programPath, char* out, size_t outSize);
