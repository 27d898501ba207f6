#include "schemes/PackKeyCodes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "schemes/KeyNames.h"

namespace {

struct CodeCase {
    uint32_t packCode;
    uint8_t keyCode;
    uint8_t rank;
};

const CodeCase kCodes[] = {
    {1, 27, 0},      {14, 8, 0},      {15, 9, 0},      {28, 13, 0},     {30, 65, 0},
    {57, 32, 0},     {42, 16, 0},     {54, 16, 1},     {29, 17, 0},     {56, 18, 0},
    {3613, 17, 1},   {3640, 18, 1},   {3666, 45, 0},   {3667, 46, 0},   {3655, 36, 0},
    {3663, 35, 0},   {3657, 33, 0},   {3665, 34, 0},   {3675, 91, 0},   {3676, 92, 0},
    {3677, 93, 0},   {3639, 44, 0},   {3612, 13, 1},   {57416, 38, 0},  {57419, 37, 0},
    {57421, 39, 0},  {57424, 40, 0},  {61010, 45, 1},  {61000, 38, 1},  {69, 157, 0},
    {82, 96, 0},     {83, 110, 0},    {3653, 19, 0},   {88, 123, 0},
    // No Tapvox key: nothing, grave accent and backslash (no key name), F13 and beyond.
    {0, 0, 0},       {41, 0, 0},      {43, 0, 0},      {0x5B, 0, 0},    {0xFFFF, 0, 0},
    {0x1001E, 0, 0},  // A's code plus 65536 must not wrap onto A
};

TEST(PackKeyCodes, CodesGiveTheirTapvoxKeys) {
    for (const CodeCase& c : kCodes) {
        const PackKey key = PackKeyFromCode(c.packCode);
        EXPECT_EQ(key.keyCode, c.keyCode) << c.packCode;
        if (c.keyCode != 0) {
            EXPECT_EQ(key.rank, c.rank) << c.packCode;
        }
    }
}

struct NameCase {
    const char* name;
    uint8_t keyCode;
    uint8_t rank;
};

const NameCase kNames[] = {
    {"KeyA", 65, 0},         {"KeyZ", 90, 0},         {"Digit0", 48, 0},
    {"Space", 32, 0},        {"Escape", 27, 0},       {"ShiftLeft", 16, 0},
    {"ShiftRight", 16, 1},   {"NumpadEnter", 13, 1},  {"MetaRight", 92, 0},
    {"ArrowDown", 40, 0},    {"NumpadDecimal", 110, 0},
    {"keya", 0, 0},          {"KeyA ", 0, 0},         {"", 0, 0},
    {"MouseLeft", 0, 0},     {"Backquote", 0, 0},     {"Key", 0, 0},
};

TEST(PackKeyCodes, NamesGiveTheirTapvoxKeys) {
    for (const NameCase& c : kNames) {
        const PackKey key = PackKeyFromName(c.name);
        EXPECT_EQ(key.keyCode, c.keyCode) << c.name;
        if (c.keyCode != 0) {
            EXPECT_EQ(key.rank, c.rank) << c.name;
        }
    }
}

// Every key the table gives can be written in a scheme file, and only one code of the first rank
// gives it, so that "the left one wins" always picks one.
TEST(PackKeyCodes, EveryKeyHasANameAndOneFirstRankCode) {
    std::map<unsigned, uint32_t> firstRank;
    size_t mapped = 0;
    for (uint32_t code = 0; code <= 0x1FFFF; ++code) {
        const PackKey key = PackKeyFromCode(code);
        if (key.keyCode == 0) continue;
        ++mapped;
        EXPECT_NE(KeyNameOfCode(key.keyCode), nullptr) << code;
        if (key.rank == 0) {
            EXPECT_TRUE(firstRank.emplace(key.keyCode, code).second)
                << code << " and " << firstRank[key.keyCode];
        }
    }
    EXPECT_EQ(mapped, 112u);
}

}  // namespace
