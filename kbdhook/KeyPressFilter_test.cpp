#include "kbdhook/KeyPressFilter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr KeyEventOutcome kIgnored = KeyEventOutcome::Ignored;
constexpr KeyEventOutcome kPress = KeyEventOutcome::NewPress;
constexpr KeyEventOutcome kReleased = KeyEventOutcome::Released;
constexpr KeyEventOutcome kPolled = KeyEventOutcome::PolledKeyChanged;

struct KeyStep {
    uint32_t keyCode;
    bool keyUp;
    KeyEventOutcome outcome;
};

void Replay(KeyPressFilter& filter, const std::vector<KeyStep>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const KeyStep& s = steps[i];
        EXPECT_EQ(filter.OnKeyEvent(s.keyCode, s.keyUp), s.outcome) << "step " << i;
    }
}

TEST(KeyPressFilter, OnePressOneReportAndOneRelease) {
    KeyPressFilter filter;
    Replay(filter, {
        {0x41, false, kPress},     // A down
        {0x41, false, kIgnored},   // auto-repeat
        {0x41, false, kIgnored},   // auto-repeat
        {0x41, true, kReleased},   // A up
        {0x41, false, kPress},     // the next press is new
        {0x41, true, kReleased},
        {0x41, true, kIgnored},    // a stray key-up: the key is not down
        {0x42, true, kIgnored},    // nor is B, whose press came before the hook
        {0x41, false, kPress},
    });
}

TEST(KeyPressFilter, OverlappingKeysAreTrackedApart) {
    KeyPressFilter filter;
    Replay(filter, {
        {0x41, false, kPress},     // A down
        {0x42, false, kPress},     // B down while A is held
        {0x41, false, kIgnored},   // A repeats
        {0x42, true, kReleased},   // B up
        {0x42, false, kPress},     // B again: new press, A still held
        {0x41, false, kIgnored},
        {0x41, true, kReleased},
        {0x42, true, kReleased},
    });
}

TEST(KeyPressFilter, PolledKeysAreNeverReportedAsPressesButStillTracked) {
    const uint32_t polled[] = {0x10, 0x11, 0x12, 0xA0, 0xA1, 0xA2, 0xA3,
                               0xA4, 0xA5, 0x5B, 0x14, 0x90, 0x91};
    KeyPressFilter filter;
    for (uint32_t key : polled) {
        EXPECT_TRUE(IsPolledKey(key)) << key;
        EXPECT_EQ(filter.OnKeyEvent(key, false), kPolled) << key;
        EXPECT_TRUE(filter.IsDown(static_cast<uint8_t>(key))) << key;
        EXPECT_EQ(filter.OnKeyEvent(key, true), kPolled) << key;
        EXPECT_FALSE(filter.IsDown(static_cast<uint8_t>(key))) << key;
    }
}

TEST(KeyPressFilter, PolledKeysReportEachPressAndReleaseButNoRepeat) {
    KeyPressFilter filter;
    Replay(filter, {
        {0xA0, false, kPolled},   // left Shift down
        {0xA0, false, kIgnored},  // auto-repeats change nothing the poll reads
        {0xA0, false, kIgnored},
        {0x41, false, kPress},    // a letter while Shift is held
        {0x41, true, kReleased},
        {0xA0, true, kPolled},    // Shift up
        {0xA2, false, kPolled},   // a quick Ctrl tap: both halves
        {0xA2, true, kPolled},
        {0x5B, true, kPolled},    // a release whose press came before the hook
        {0x5B, true, kPolled},    // even twice: waking the poll does no harm
        {0x90, false, kPolled},   // Num Lock held: one change down, one up
        {0x90, false, kIgnored},
        {0x90, true, kPolled},
    });
}

TEST(KeyPressFilter, NeighboursOfPolledKeysAreReported) {
    // Right Windows key, Apps, the lock keys' neighbours, Escape, Space, Enter, F5, arrows.
    const uint32_t reported[] = {0x5C, 0x5D, 0x13, 0x15, 0x8F, 0x92, 0x9F, 0xA6,
                                 0x1B, 0x20, 0x0D, 0x74, 0x25, 0x0F, 0xFE, 0xFF};
    KeyPressFilter filter;
    for (uint32_t key : reported) {
        EXPECT_FALSE(IsPolledKey(key)) << key;
        EXPECT_EQ(filter.OnKeyEvent(key, false), kPress) << key;
        EXPECT_EQ(filter.OnKeyEvent(key, true), kReleased) << key;
    }
}

TEST(KeyPressFilter, CapsLockFlipsOncePerPress) {
    KeyPressFilter filter;
    filter.SetCapsLockOn(true);  // on when the hook started
    filter.OnKeyEvent(0x14, false);
    EXPECT_FALSE(filter.IsCapsLockOn());
    filter.OnKeyEvent(0x14, false);  // auto-repeat
    filter.OnKeyEvent(0x14, false);
    EXPECT_FALSE(filter.IsCapsLockOn());
    filter.OnKeyEvent(0x14, true);
    EXPECT_FALSE(filter.IsCapsLockOn());
    filter.OnKeyEvent(0x14, true);  // a stray release
    EXPECT_FALSE(filter.IsCapsLockOn());
    filter.OnKeyEvent(0x14, false);
    EXPECT_TRUE(filter.IsCapsLockOn());
    filter.OnKeyEvent(0x90, false);  // other locks leave it alone
    filter.OnKeyEvent(0x91, false);
    EXPECT_TRUE(filter.IsCapsLockOn());
}

TEST(KeyPressFilter, CodesOutsideTheKeyRangeAreIgnored) {
    KeyPressFilter filter;
    const uint32_t bad[] = {0, 0x100, 0x141, 0xFFFFFFFFu};
    for (uint32_t key : bad) {
        EXPECT_EQ(filter.OnKeyEvent(key, false), kIgnored) << key;
        EXPECT_EQ(filter.OnKeyEvent(key, true), kIgnored) << key;
    }
    // 0x141 and 0x110 must not alias onto A (0x41) or Shift (0x10).
    EXPECT_FALSE(filter.IsDown(0x41));
    EXPECT_EQ(filter.OnKeyEvent(0x41, false), kPress);
    EXPECT_EQ(filter.OnKeyEvent(0x110, false), kIgnored);
    EXPECT_FALSE(filter.IsDown(0x10));
}

}  // namespace
