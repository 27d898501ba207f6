#include "app/ProgramPaths.h"

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
