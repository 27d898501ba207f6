#include "app/Settings_win.h"

#include "app/SettingNumbers.h"
#include "app/WinHandles.h"

#include <cstring>

namespace {

ScopedRegKey OpenOrCreateKey(HKEY root, const char* subKey, REGSAM access) {
    ScopedRegKey key;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, 0, access, nullptr, key.Receive(), nullptr) !=
        ERROR_SUCCESS) {
        key.Release();
    }
    return key;
}

}  // namespace

bool ReadTextValue(HKEY key, const char* valueName, char* buffer, DWORD bufferSize) {
    DWORD size = bufferSize;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
        size > bufferSize) {
        buffer[0] = '\0';
        return false;
    }
    if (size == 0 || buffer[size - 1] == '\0') {
        if (size == 0) buffer[0] = '\0';
        return true;
    }
    if (size == bufferSize) {
        buffer[0] = '\0';
        return false;
    }
    buffer[size] = '\0';
    return true;
}

LONG WriteTextValue(HKEY key, const char* valueName, const char* text) {
    return RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1));
}

void ReadSettingText(HKEY root, const char* subKey, const char* valueName, char* buffer,
                     DWORD bufferSize) {
    if (bufferSize == 0) return;
    buffer[0] = '\0';
    ScopedRegKey key = OpenOrCreateKey(root, subKey, KEY_QUERY_VALUE);
    if (!key) return;
    ReadTextValue(key.Get(), valueName, buffer, bufferSize);
}

LONG WriteSettingText(HKEY root, const char* subKey, const char* valueName, const char* text) {
    ScopedRegKey key;
    const LONG opened = RegCreateKeyExA(root, subKey, 0, nullptr, 0,
                                        KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, key.Receive(),
                                        nullptr);
    if (opened != ERROR_SUCCESS) {
        key.Release();
        return opened;
    }
    return WriteTextValue(key.Get(), valueName, text);
}

LONG WriteSettingText(const char* subKey, const char* valueName, const char* text) {
    return WriteSettingText(HKEY_CURRENT_USER, subKey, valueName, text);
}

int ReadSettingInt(const char* subKey, const char* valueName, int defaultValue) {
    char text[kSettingNumberBufferSize];
    ReadSettingText(HKEY_CURRENT_USER, subKey, valueName, text, sizeof(text));
    return SettingIntFromText(text, defaultValue);
}

DWORD ReadSettingDword(HKEY key, const char* valueName, DWORD defaultValue) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        size == 0) {
        return defaultValue;
    }
    return value;
}

LONG WriteSettingDword(const char* subKey, const char* valueName, DWORD value) {
    ScopedRegKey key;
    const LONG opened = RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_SET_VALUE,
                                        nullptr, key.Receive(), nullptr);
    if (opened != ERROR_SUCCESS) {
        key.Release();
        return opened;
    }
    return RegSetValueExA(key.Get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value));
}

LONG WriteSettingInt(const char* subKey, const char* valueName, int value) {
    char text[kSettingNumberBufferSize];
    FormatSettingInt(value, text, sizeof(text));
    return WriteSettingText(subKey, valueName, text);
}

int TraceSwitch::Get() {
    if (!read_) cached_ = ReadSettingInt(subKey_, kLogFileValueName, kDefaultLogFile);
    read_ = true;
    return cached_;
}

void TraceSwitch::Set(int value) {
    read_ = true;
    cached_ = value;
    WriteSettingInt(subKey_, kLogFileValueName, value);
}

namespace {
TraceSwitch g_traceSwitch(kSettingsKey);
}

int IsTraceOn() { return g_traceSwitch.Get(); }

void SetTraceOn(int value) { g_traceSwitch.Set(value); }
