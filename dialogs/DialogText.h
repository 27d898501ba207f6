#pragma once
// Narrow text read from the controls of the wide dialogs. The narrow length calls give only an
// upper bound there (under a double-byte code page a character takes one byte or two), so the
// text ends where the copy ended, never at that length.

#include <windows.h>

#include <string>

// The control's text; empty when it has none.
std::string WindowTextA(HWND control);

// The text of the list box's line at index; empty when there is no such line.
std::string ListBoxTextA(HWND list, WPARAM index);
