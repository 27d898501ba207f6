#include "schemes/PackImport_win.h"

#include "audio/Mp3Decode_win.h"
#include "schemes/AnsiCodePage_win.h"

#include <windows.h>

namespace {

// A character the ANSI code page lacks becomes "_" rather than a look-alike letter, so the
// folder's name is one the program can open again.
std::string Utf8ToAnsiName(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int wideSize =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (wideSize <= 0) return {};
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], wideSize);
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize,
                                         nullptr, 0, "_", nullptr);
    if (size <= 0) return {};
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, &ansi[0], size, "_",
                        nullptr);
    return ansi;
}

}  // namespace

PackImportResult ImportPackHere(const std::string& packPath, const std::string& schemesFolder) {
    PackImportTools tools;
    tools.mp3 = DecodeMp3WithAcm;
    tools.isLeadByte = IsAnsiCodePageLeadByte;
    tools.nameToAnsi = Utf8ToAnsiName;
    return ImportPack(packPath, schemesFolder, tools);
}
