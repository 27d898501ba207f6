// The float-to-16-bit step for devices that mix in 16-bit PCM.
#include "audio/Pcm16Output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Pcm16Output, RoundsAndClamps) {
    struct Case {
        float in;
        int16_t out;
    };
    const Case cases[] = {
        {0.0f, 0},
        {-0.0f, 0},
        {1.0f, 32767},                 // full scale clamps to the largest sample
        {-1.0f, -32768},
        {2.5f, 32767},                 // beyond full scale: clamped, never wrapped
        {-7.0f, -32768},
        {0.5f, 16384},
        {-0.5f, -16384},
        {1.4f / 32768.0f, 1},          // to the nearest step, both ways
        {1.6f / 32768.0f, 2},
        {-1.6f / 32768.0f, -2},
        {std::numeric_limits<float>::infinity(), 32767},
        {-std::numeric_limits<float>::infinity(), -32768},
        {std::nanf(""), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(FloatToPcm16(c.in), c.out);
    }
}
