#pragma once
// Scheme and sound names beyond ASCII for the tests that run under several ANSI code pages
// (ctest starts them under 1251 and 932 as well), and their form in the current code page.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

struct CodePageNames {
    UINT codePage;
    const wchar_t* scheme;
    const wchar_t* sound;
};

// The Japanese names hold characters whose second byte is a backslash (ソ, 表).
constexpr CodePageNames kCodePageNames[] = {
    {1252, L"Schéma", L"Clé.wav"},
    {1251, L"Схема Звуков", L"Щелчок.wav"},
    {932, L"ソフト音", L"表示音.wav"},
};

// The names for a code page, or nullptr when there are none.
inline const CodePageNames* NamesForCodePage(UINT codePage) {
    for (const CodePageNames& names : kCodePageNames) {
        if (names.codePage == codePage) return &names;
    }
    return nullptr;
}

// The text in the ANSI code page; empty when it has no exact form there.
inline std::string Narrow(const std::wstring& text) {
    BOOL lossy = FALSE;
    char narrow[256] = {};
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1,
                                            narrow, sizeof(narrow), nullptr, &lossy);
    return written > 0 && !lossy ? std::string(narrow) : std::string();
}

// ANSI text in its wide form.
inline std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// The names of the code page in use, wide and in their narrow forms.
struct NarrowNames {
    bool found = false;  // a failure was reported: the test is over
    const wchar_t* wideScheme = nullptr;
    const wchar_t* wideSound = nullptr;
    std::string scheme;
    std::string sound;
};

// Without names for this code page, or in another code page than ctest asked for, the test
// fails and says why. TAPVOX_EXPECT_CODE_PAGE says which code page ctest started the test in, so
// that a locale missing on the host fails the test instead of passing as the default code page.
inline NarrowNames NamesOfThisCodePage() {
    NarrowNames result;
    const UINT codePage = GetACP();
    const char* expected = std::getenv("TAPVOX_EXPECT_CODE_PAGE");
    if (expected && codePage != std::strtoul(expected, nullptr, 10)) {
        ADD_FAILURE() << "code page " << codePage << ", not " << expected
                      << ": is the locale generated?";
        return result;
    }
    const CodePageNames* names = NamesForCodePage(codePage);
    if (names == nullptr) {
        ADD_FAILURE() << "no names for code page " << codePage
                      << ": add some to kCodePageNames, or run the tests in another locale";
        return result;
    }
    result.scheme = Narrow(names->scheme);
    result.sound = Narrow(names->sound);
    if (result.scheme.empty() || result.sound.empty()) {
        ADD_FAILURE() << "the names have no exact form in code page " << codePage;
        return result;
    }
    result.found = true;
    result.wideScheme = names->scheme;
    result.wideSound = names->sound;
    return result;
}
