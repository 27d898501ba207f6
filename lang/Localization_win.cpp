#include "lang/Localization.h"

#include "app/ProgramPaths_win.h"
#include "app/Settings_win.h"
#include "lang/LanguageRules.h"
#include "res/resource.h"

#include <algorithm>
#include <vector>

namespace {

// Constant-initialised: the tray icon's construction asks for a string before main runs.
char g_languageName[kLanguageNameSize] = {};
HMODULE g_programModule = nullptr;
HMODULE g_resourceModule = nullptr;
bool g_unicodeMode = false;

constexpr char kOwnLanguageName[] = "English";
constexpr int kMessageTextCapacity = 256;

HMODULE LoadFittingModule(const std::string& modulePath) {
    char programPath[MAX_PATH];
    if (!ReadProgramPath(programPath, sizeof(programPath))) return nullptr;
    const FixedFileVersion module = ReadFixedFileVersion(modulePath.c_str());
    const FixedFileVersion program = ReadFixedFileVersion(programPath);
    if (!LanguageVersionsAgree(module.ms, module.ls, program.ms, program.ls)) return nullptr;
    // A language module only holds resources, so it is mapped as data and never run.
    return LoadLibraryExA(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

void EnsureInitialised() {
    if (!g_resourceModule) LocInit();
}

}  // namespace

void LocInit() {
    g_resourceModule = nullptr;
    g_programModule = GetModuleHandleA(nullptr);
    ReadSettingText(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName, g_languageName,
                    sizeof(g_languageName));
    LocLoadModule();
}

void LocLoadModule() {
    if (g_resourceModule && g_resourceModule != g_programModule) FreeLibrary(g_resourceModule);
    g_resourceModule = g_programModule;
    if (!IsOwnLanguageName(g_languageName)) {
        g_resourceModule = LoadFittingModule(LanguageModulePath(g_languageName));
    }
    if (!g_resourceModule) g_resourceModule = g_programModule;
    if (g_resourceModule == g_programModule) {
        lstrcpynA(g_languageName, kOwnLanguageName, sizeof(g_languageName));
    }
}

HMODULE LocGetResourceModule() {
    EnsureInitialised();
    return g_resourceModule;
}

const char* LocLanguageName() {
    EnsureInitialised();
    return g_languageName;
}

void LocSetUnicode(bool unicode) { g_unicodeMode = unicode; }

int LocLoadStringW(UINT id, wchar_t* buffer, int capacity) {
    // A capacity of 0 would make the loader hand out a pointer instead of copying.
    if (capacity <= 0) return 0;
    EnsureInitialised();
    buffer[0] = L'\0';
    const int copied = LoadStringW(g_resourceModule, id, buffer, capacity);
    if (copied > 0) return copied;
    return LoadStringW(g_programModule, id, buffer, capacity);
}

int LocLoadStringA(UINT id, char* buffer, int capacity) {
    if (capacity <= 0) return 0;
    EnsureInitialised();
    buffer[0] = '\0';
    const int copied = LoadStringA(g_resourceModule, id, buffer, capacity);
    if (copied > 0) return copied;
    return LoadStringA(g_programModule, id, buffer, capacity);
}

namespace {

// Copies converted text into a caller's wide buffer, always zero-terminated within capacity.
void CopyWide(const std::wstring& text, wchar_t* buffer, int capacity) {
    const size_t count = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(text.c_str(), count, buffer);
    buffer[count] = L'\0';
}

}  // namespace

int LocLoadString(UINT id, wchar_t* buffer, int capacity) {
    if (capacity <= 0) return 0;
    if (g_unicodeMode) return LocLoadStringW(id, buffer, capacity);
    std::vector<char> narrow(static_cast<size_t>(capacity));
    const int copied = LocLoadStringA(id, narrow.data(), capacity);
    CopyWide(AnsiToWide(narrow.data()), buffer, capacity);
    return copied;
}

void LocMessageBox(HWND owner, UINT textId, UINT style) {
    if (g_unicodeMode) {
        wchar_t caption[kMessageTextCapacity];
        wchar_t text[kMessageTextCapacity];
        LocLoadStringW(IDS_TITLE, caption, ARRAYSIZE(caption));
        LocLoadStringW(textId, text, ARRAYSIZE(text));
        MessageBoxW(owner, text, caption, style);
    } else {
        char caption[kMessageTextCapacity];
        char text[kMessageTextCapacity];
        LocLoadStringA(IDS_TITLE, caption, ARRAYSIZE(caption));
        LocLoadStringA(textId, text, ARRAYSIZE(text));
        MessageBoxA(owner, text, caption, style);
    }
}

void LocMessageBoxText(HWND owner, const std::wstring& text, UINT style) {
    wchar_t caption[kMessageTextCapacity];
    LocLoadString(IDS_TITLE, caption, ARRAYSIZE(caption));
    if (g_unicodeMode) {
        MessageBoxW(owner, text.c_str(), caption, style);
    } else {
        MessageBoxA(owner, WideToAnsi(text.c_str()).c_str(), WideToAnsi(caption).c_str(), style);
    }
}

namespace {

// A module that lacks the template reports which part of the resource path is missing: a
// module without any dialog has no dialog type at all, one without resources no data.
bool IsMissingResourceError(DWORD error) {
    return error == ERROR_RESOURCE_NAME_NOT_FOUND || error == ERROR_RESOURCE_TYPE_NOT_FOUND ||
           error == ERROR_RESOURCE_DATA_NOT_FOUND;
}

INT_PTR RunDialog(HMODULE module, UINT templateId, HWND owner, DLGPROC dialogProc) {
    if (g_unicodeMode) {
        return DialogBoxParamW(module, MAKEINTRESOURCEW(templateId), owner, dialogProc, 0);
    }
    return DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), owner, dialogProc, 0);
}

}  // namespace

INT_PTR LocDialogBox(UINT templateId, HWND owner, DLGPROC dialogProc) {
    EnsureInitialised();
    const INT_PTR result = RunDialog(g_resourceModule, templateId, owner, dialogProc);
    if (result == -1 && IsMissingResourceError(GetLastError())) {
        return RunDialog(g_programModule, templateId, owner, dialogProc);
    }
    return result;
}

BOOL LocSetWindowText(HWND window, const wchar_t* text) {
    if (g_unicodeMode) return SetWindowTextW(window, text);
    return SetWindowTextA(window, WideToAnsi(text).c_str());
}

int LocGetWindowText(HWND window, wchar_t* buffer, int capacity) {
    if (capacity <= 0) return 0;
    if (g_unicodeMode) return GetWindowTextW(window, buffer, capacity);
    std::vector<char> narrow(static_cast<size_t>(capacity));
    const int read = GetWindowTextA(window, narrow.data(), capacity);
    CopyWide(AnsiToWide(narrow.data()), buffer, capacity);
    return read;
}

FixedFileVersion ReadFixedFileVersion(const char* path) {
    FixedFileVersion version;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return version;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data())) return version;
    void* block = nullptr;
    UINT blockSize = 0;
    if (!VerQueryValueA(data.data(), "\\", &block, &blockSize) ||
        blockSize < sizeof(VS_FIXEDFILEINFO)) {
        return version;
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
    if (info->dwSignature != VS_FFI_SIGNATURE) return version;
    version.ms = info->dwFileVersionMS;
    version.ls = info->dwFileVersionLS;
    return version;
}

std::wstring AnsiToWide(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size) <= 0) return std::wstring();
    wide.resize(static_cast<size_t>(size - 1));
    return wide;
}

std::string WideToAnsi(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string narrow(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], size, nullptr, nullptr) <= 0) {
        return std::string();
    }
    narrow.resize(static_cast<size_t>(size - 1));
    return narrow;
}
