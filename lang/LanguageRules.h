#pragma once
// Platform-neutral rules of the language choice: which names mean the program's own resources,
// where a language module lives, and when its version fits this program.

#include <cstddef>
#include <cstdint>
#include <string>

// "Language" is read into this many bytes, terminating zero included.
constexpr size_t kLanguageNameSize = 64;

// An empty name or "English" in any case selects the program's own resources.
bool IsOwnLanguageName(const char* languageName);

// "Lngs\<name>.lng", relative, so that the loader searches the program's folder first.
std::string LanguageModulePath(const char* languageName);

// A module fits when major, minor and release agree; the build may differ. Each version is the
// most and least significant halves of a fixed file version (zero without version information).
bool LanguageVersionsAgree(uint32_t moduleMs, uint32_t moduleLs, uint32_t programMs,
                           uint32_t programLs);
