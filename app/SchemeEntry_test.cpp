#include "app/SchemeEntry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Entries as the listing passes them on: only scheme folders reach the list.
TEST(SchemeEntries, OnlyFoldersWithoutALeadingDot) {
    SchemeList list{};
    int count = 0;
    const struct {
        const char* name;
        bool isFolder;
        bool taken;
    } listing[] = {
        {".", true, false},       {"..", true, false},     {".git", true, false},
        {"Classic", true, true},  {"readme.txt", false, false}, {"Bubbles", true, true},
        {"a.b", true, true},      {"", true, false},
    };
    for (const auto& e : listing) {
        const bool taken =
            IsSchemeFolder(e.name, e.isFolder) && TakeSchemeFolder(list, count, e.name);
        EXPECT_EQ(taken, e.taken) << e.name;
    }
    ASSERT_EQ(count, 3);
    EXPECT_STREQ(list[0].name, "Classic");
    EXPECT_STREQ(list[1].name, "Bubbles");
    EXPECT_STREQ(list[2].name, "a.b");
    EXPECT_EQ(list[2].commandId, 30002u);
}

TEST(SchemeEntries, TheFirstTwentyFiveInListingOrder) {
    SchemeList list{};
    int count = 0;
    for (int i = 0; i < 30; ++i) {
        const std::string name = "Scheme" + std::to_string(i);
        EXPECT_EQ(TakeSchemeFolder(list, count, name.c_str()), i < 25) << i;
    }
    EXPECT_EQ(count, 25);
    EXPECT_STREQ(list[24].name, "Scheme24");
    EXPECT_EQ(list[24].commandId, 30024u);
}

TEST(SchemeEntries, NamesThatDoNotFitAreSkippedNotCut) {
    SchemeList list{};
    int count = 0;
    EXPECT_TRUE(TakeSchemeFolder(list, count, std::string(255, 'n').c_str()));
    EXPECT_FALSE(TakeSchemeFolder(list, count, std::string(256, 'n').c_str()));
    EXPECT_EQ(count, 1);
}

TEST(SchemeEntries, CommandsMapToTheirIndex) {
    const struct {
        unsigned command;
        int index;
    } cases[] = {{30000, 0}, {30024, 24}, {30025, -1}, {29999, -1}, {40012, -1}, {0, -1}};
    for (const auto& c : cases) EXPECT_EQ(SchemeIndexOfCommand(c.command), c.index) << c.command;
}

}  // namespace
