#include "app/ProgramPaths.h"

#include <cstdio>

size_t ProgramFolderLength(const char* programPath) {
    size_t folderLength = 0;
    for (size_t i = 0; programPath[i] != '\0'; ++i) {
        if (programPath[i] == '\\' || programPath[i] == ':') folderLength = i + 1;
    }
    return folderLength;
}

std::string ProgramFolder(const char* programPath) {
    return std::string(programPath, ProgramFolderLength(programPath));
}

bool BuildSiblingPath(const char* programPath, const char* fileName, char* out, size_t outSize) {
    if (out == nullptr || outSize == 0) return false;
    if (programPath == nullptr || fileName == nullptr) {
        out[0] = '\0';
        return false;
    }
    return JoinWithinBuffer(out, outSize, ProgramFolder(programPath).c_str(), fileName);
}

bool JoinWithinBuffer(char* out, size_t outSize, const char* head, const char* tail) {
    if (outSize == 0) return false;
    const int written = std::snprintf(out, outSize, "%s%s", head, tail);
    if (written < 0 || static_cast<size_t>(written) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}
