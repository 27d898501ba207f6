#include "hook/QuotedCommandLine.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(QuotedCommandLine, ArgumentsFollowTheQuotedPathAfterOneBlank) {
    struct Case {
        const char* path;
        const char* arguments;
        const char* expected;  // empty: refused
    };
    const Case cases[] = {
        {"C:\\a b\\Tapvox.exe", "", "\"C:\\a b\\Tapvox.exe\""},
        {"T.exe", "-x  1", "\"T.exe\" -x  1"},
        {"C:\\a\"b.exe", "", ""},
        {"", "1", ""},
    };
    for (const Case& c : cases) {
        char out[32];
        strcpy(out, "junk");
        EXPECT_EQ(BuildQuotedCommandLine(c.path, c.arguments, out, sizeof out),
                  c.expected[0] != '\0')
            << c.path;
        EXPECT_STREQ(out, c.expected);
    }
}

}  // namespace
