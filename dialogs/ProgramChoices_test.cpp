#include "dialogs/ProgramChoices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

TEST(ProgramChoices, OncePerProgramSortedWithoutTheListed) {
    struct Case {
        const char* what;
        Names running;
        Names listed;
        Names expected;
    };
    const Case cases[] = {
        {"nothing running", {}, {"game.exe"}, {}},
        {"sorted ignoring case", {"zed.exe", "Alpha.exe", "beta.EXE"}, {},
         {"Alpha.exe", "beta.EXE", "zed.exe"}},
        {"one entry per program, first spelling", {"Game.exe", "game.exe", "GAME.EXE"}, {},
         {"Game.exe"}},
        {"listed ones left out whatever their case", {"game.exe", "word.exe"}, {"GAME.exe"},
         {"word.exe"}},
        {"no file names", {"", "a|b.exe", "dir\\x.exe", "trail.", "ok.exe"}, {}, {"ok.exe"}},
        {"everything listed", {"a.exe", "b.exe"}, {"b.exe", "a.exe"}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ProgramChoices(c.running, c.listed), c.expected) << c.what;
}

}  // namespace
