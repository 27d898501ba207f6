#include "app/SchemeEntry.h"

#include <cstdio>
#include <cstring>

bool IsSchemeFolder(const char* name, bool isFolder) {
    return isFolder && name[0] != '\0' && name[0] != '.';
}

bool TakeSchemeFolder(SchemeList& list, int& count, const char* name) {
    if (count < 0 || static_cast<size_t>(count) >= list.size()) return false;
    SchemeEntry& entry = list[static_cast<size_t>(count)];
    if (std::strlen(name) >= sizeof(entry.name)) return false;
    std::snprintf(entry.name, sizeof(entry.name), "%s", name);
    entry.commandId = kFirstSchemeCommand + static_cast<unsigned>(count);
    ++count;
    return true;
}

int SchemeIndexOfCommand(unsigned commandId) {
    if (commandId < kFirstSchemeCommand || commandId >= kFirstSchemeCommand + kMaxSchemes) {
        return -1;
    }
    return static_cast<int>(commandId - kFirstSchemeCommand);
}
