#include "app/SettingNumbers.h"

#include <gtest/gtest.h>

#include <climits>

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

}  // namespace
