#pragma once
// Tracing switched on for one test, into a trace file that starts out missing. The program never
// makes the trace file's folder, so it is made here when missing; the file, and a folder made
// here, are gone again when the test ends, and tracing is off.

#include "app/Settings_win.h"
#include "app/Trace.h"

#include <windows.h>

class ScopedTraceFile {
public:
    ScopedTraceFile()
        : folderExisted_(GetFileAttributesA(kFolder) != INVALID_FILE_ATTRIBUTES),
          folderReady_(folderExisted_ || CreateDirectoryA(kFolder, nullptr) != 0) {
        DeleteFileA(kTraceFilePath);
        SetTraceOn(1);
    }
    ~ScopedTraceFile() {
        SetTraceOn(0);
        DeleteFileA(kTraceFilePath);
        if (!folderExisted_) RemoveDirectoryA(kFolder);
    }
    ScopedTraceFile(const ScopedTraceFile&) = delete;
    ScopedTraceFile& operator=(const ScopedTraceFile&) = delete;

    // False when the folder was missing and could not be made: nothing would be traced.
    bool FolderReady() const { return folderReady_; }
    // Before the test reads the file, or does what must leave no trace.
    void StopTracing() const { SetTraceOn(0); }

private:
    static constexpr char kFolder[] = "c:\\tmp";
    const bool folderExisted_;
    const bool folderReady_;
};
