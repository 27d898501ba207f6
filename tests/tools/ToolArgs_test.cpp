#include "tests/tools/ToolArgs.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct UnsignedCase {
    const char* text;
    uint64_t max;
    bool ok;
    uint64_t value;
};

TEST(ToolArgs, UnsignedNumbers) {
    const UnsignedCase cases[] = {
        {"0", 10, true, 0},
        {"40017", 0xFFFF, true, 40017},
        {"0x4161", 0xFFFFFFFF, true, 0x4161},
        {"0XfF", 0xFF, true, 255},
        {"65535", 0xFFFF, true, 65535},
        {"65536", 0xFFFF, false, 0},           // one above the limit
        {"0x10000", 0xFFFF, false, 0},
        {"18446744073709551615", UINT64_MAX, true, UINT64_MAX},
        {"18446744073709551616", UINT64_MAX, false, 0},  // would wrap around
        {"", 10, false, 0},
        {"0x", 10, false, 0},
        {"-1", 10, false, 0},
        {"+1", 10, false, 0},
        {" 1", 10, false, 0},
        {"1 ", 10, false, 0},
        {"12a", 1000, false, 0},               // hex digit in a decimal number
        {"0x1g", 1000, false, 0},
    };
    for (const UnsignedCase& c : cases) {
        uint64_t value = 12345;
        EXPECT_EQ(ParseUnsignedArg(c.text, c.max, &value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 12345u) << '"' << c.text << "\" changed on failure";
    }
}

struct SignedCase {
    const char* text;
    int64_t min;
    int64_t max;
    bool ok;
    int64_t value;
};

TEST(ToolArgs, SignedNumbers) {
    const SignedCase cases[] = {
        {"-1", -10, 10, true, -1},
        {"-0", -10, 10, true, 0},
        {"10", -10, 10, true, 10},
        {"11", -10, 10, false, 0},
        {"-11", -10, 10, false, 0},
        {"-9223372036854775808", INT64_MIN, INT64_MAX, true, INT64_MIN},
        {"-9223372036854775809", INT64_MIN, INT64_MAX, false, 0},
        {"9223372036854775807", INT64_MIN, INT64_MAX, true, INT64_MAX},
        {"-5", 0, 10, false, 0},                // negative where none is allowed
        {"3", 5, 10, false, 0},                 // below a positive minimum
        {"-0x5", -10, 10, false, 0},
        {"--1", -10, 10, false, 0},
        {"-", -10, 10, false, 0},
    };
    for (const SignedCase& c : cases) {
        int64_t value = 777;
        bool ok = ParseSignedArg(c.text, c.min, c.max, &value);
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
        if (ok && c.ok) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(ToolArgs, HexBytes) {
    uint8_t bytes[4] = {};
    uint32_t count = 99;
    ASSERT_TRUE(ParseHexBytes("00aBff10", bytes, 4, &count));
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0xAB);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0x10);

    ASSERT_TRUE(ParseHexBytes("", bytes, 4, &count));
    EXPECT_EQ(count, 0u);

    const char* bad[] = {"0", "abc", "zz", "0x00", "00 11", "0011223344"};  // last: 5 bytes
    for (const char* text : bad) {
        EXPECT_FALSE(ParseHexBytes(text, bytes, 4, &count)) << '"' << text << '"';
    }
}

}  // namespace
