#pragma once
// The program's open information windows, newest last: a tray click brings the newest forward.

#include <windows.h>

void PushInfoWindow(HWND window);
// Removes the newest entry; nothing when the stack is empty.
void PopInfoWindow();
// The newest entry, or null when none is open.
HWND TopInfoWindow();
