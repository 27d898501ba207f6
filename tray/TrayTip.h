#pragma once
// The tray tip's length rule, apart from the shell call that shows it.

#include <cstddef>

// The shell's tip field holds 128 characters; at most 126 of them are shown, so that the tip
// stays within what older shells display.
constexpr size_t kTrayTipFieldSize = 128;
constexpr size_t kTrayTipMaxChars = 126;

// Copies at most 126 characters of tip, always zero-terminated.
void CopyTrayTip(char (&field)[kTrayTipFieldSize], const char* tip);
