#pragma once
// The registry key the settings tests write under, the helpers that write and read values
// (the application's tests read its own key with them too) and a fixture that starts and ends
// every test with the test key removed.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

constexpr char kTestRoot[] = "Software\\Quillmark\\TapvoxTest";
constexpr char kTestKey[] = "Software\\Quillmark\\TapvoxTest\\Values";
constexpr char kTestRunKey[] = "Software\\Quillmark\\TapvoxTest\\Run";
constexpr char kMissingRunKey[] = "Software\\Quillmark\\TapvoxTest\\NoRun";

inline bool KeyExists(const char* subKey) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void SetRaw(const char* subKey, const char* name, DWORD type, const void* data,
                   DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

inline void SetText(const char* subKey, const char* name, const std::string& text) {
    SetRaw(subKey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

inline void SetDword(const char* subKey, const char* name, DWORD value) {
    SetRaw(subKey, name, REG_DWORD, &value, sizeof(value));
}

// The stored type and text of a value, a REG_DWORD as its decimal number; type 0 when the
// value is missing.
inline std::pair<DWORD, std::string> StoredValue(const char* subKey, const char* name) {
    char data[512] = {};
    DWORD size = sizeof(data) - 1;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, subKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                     &size) != ERROR_SUCCESS) {
        return {0, ""};
    }
    if (type == REG_DWORD) return {type, std::to_string(*reinterpret_cast<DWORD*>(data))};
    return {type, data};
}

class RegistrySettings : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot); }
};
