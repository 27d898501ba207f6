#pragma once
// The one message about a program folder that the ANSI calls cannot open.

#include <windows.h>

// Says once, naming the folder, that the program cannot reach its own files; nothing when it can.
void WarnOfProgramFolderWithoutAnsiForm(HWND owner);
