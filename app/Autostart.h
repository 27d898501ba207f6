#pragma once
// The start-with-the-system command: the launcher beside the program, which starts it.

#include <cstddef>

// "Launcher.exe" beside the program, quoted as our programs start each other. False, with
// out empty, when the command does not fit into outSize bytes with its terminating zero.
bool BuildAutostartCommand(const char* programPath, char* out, size_t outSize);
