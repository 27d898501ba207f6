#include "app/ProgramPaths_win.h"

#include <cstring>

namespace {

// The program file's path as the system holds it; empty when it cannot be read or was cut.
std::wstring ReadWideProgramPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    // A path that filled the buffer was cut short.
    if (length == 0 || length >= ARRAYSIZE(path)) return std::wstring();
    return std::wstring(path, length);
}

std::wstring ShortPathOf(const std::wstring& path) {
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return std::wstring();
    std::wstring shortPath(needed, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), &shortPath[0], needed);
    if (length == 0 || length >= needed) return std::wstring();
    shortPath.resize(length);
    return shortPath;
}

}  // namespace

std::string WideToAnsiText(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], size,
                        nullptr, nullptr);
    return narrow;
}

std::wstring AnsiToWideText(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

// The round trip catches both the default character and the best-fit letters ("ř" as "r")
// that the conversion puts in silently, in every code page, UTF-8 included.
bool SurvivesAnsiCodePage(const std::wstring& text) {
    return AnsiToWideText(WideToAnsiText(text)) == text;
}

bool WorkingAnsiPath(const std::wstring& widePath, std::string& out) {
    out.clear();
    if (widePath.empty()) return false;
    if (SurvivesAnsiCodePage(widePath)) {
        out = WideToAnsiText(widePath);
        return true;
    }
    // A volume without short names, or a short name with such letters itself, leaves nothing.
    const std::wstring shortPath = ShortPathOf(widePath);
    if (shortPath.empty() || !SurvivesAnsiCodePage(shortPath)) return false;
    out = WideToAnsiText(shortPath);
    return true;
}

bool ReadProgramPath(char* out, DWORD outSize) {
    if (outSize == 0) return false;
    out[0] = '\0';
    std::string path;
    if (!WorkingAnsiPath(ReadWideProgramPath(), path) || path.size() >= outSize) return false;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

bool ReadProcessImagePath(HANDLE process, std::string& out) {
    out.clear();
    wchar_t image[MAX_PATH];
    DWORD length = ARRAYSIZE(image);
    if (!QueryFullProcessImageNameW(process, 0, image, &length)) return false;
    return WorkingAnsiPath(std::wstring(image, length), out);
}

std::wstring ProgramFolderWithoutAnsiForm() {
    const std::wstring path = ReadWideProgramPath();
    std::string working;
    if (path.empty() || WorkingAnsiPath(path, working)) return std::wstring();
    const size_t folderEnd = path.find_last_of(L"\\:");
    return folderEnd == std::wstring::npos ? path : path.substr(0, folderEnd + 1);
}
