#pragma once
// The settings store over the registry: text and number values, the start-with-the-system
// entry, the saved placement of the information window and the cached trace switch.
// Failures are silent: reads give the empty text or the default, writes return the error.

#include "app/Settings.h"

#include <windows.h>

// The program file's full path. False when it cannot be read or does not fit.
bool ReadProgramPath(char* out, DWORD outSize);

// Fills buffer with the stored value (its type is not tested), or the empty text on any
// failure, including a value that does not fit. A missing key is created.
void ReadSettingText(HKEY root, const char* subKey, const char* valueName, char* buffer,
                     DWORD bufferSize);

// Writes a REG_SZ value, creating the key when missing; returns the registry error (0 = done).
LONG WriteSettingText(HKEY root, const char* subKey, const char* valueName, const char* text);
LONG WriteSettingText(const char* subKey, const char* valueName, const char* text);

int ReadSettingInt(const char* subKey, const char* valueName, int defaultValue);

// The value's bytes as a 32-bit number, whatever its type: a shorter value fills the low bytes,
// the rest stay 0. 0 when the value is missing or longer than four bytes.
DWORD ReadSettingDword(HKEY key, const char* valueName);
LONG WriteSettingInt(const char* subKey, const char* valueName, int value);

// Adds or removes the entry that starts Launcher.exe beside the program at logon. True when
// the registry call succeeded; false, writing nothing, when the Run key is missing or the
// command would not fit.
bool SetAutostart(bool enable);
// True when the entry names Launcher.exe in this program's folder.
bool IsAutostartSet();

// The same, for a given Run key and program path.
bool SetAutostartFor(const char* runKey, const char* programPath, bool enable);
bool IsAutostartSetFor(const char* runKey, const char* programPath);

// A "LogFile" value read once and then kept; only Set changes it afterwards.
class TraceSwitch {
public:
    explicit constexpr TraceSwitch(const char* subKey) : subKey_(subKey) {}
    int Get();
    void Set(int value);

private:
    const char* subKey_;
    // Apart from the value: any number, -1 as well, can be stored.
    bool read_ = false;
    int cached_ = 0;
};

// The process-wide trace switch of the program's settings key.
int IsTraceOn();
void SetTraceOn(int value);

// The saved placement under subKey, with a centred rectangle of the preferred size for the
// edges that are missing, kept on screen.
void ReadWindowPlacement(int width, int height, const char* subKey, WINDOWPLACEMENT* placement);
