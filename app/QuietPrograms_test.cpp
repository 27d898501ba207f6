#include "app/QuietPrograms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

TEST(QuietPrograms, StoredTextsRead) {
    const std::string longest(255, 'a');
    const struct {
        std::string stored;
        Names expected;
    } cases[] = {
        {"", {}},
        {"game.exe", {"game.exe"}},
        {"game.exe|POWERPNT.EXE", {"game.exe", "POWERPNT.EXE"}},
        {"|game.exe||vlc.exe|", {"game.exe", "vlc.exe"}},  // empty pieces skipped
        {"my game.exe", {"my game.exe"}},
        {longest, {longest}},
        // Anything that is not a file name makes the whole value the default.
        {"game.exe|C:\\Games\\game.exe", {}},
        {"game.exe|a/b.exe", {}},
        {"game.exe|d:game.exe", {}},
        {"ga\tme.exe", {}},
        {"game.exe|what?.exe", {}},
        {"game.exe|\"game.exe\"", {}},
        {"game.exe|game.", {}},
        {"game.exe|game.exe ", {}},
        {"game.exe|..", {}},
        {longest + "a", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseQuietPrograms(c.stored.c_str()), c.expected) << c.stored;
    }
}

TEST(QuietPrograms, WrittenTextsReadBackAsWritten) {
    const Names lists[] = {{}, {"game.exe"}, {"a.exe", "b c.exe", "\xcf\xf0\xee.exe"}};
    for (const Names& list : lists) {
        EXPECT_EQ(ParseQuietPrograms(FormatQuietPrograms(list).c_str()), list);
    }
    EXPECT_EQ(FormatQuietPrograms({"a.exe", "bad|name.exe", "", "b.exe"}), "a.exe|b.exe");
}

TEST(QuietPrograms, TextTooLongToReadBackLeavesOutTheNamesThatDoNotFit) {
    // 100 names of 200 characters need 20099 bytes; the stored value holds fewer.
    Names many;
    for (char c = 0; c < 100; ++c) many.push_back(std::string(196, 'a' + c % 26) + ".exe");
    const std::string text = FormatQuietPrograms(many);
    EXPECT_LT(text.size(), kQuietProgramsBufferSize);
    const Names readBack = ParseQuietPrograms(text.c_str());
    ASSERT_EQ(readBack.size(), kQuietProgramsBufferSize / 201);
    EXPECT_EQ(readBack.back(), many[readBack.size() - 1]);
}

TEST(QuietPrograms, FileNamesMatchIgnoringAsciiCase) {
    const Names list = {"Game.exe", "POWERPNT.EXE", "\xcf\xf0\xee.exe"};
    const struct {
        const char* fileName;
        bool quiet;
    } cases[] = {
        {"game.exe", true},   {"GAME.EXE", true},  {"powerpnt.exe", true},
        {"\xcf\xf0\xee.EXE", true},
        {"game.ex", false},   {"game.exe ", false}, {"agame.exe", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsQuietProgram(list, c.fileName), c.quiet) << c.fileName;
    EXPECT_FALSE(IsQuietProgram({}, "game.exe"));
}

TEST(QuietPrograms, FileNameOfAFullPath) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\Games\\game.exe", "game.exe"}, {"\\\\?\\C:\\a b\\x.exe", "x.exe"},
        {"c:x.exe", "x.exe"},                {"/usr/bin/wine", "wine"},
        {"game.exe", "game.exe"},            {"C:\\Games\\", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgramFileName(c.path), c.name) << c.path;
}

}  // namespace
