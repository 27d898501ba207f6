#pragma once
// The settings store over the registry: text and number values and the cached trace switch.
// Failures are silent: reads give the empty text or the default, writes return the error.

#include "app/Settings.h"

#include <windows.h>

// Reads a value of an open key as text into buffer, which always ends up zero-terminated
// within its size (its type is not tested). False, with buffer empty, when the value is
// missing or does not fit, including one that fills the buffer without a terminating zero.
bool ReadTextValue(HKEY key, const char* valueName, char* buffer, DWORD bufferSize);

// Writes a REG_SZ value into an open key; returns the registry error (0 = done).
LONG WriteTextValue(HKEY key, const char* valueName, const char* text);

// Fills buffer with the stored value, or the empty text on any failure, including a value
// that does not fit. A missing key is created.
void ReadSettingText(HKEY root, const char* subKey, const char* valueName, char* buffer,
                     DWORD bufferSize);

// Writes a REG_SZ value, creating the key when missing; returns the registry error (0 = done).
LONG WriteSettingText(HKEY root, const char* subKey, const char* valueName, const char* text);
LONG WriteSettingText(const char* subKey, const char* valueName, const char* text);

int ReadSettingInt(const char* subKey, const char* valueName, int defaultValue);

// The value's bytes as a 32-bit number, whatever its type: a shorter value fills the low bytes,
// the rest stay 0. defaultValue when the value is missing, empty or longer than four bytes.
DWORD ReadSettingDword(HKEY key, const char* valueName, DWORD defaultValue = 0);
// Writes a REG_DWORD value, creating the key when missing; returns the registry error (0 = done).
LONG WriteSettingDword(const char* subKey, const char* valueName, DWORD value);
LONG WriteSettingInt(const char* subKey, const char* valueName, int value);

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
