#include "lang/LanguageRules.h"

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool IsOwnLanguageName(const char* languageName) {
    static constexpr char kEnglish[] = "english";
    if (languageName[0] == '\0') return true;
    size_t i = 0;
    for (; languageName[i] != '\0' && kEnglish[i] != '\0'; ++i) {
        if (AsciiLower(languageName[i]) != kEnglish[i]) return false;
    }
    return languageName[i] == '\0' && kEnglish[i] == '\0';
}

std::string LanguageModulePath(const char* languageName) {
    return std::string("Lngs\\") + languageName + ".lng";
}

bool LanguageVersionsAgree(uint32_t moduleMs, uint32_t moduleLs, uint32_t programMs,
                           uint32_t programLs) {
    return moduleMs == programMs && (moduleLs >> 16) == (programLs >> 16);
}
