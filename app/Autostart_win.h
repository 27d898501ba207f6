#pragma once
// The start-with-the-system entry under the current user's Run key.

// Adds or removes the entry that starts Launcher.exe beside the program at logon. True when
// the registry call succeeded; false, writing nothing, when the Run key is missing or the
// command would not fit.
bool SetAutostart(bool enable);
// True when the entry names Launcher.exe in this program's folder.
bool IsAutostartSet();

// The same, for a given Run key and program path.
bool SetAutostartFor(const char* runKey, const char* programPath, bool enable);
bool IsAutostartSetFor(const char* runKey, const char* programPath);
