#pragma once
// The stored list of programs in which keys are silent: file names separated by '|', which no
// file name can hold. Names compare as the file system compares them, ignoring the case of the
// ASCII letters; other bytes must match exactly.

#include <cstddef>
#include <string>
#include <vector>

// The stored text is read into a buffer of this size, terminating zero included; a longer value
// does not fit and reads as the empty list, as a hostile value of any other setting reads as
// its default.
constexpr size_t kQuietProgramsBufferSize = 16384;

// A name a file can have: 1 to 255 characters, none of them a control character or one of
// < > : " / \ | ? *, and not ending in a space or a dot, which the system strips.
bool IsProgramFileName(const std::string& name);

// The names in text, in their order; empty pieces are skipped. A piece that is not a file name
// marks a value written by hand or by another program: the whole list is then empty.
std::vector<std::string> ParseQuietPrograms(const char* text);

// The text to store. Names that are not file names, or that would make the text too long to
// read back, are left out.
std::string FormatQuietPrograms(const std::vector<std::string>& programs);

// The file name at the end of a full path: what follows its last '\', '/' or ':'.
std::string ProgramFileName(const char* path);

// Whether fileName is on the list.
bool IsQuietProgram(const std::vector<std::string>& programs, const std::string& fileName);
