#pragma once
// Lists the scheme folders inside a schemes folder, in the file system's own order.

#include "app/ProgramPaths_win.h"
#include "app/SchemeEntry.h"

#include <windows.h>

#include <string>

// Calls visit(name) for each scheme folder until it returns false. A missing or unreadable
// schemes folder lists nothing, and so does an empty one: the scheme set leaves it empty when the
// program's path is too long, and "*" alone would list the current folder instead.
// A folder whose name the ANSI code page cannot hold is left out: its ANSI form ("?" or a
// look-alike letter) would show a scheme that loads nothing, or another folder's sounds.
template <typename Visit>
void ListSchemeFolders(const std::string& schemesFolder, Visit visit) {
    if (schemesFolder.empty()) return;
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW(AnsiToWideText(schemesFolder + "*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::wstring wideName = found.cFileName;
        if (!SurvivesAnsiCodePage(wideName)) continue;
        const std::string name = WideToAnsiText(wideName);
        if (IsSchemeFolder(name.c_str(), isFolder) && !visit(name.c_str())) break;
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
}
