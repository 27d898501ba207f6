#include "app/ProgramPaths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct FolderCase {
    const char* path;
    const char* folder;
};

TEST(ProgramPaths, FolderEndsAtTheLastBackslashOrColon) {
    const FolderCase cases[] = {
        {"C:\\Apps\\Tapvox.exe", "C:\\Apps\\"},
        {"C:Tapvox.exe", "C:"},
        {"Tapvox.exe", ""},
        {"\\\\server\\share\\dir\\Tapvox.exe", "\\\\server\\share\\dir\\"},
        {"C:\\Apps/sub/Tapvox.exe", "C:\\"},
        {"", ""},
    };
    for (const FolderCase& c : cases) {
        EXPECT_EQ(std::string(c.path, ProgramFolderLength(c.path)), c.folder) << c.path;
    }
}

TEST(SiblingPath, ReplacesTheFileName) {
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Apps\\Tapvox\\Launcher.exe", "C:\\Apps\\Tapvox\\Tapvox.exe"},
        {"C:\\Program Files\\T v\\Launcher.exe", "C:\\Program Files\\T v\\Tapvox.exe"},
        {"C:Launcher.exe", "C:Tapvox.exe"},
        {"Launcher.exe", "Tapvox.exe"},
        {"/tmp/x/Launcher.exe", "Tapvox.exe"},
        {"C:\\dir\\", "C:\\dir\\Tapvox.exe"},
    };
    for (const Case& c : cases) {
        char out[64];
        ASSERT_TRUE(BuildSiblingPath(c.path, "Tapvox.exe", out, sizeof out)) << c.path;
        EXPECT_STREQ(out, c.expected);
    }
}

TEST(SiblingPath, FailsCleanlyWhenTooLong) {
    char out[12];
    strcpy(out, "junk");
    EXPECT_FALSE(BuildSiblingPath("C:\\a\\L.exe", "Tapvox.exe", out, sizeof out));
    EXPECT_STREQ(out, "");
    // Exactly fits: "C:\\Tapvox.e" would be 11 characters plus the zero.
    EXPECT_TRUE(BuildSiblingPath("C:\\L", "Tapvox.e", out, sizeof out));
    EXPECT_STREQ(out, "C:\\Tapvox.e");
}

TEST(ProgramPaths, JoinFillsTheBufferExactlyOrLeavesItEmpty) {
    char out[8];
    EXPECT_TRUE(JoinWithinBuffer(out, sizeof(out), "abcd", "efg"));
    EXPECT_STREQ(out, "abcdefg");
    EXPECT_FALSE(JoinWithinBuffer(out, sizeof(out), "abcd", "efgh"));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(JoinWithinBuffer(out, 0, "", ""));
}

}  // namespace
