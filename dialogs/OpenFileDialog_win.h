#pragma once
// The platform's Open dialog, for one kind of file.

#include <windows.h>

#include <string>

// The full path of an existing file the user picks, or empty when they cancel. The filter's
// description is the localized string filterNameId; patterns are the files' own names
// ("*.exe", "config.json;*.zip"). extraFlags are added to the dialog's usual ones.
std::string AskForFileToOpen(HWND owner, UINT filterNameId, const char* patterns,
                             DWORD extraFlags = 0);
