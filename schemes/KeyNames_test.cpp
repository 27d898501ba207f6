#include "schemes/KeyNames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

struct NameCase {
    const char* name;
    unsigned code;
};

TEST(KeyNames, NamesWithSpecialCodes) {
    const NameCase cases[] = {
        {"WIN", 91}, {"WINL", 91}, {"WINR", 92}, {"NUMLOCK", 157}, {"CLEAR", 254},
        {"SUB", 109}, {"DEC", 110}, {"DIV", 111}, {"SLASH", 191}, {"BACK", 8},
        {"OPENBR", 219}, {"CLOSEBR", 221}, {"APOSTRF", 222}, {"SCROLL", 145}, {"PRTSC", 44},
    };
    for (const NameCase& c : cases) EXPECT_EQ(KeyCodeFromName(c.name), c.code) << c.name;
}

// Each range expands to one name per code; the names are built here from their pattern.
TEST(KeyNames, RangesExpandOneNamePerCode) {
    struct Range {
        const char* pattern;
        int firstIndex;
        int count;
        unsigned firstCode;
    };
    const Range ranges[] = {
        {"D%d", 0, 10, 48}, {"NUMPAD%d", 0, 10, 96}, {"F%d", 1, 24, 112}, {"%c", 'A', 26, 65},
    };
    for (const Range& range : ranges) {
        for (int i = 0; i < range.count; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, range.pattern, range.firstIndex + i);
            EXPECT_EQ(KeyCodeFromName(name), range.firstCode + unsigned(i)) << name;
        }
    }
}

TEST(KeyNames, NonNamesGiveZero) {
    const char* const nonNames[] = {
        "", "slash", "Slash", "SLASHX", " SLASH", "SLASH ", "DIGITS", "CHARS", "FUNCS",
        "F0", "F25", "F01", "D10", "NUMPAD", "NUMPAD10", "WINX", "a", "AA", "=", "[Keys]",
    };
    for (const char* name : nonNames) EXPECT_EQ(KeyCodeFromName(name), 0u) << '"' << name << '"';
    EXPECT_EQ(KeyCodeFromName(nullptr), 0u);
}

TEST(KeyGroups, CodesInSettingOrder) {
    struct GroupCase {
        const char* name;
        std::vector<unsigned> codes;
    };
    std::vector<GroupCase> cases = {{"DIGITS", {}}, {"CHARS", {}}, {"FUNCS", {}}};
    for (unsigned c = 96; c <= 105; ++c) cases[0].codes.push_back(c);
    for (unsigned c = 48; c <= 57; ++c) cases[0].codes.push_back(c);
    for (unsigned c = 65; c <= 90; ++c) cases[1].codes.push_back(c);
    cases[1].codes.push_back(192);
    cases[1].codes.push_back(220);
    for (unsigned c = 112; c <= 135; ++c) cases[2].codes.push_back(c);

    for (const GroupCase& c : cases) {
        const KeyGroup* group = FindKeyGroup(c.name);
        ASSERT_NE(group, nullptr) << c.name;
        EXPECT_EQ(std::vector<unsigned>(group->codes, group->codes + group->codeCount), c.codes)
            << c.name;
    }
}

TEST(KeyGroups, OnlyExactUpperCaseGroupNames) {
    for (const char* name : {"digits", "Chars", "FUNC", "FUNCS ", "", "A", "F1"}) {
        EXPECT_EQ(FindKeyGroup(name), nullptr) << '"' << name << '"';
    }
    EXPECT_EQ(FindKeyGroup(nullptr), nullptr);
}

TEST(EditableKeys, EveryRowNamesItsOwnKey) {
    std::set<unsigned> codes;
    for (const char* name : EditableKeyNames) {
        const unsigned code = KeyCodeFromName(name);
        EXPECT_NE(code, 0u) << name;
        EXPECT_TRUE(codes.insert(code).second) << name << " repeats code " << code;
    }
    EXPECT_EQ(codes.size(), kEditableKeyCount);
}

TEST(EditableKeys, SectionsStandInListOrder) {
    const std::pair<size_t, std::string> rows[] = {
        {0, "A"}, {25, "Z"}, {26, "NUMPAD0"}, {36, "D0"}, {46, "BACK"}, {54, "WIN"},
        {60, "PGDN"}, {61, "DIV"}, {65, "DEC"}, {66, "SEMICLN"}, {74, "SLASH"},
    };
    for (const auto& row : rows) EXPECT_EQ(EditableKeyNames[row.first], row.second);
}

}  // namespace
