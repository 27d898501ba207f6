#pragma once
// The folder of a program file, for paths beside it. A folder ends at the path's last '\' or
// ':', as the system's own paths do; a '/' is part of a name.

#include <cstddef>
#include <string>

// The length of programPath's folder, its last '\' or ':' included; 0 when it holds neither.
size_t ProgramFolderLength(const char* programPath);

// The folder itself, for building paths beside the program.
std::string ProgramFolder(const char* programPath);
