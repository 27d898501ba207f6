#pragma once
// The running program's own path, the start of every path beside it, in a form that the ANSI
// calls can open: where a folder's name holds letters the ANSI code page lacks, its short name.

#include <windows.h>

#include <string>

// True when text converts to the ANSI code page and back unchanged: "?" or a look-alike letter
// in its place would name another file, or none.
bool SurvivesAnsiCodePage(const std::wstring& text);

// Conversions through the ANSI code page, without a check that the text survives.
std::string WideToAnsiText(const std::wstring& text);
std::wstring AnsiToWideText(const std::string& text);

// The ANSI form of an existing file or folder that opens it: the path itself when it survives
// the code page, else its short (8.3) form when that does. False, with out empty, when neither.
bool WorkingAnsiPath(const std::wstring& widePath, std::string& out);

// The program file's full path in its working ANSI form. False, with out empty, when it cannot be
// read, has no working ANSI form or does not fit.
bool ReadProgramPath(char* out, DWORD outSize);

// A process's program file in the same working ANSI form, to compare with ReadProgramPath's
// paths. False, with out empty, when it cannot be read or has no such form.
bool ReadProcessImagePath(HANDLE process, std::string& out);

// The program's folder, in full, when its path has no working ANSI form; empty otherwise.
std::wstring ProgramFolderWithoutAnsiForm();
