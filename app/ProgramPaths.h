#pragma once
// Paths beside a program file: its folder, and files named within that folder. A folder ends
// at the path's last '\' or ':', as the system's own paths do; a '/' is part of a name.

#include <cstddef>
#include <string>

// The length of programPath's folder, its last '\' or ':' included; 0 when it holds neither.
size_t ProgramFolderLength(const char* programPath);

// The folder itself, for building paths beside the program.
std::string ProgramFolder(const char* programPath);

// The folder of programPath followed by fileName. False, with out empty, when it does not fit
// into outSize bytes with its terminating zero; a shortened path would name another file.
bool BuildSiblingPath(const char* programPath, const char* fileName, char* out, size_t outSize);

// Writes head + tail into out when the whole text fits, else leaves out empty. False when it
// did not fit.
bool JoinWithinBuffer(char* out, size_t outSize, const char* head, const char* tail);
