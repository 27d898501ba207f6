#include "app/Settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

struct ParseCase {
    const char* text;
    int expected;
};

TEST(SettingNumbers, ReadLikeAtoi) {
    const ParseCase cases[] = {
        {"100", 100},       {"-1", -1},           {"+7", 7},          {"  42", 42},
        {"\t\n\v\f\r 5", 5}, {"12abc", 12},        {"abc", 0},         {"-", 0},
        {"+-3", 0},         {"- 3", 0},           {"0x1F", 0},        {"007", 7},
        {"3.9", 3},         {"42 43", 42},        {"\x05", 0},        {"-0", 0},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
    };
    for (const ParseCase& c : cases) EXPECT_EQ(ParseSettingInt(c.text), c.expected) << c.text;
}

TEST(SettingNumbers, OutOfRangeSaturates) {
    const ParseCase cases[] = {
        {"2147483648", INT_MAX},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999999999", INT_MAX},
        {"-99999999999999999999999999999", INT_MIN},
    };
    for (const ParseCase& c : cases) EXPECT_EQ(ParseSettingInt(c.text), c.expected) << c.text;
}

TEST(SettingNumbers, EmptyTextTakesTheDefaultButNonDigitsDoNot) {
    EXPECT_EQ(SettingIntFromText("", 100), 100);
    EXPECT_EQ(SettingIntFromText("abc", 100), 0);
    EXPECT_EQ(SettingIntFromText(" ", 19), 0);
    EXPECT_EQ(SettingIntFromText("-5", 19), -5);
}

TEST(SettingNumbers, FormatRoundTripsThroughParse) {
    const int values[] = {0, 1, -1, 100, INT_MAX, INT_MIN};
    for (int value : values) {
        char text[kSettingNumberBufferSize];
        ASSERT_TRUE(FormatSettingInt(value, text, sizeof(text)));
        EXPECT_EQ(ParseSettingInt(text), value) << text;
    }
    char text[kSettingNumberBufferSize];
    ASSERT_TRUE(FormatSettingInt(-1, text, sizeof(text)));
    EXPECT_STREQ(text, "-1");
}

TEST(SettingNumbers, FormatRefusesATooSmallBuffer) {
    char text[4];
    EXPECT_FALSE(FormatSettingInt(-100, text, sizeof(text)));
    EXPECT_TRUE(FormatSettingInt(-10, text, sizeof(text)));
    EXPECT_STREQ(text, "-10");
}

struct FolderCase {
    const char* path;
    const char* folder;
};

TEST(Autostart, FolderEndsAtTheLastBackslashOrColon) {
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

TEST(Autostart, CommandIsTheQuotedLauncherBesideTheProgram) {
    char command[260];
    ASSERT_TRUE(BuildAutostartCommand("C:\\Apps\\Tapvox.exe", command, sizeof(command)));
    EXPECT_STREQ(command, "\"C:\\Apps\\Launcher.exe\"");
    ASSERT_TRUE(BuildAutostartCommand("Tapvox.exe", command, sizeof(command)));
    EXPECT_STREQ(command, "\"Launcher.exe\"");
}

// The command is 2 quotes + folder + 12 characters of "Launcher.exe" + the terminating zero.
TEST(Autostart, CommandThatDoesNotFitIsRefusedWhole) {
    const std::string folder = "C:\\" + std::string(240, 'd') + "\\";
    const std::string path = folder + "Tapvox.exe";
    const size_t needed = 2 + folder.size() + 12 + 1;

    std::string exact(needed, '#');
    EXPECT_TRUE(BuildAutostartCommand(path.c_str(), &exact[0], exact.size()));
    EXPECT_EQ(std::strlen(exact.c_str()), needed - 1);

    // One byte short: nothing partial is left for a caller to store.
    std::string shortBuffer(needed - 1, '#');
    EXPECT_FALSE(BuildAutostartCommand(path.c_str(), &shortBuffer[0], shortBuffer.size()));
    EXPECT_EQ(shortBuffer[0], '\0');

    char tiny[1] = {'#'};
    EXPECT_FALSE(BuildAutostartCommand("C:\\Tapvox.exe", tiny, 0));
    EXPECT_EQ(tiny[0], '#');
}

TEST(Placement, CentredRectangleTruncatesTowardZero) {
    const PlacementRect r = CentredPlacementRect(1025, 769, 700, 500);
    EXPECT_EQ(r.left, 162);
    EXPECT_EQ(r.top, 134);
    EXPECT_EQ(r.right, 862);
    EXPECT_EQ(r.bottom, 634);
    // A preferred size wider than the screen centres at a negative edge.
    const PlacementRect wide = CentredPlacementRect(800, 600, 1001, 601);
    EXPECT_EQ(wide.left, -100);
    EXPECT_EQ(wide.top, 0);
}

TEST(Placement, ClampsKeepTheWindowReachable) {
    struct ClampCase {
        PlacementRect in;
        PlacementRect out;
    };
    const ClampCase cases[] = {
        {{0, 0, 5, 5}, {0, 0, 20, 20}},
        {{0, 0, 20, 20}, {0, 0, 20, 20}},
        {{5000, 3000, 6000, 4000}, {1004, 748, 6000, 4000}},
        {{1004, 748, 1100, 800}, {1004, 748, 1100, 800}},
        {{-50, -50, -10, -10}, {-50, -50, 20, 20}},
    };
    for (const ClampCase& c : cases) {
        PlacementValues values{1, {-1, -1}, {-1, -1}, c.in};
        ClampPlacement(values, 1024, 768);
        EXPECT_EQ(values.normal.left, c.out.left);
        EXPECT_EQ(values.normal.top, c.out.top);
        EXPECT_EQ(values.normal.right, c.out.right);
        EXPECT_EQ(values.normal.bottom, c.out.bottom);
    }
}

TEST(Placement, HiddenShowCommandBecomesShow) {
    const int cases[][2] = {{0, 5}, {1, 1}, {3, 3}, {-1, -1}};
    for (const auto& c : cases) {
        PlacementValues values{c[0], {-1, -1}, {-1, -1}, {0, 0, 100, 100}};
        ClampPlacement(values, 1024, 768);
        EXPECT_EQ(values.showCommand, c[1]) << c[0];
    }
}

}  // namespace
