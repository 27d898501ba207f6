#pragma once
// The helper's command line: its quoted path and the main window's handle in decimal. Handles
// are 32 bits wide in every process, whatever its bitness, so one 32-bit number carries them
// across.

#include <cstddef>
#include <cstdint>

// The quoted command line of exePath (BuildQuotedCommandLine) with, when window is non-zero,
// the window in decimal as its argument.
bool BuildHelperCommandLine(const char* exePath, uint32_t window, char* out, size_t outSize);

// Reads the window handle from the helper's arguments (the program name already removed):
// one decimal number, blanks allowed around it. False for anything else, for 0 and for a
// number beyond 32 bits.
bool ParseHelperWindowArgument(const char* arguments, uint32_t* window);

