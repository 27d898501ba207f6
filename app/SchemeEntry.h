#pragma once
// The discovered schemes: each a folder directly inside the schemes folder, named by its folder
// (also its menu text) and given the menu command 30000 + its index, at most 25.

#include <array>
#include <cstddef>

constexpr size_t kMaxSchemes = 25;
constexpr unsigned kFirstSchemeCommand = 30000;

struct SchemeEntry {
    char name[256];
    unsigned commandId;
};

using SchemeList = std::array<SchemeEntry, kMaxSchemes>;

// A listed entry is a scheme when it is a folder whose name does not begin with ".".
bool IsSchemeFolder(const char* name, bool isFolder);

// Appends a scheme folder of the listing when its name fits the entry. False when it was
// skipped or the list is full.
bool TakeSchemeFolder(SchemeList& list, int& count, const char* name);

// The command of a scheme item, or -1 when commandId names none of the list's 25 places.
int SchemeIndexOfCommand(unsigned commandId);
