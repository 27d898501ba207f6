#pragma once
// The command lines that start our programs: a quoted program path (it may hold blanks) and,
// for the helper, the main window's handle in decimal. Handles are 32 bits wide in every
// process, whatever its bitness, so one 32-bit number carries them across.

#include <cstddef>
#include <cstdint>

// Writes "\"exePath\"" and, when window is non-zero, " <window in decimal>". False, with out
// empty, for an empty path, a path holding a double quote (it cannot be quoted) or a result
// that does not fit into outSize bytes with its terminating zero.
bool BuildHelperCommandLine(const char* exePath, uint32_t window, char* out, size_t outSize);

// Reads the window handle from the helper's arguments (the program name already removed):
// one decimal number, blanks allowed around it. False for anything else, for 0 and for a
// number beyond 32 bits.
bool ParseHelperWindowArgument(const char* arguments, uint32_t* window);

