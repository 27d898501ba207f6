#include "hook/HelperCommandLine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(HelperCommandLine, QuotesThePathAndAppendsTheWindow) {
    char out[64];
    ASSERT_TRUE(BuildHelperCommandLine("C:\\Program Files\\Tapvox\\HookProc.exe", 65700, out,
                                       sizeof out));
    EXPECT_STREQ(out, "\"C:\\Program Files\\Tapvox\\HookProc.exe\" 65700");
    ASSERT_TRUE(BuildHelperCommandLine("C:\\a b\\T.exe", 0, out, sizeof out));
    EXPECT_STREQ(out, "\"C:\\a b\\T.exe\"");
    // A handle with the top bit set stays an unsigned 32-bit number.
    ASSERT_TRUE(BuildHelperCommandLine("x.exe", 0xFFFFFFFEu, out, sizeof out));
    EXPECT_STREQ(out, "\"x.exe\" 4294967294");
}

TEST(HelperCommandLine, RefusesWhatCannotBeQuotedOrDoesNotFit) {
    char out[16];
    const char* const badPaths[] = {"", "C:\\a\"b.exe", nullptr};
    for (const char* path : badPaths) {
        strcpy(out, "junk");
        EXPECT_FALSE(BuildHelperCommandLine(path, 1, out, sizeof out));
        EXPECT_STREQ(out, "");
    }
    // "\"C:\\abcd.exe\" 12" is 16 characters: one byte short for the terminating zero.
    EXPECT_FALSE(BuildHelperCommandLine("C:\\abcd.exe", 12, out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(BuildHelperCommandLine("C:\\abcd.exe", 1, out, sizeof out));
    EXPECT_STREQ(out, "\"C:\\abcd.exe\" 1");
    EXPECT_FALSE(BuildHelperCommandLine("x", 1, out, 0));
}

TEST(HelperWindowArgument, ReadsOneDecimalNumber) {
    struct Case {
        const char* text;
        uint32_t window;
    };
    const Case good[] = {
        {"65700", 65700},   {"  65700  ", 65700},      {"\t1", 1},
        {"4294967295", 0xFFFFFFFFu}, {"000123", 123},
    };
    for (const Case& c : good) {
        uint32_t window = 0;
        EXPECT_TRUE(ParseHelperWindowArgument(c.text, &window)) << c.text;
        EXPECT_EQ(window, c.window) << c.text;
    }
}

TEST(HelperWindowArgument, RefusesAnythingElse) {
    const std::string longDigits(5000, '9');
    const char* const bad[] = {
        "",          "   ",        "0",           "-5",          "+5",      "12 34",
        "12abc",     "0x10",       "4294967296",  "99999999999999999999999",
        "\"65700\"", "65700\n",    longDigits.c_str(), nullptr,
    };
    for (const char* text : bad) {
        uint32_t window = 77;
        EXPECT_FALSE(ParseHelperWindowArgument(text, &window)) << (text ? text : "(null)");
        EXPECT_EQ(window, 77u);
    }
}

}  // namespace
