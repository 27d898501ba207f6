#include "help/VersionLine.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

struct PatternAndLine {
    const wchar_t* pattern;
    const wchar_t* line;
};

void ExpectLines(const VersionParts& version, std::initializer_list<PatternAndLine> cases) {
    for (const auto& c : cases) EXPECT_EQ(FormatVersionLine(c.pattern, version), c.line);
}

TEST(VersionLine, FillsTheFourPartsInOrder) {
    ExpectLines({2, 5, 1, 0}, {
        {L"version %d.%d.%d (build %d)", L"version 2.5.1 (build 0)"},
        {L"Версия %d.%d.%d (сборка %d)", L"Версия 2.5.1 (сборка 0)"},
        {L"%d%d%d%d", L"2510"},
        {L"100%% v%d", L"100% v2"},
        {L"", L""},
    });
}

// Patterns from a language module may be anything; none of them reads beyond the four parts.
TEST(VersionLine, HostilePatternsAreCopiedNotInterpreted) {
    ExpectLines({2, 5, 1, 9}, {
        {L"%s %n %x", L"%s %n %x"},
        {L"%d.%d.%d.%d.%d.%d", L"2.5.1.9.%d.%d"},
        {L"trailing %", L"trailing %"},
        {L"%%d", L"%d"},
        {L"%5d", L"%5d"},
    });
}

}  // namespace
