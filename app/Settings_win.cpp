#include "app/Settings_win.h"

#include "app/WinHandles.h"

#include <cstring>

namespace {

// The Run key's entry is read back into a buffer of this size, so a longer command could
// never be recognised as ours.
constexpr DWORD kAutostartCommandSize = MAX_PATH;

ScopedRegKey OpenOrCreateKey(HKEY root, const char* subKey, REGSAM access) {
    ScopedRegKey key;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, 0, access, nullptr, key.Receive(), nullptr) !=
        ERROR_SUCCESS) {
        key.Release();
    }
    return key;
}

ScopedRegKey OpenExistingKey(HKEY root, const char* subKey, REGSAM access) {
    ScopedRegKey key;
    if (RegOpenKeyExA(root, subKey, 0, access, key.Receive()) != ERROR_SUCCESS) key.Release();
    return key;
}

// Reads a value as text into buffer, which always ends up zero-terminated within its size.
// A value that fills the buffer without a terminating zero does not fit.
bool QueryText(HKEY key, const char* valueName, char* buffer, DWORD bufferSize) {
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

LONG SetTextValue(HKEY key, const char* valueName, const char* text) {
    return RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1));
}

}  // namespace

bool ReadProgramPath(char* out, DWORD outSize) {
    const DWORD length = GetModuleFileNameA(nullptr, out, outSize);
    // A path that filled the buffer was cut short.
    if (length == 0 || length >= outSize) {
        if (outSize > 0) out[0] = '\0';
        return false;
    }
    return true;
}

void ReadSettingText(HKEY root, const char* subKey, const char* valueName, char* buffer,
                     DWORD bufferSize) {
    if (bufferSize == 0) return;
    buffer[0] = '\0';
    ScopedRegKey key = OpenOrCreateKey(root, subKey, KEY_QUERY_VALUE);
    if (!key) return;
    QueryText(key.Get(), valueName, buffer, bufferSize);
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
    return SetTextValue(key.Get(), valueName, text);
}

LONG WriteSettingText(const char* subKey, const char* valueName, const char* text) {
    return WriteSettingText(HKEY_CURRENT_USER, subKey, valueName, text);
}

int ReadSettingInt(const char* subKey, const char* valueName, int defaultValue) {
    char text[kSettingNumberBufferSize];
    ReadSettingText(HKEY_CURRENT_USER, subKey, valueName, text, sizeof(text));
    return SettingIntFromText(text, defaultValue);
}

DWORD ReadSettingDword(HKEY key, const char* valueName) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS) {
        return 0;
    }
    return value;
}

LONG WriteSettingInt(const char* subKey, const char* valueName, int value) {
    char text[kSettingNumberBufferSize];
    FormatSettingInt(value, text, sizeof(text));
    return WriteSettingText(subKey, valueName, text);
}

bool SetAutostartFor(const char* runKey, const char* programPath, bool enable) {
    ScopedRegKey key = OpenExistingKey(HKEY_CURRENT_USER, runKey, KEY_WRITE);
    if (!key) return false;
    if (!enable) return RegDeleteValueA(key.Get(), kAutostartValueName) == ERROR_SUCCESS;
    char command[kAutostartCommandSize];
    if (!BuildAutostartCommand(programPath, command, sizeof(command))) return false;
    return SetTextValue(key.Get(), kAutostartValueName, command) == ERROR_SUCCESS;
}

bool IsAutostartSetFor(const char* runKey, const char* programPath) {
    ScopedRegKey key = OpenExistingKey(HKEY_CURRENT_USER, runKey, KEY_QUERY_VALUE);
    if (!key) return false;
    char stored[kAutostartCommandSize];
    if (!QueryText(key.Get(), kAutostartValueName, stored, sizeof(stored))) return false;
    char expected[kAutostartCommandSize];
    if (stored[0] == '\0' || !BuildAutostartCommand(programPath, expected, sizeof(expected))) {
        return false;
    }
    // The first stored character is taken to be the opening quote without looking at it.
    return lstrcmpiA(stored + 1, expected + 1) == 0;
}

bool SetAutostart(bool enable) {
    char programPath[MAX_PATH];
    return ReadProgramPath(programPath, sizeof(programPath)) &&
           SetAutostartFor(kRunKey, programPath, enable);
}

bool IsAutostartSet() {
    char programPath[MAX_PATH];
    return ReadProgramPath(programPath, sizeof(programPath)) &&
           IsAutostartSetFor(kRunKey, programPath);
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

void ReadWindowPlacement(int width, int height, const char* subKey, WINDOWPLACEMENT* placement) {
    const PlacementRect centred = CentredPlacementRect(
        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
    auto read = [subKey](const char* name, int defaultValue) {
        return ReadSettingInt(subKey, name, defaultValue);
    };
    PlacementValues values{};
    values.showCommand = read("showcmd", SW_SHOWNORMAL);
    values.maxPosition = {read("max.x", -1), read("max.y", -1)};
    values.minPosition = {read("min.x", -1), read("min.y", -1)};
    values.normal = {read("left", centred.left), read("top", centred.top),
                     read("right", centred.right), read("bottom", centred.bottom)};
    ClampPlacement(values, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));

    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = 0;
    placement->showCmd = static_cast<UINT>(values.showCommand);
    placement->ptMinPosition = {values.minPosition.x, values.minPosition.y};
    placement->ptMaxPosition = {values.maxPosition.x, values.maxPosition.y};
    placement->rcNormalPosition = {values.normal.left, values.normal.top, values.normal.right,
                                   values.normal.bottom};
}
