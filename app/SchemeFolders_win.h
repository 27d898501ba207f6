#pragma once
// Lists the scheme folders inside a schemes folder, in the file system's own order.

#include "app/SchemeEntry.h"

#include <windows.h>

#include <string>

// Calls visit(name) for each scheme folder until it returns false. A missing or unreadable
// schemes folder lists nothing, and so does an empty one: the scheme set leaves it empty when the
// program's path is too long, and "*" alone would list the current folder instead.
template <typename Visit>
void ListSchemeFolders(const std::string& schemesFolder, Visit visit) {
    if (schemesFolder.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA((schemesFolder + "*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (IsSchemeFolder(found.cFileName, isFolder) && !visit(found.cFileName)) break;
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
}
