#pragma once
// The About box's version line. Its pattern comes from a string resource that a language module
// may replace, so it is never handed to printf: only "%d" (the next number) and "%%" are
// expanded, anything else is copied as it stands.

#include <string>

struct VersionParts {
    int major;
    int minor;
    int release;
    int build;
};

std::wstring FormatVersionLine(const std::wstring& pattern, const VersionParts& version);
