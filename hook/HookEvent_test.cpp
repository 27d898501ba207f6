#include "hook/HookEvent.h"

#include <gtest/gtest.h>

namespace {

struct KeyEventCase {
    uint8_t keyCode;
    uint8_t character;
    uint32_t event;
};

TEST(HookEvent, KeyEventsRoundTrip) {
    const KeyEventCase cases[] = {
        {0x41, 'a', 0x00004161}, {0x41, 'A', 0x00004141}, {0x0D, '\r', 0x00000D0D},
        {0x74, 0, 0x00007400},   {0xFF, 0xFF, 0x0000FFFF}, {0, 0, 0},
        {0xC0, 0xE4, 0x0000C0E4},  // a non-ASCII character keeps its byte
    };
    for (const KeyEventCase& c : cases) {
        const uint32_t event = MakeKeyEvent(c.keyCode, c.character);
        EXPECT_EQ(event, c.event);
        EXPECT_EQ(HookEventKindOf(event), uint32_t{HookEventKey});
        EXPECT_EQ(HookEventKeyCode(event), c.keyCode);
        EXPECT_EQ(HookEventCharacter(event), c.character);
    }
}

TEST(HookEvent, ReleasesCarryTheKeyCodeAndNoCharacter) {
    const struct {
        uint8_t keyCode;
        uint32_t event;
    } cases[] = {{0x41, 0x00044100}, {0x0D, 0x00040D00}, {0xFF, 0x0004FF00}, {0, 0x00040000}};
    for (const auto& c : cases) {
        const uint32_t event = MakeKeyReleaseEvent(c.keyCode);
        EXPECT_EQ(event, c.event);
        EXPECT_EQ(HookEventKindOf(event), uint32_t{HookEventKeyRelease});
        EXPECT_EQ(HookEventKeyCode(event), c.keyCode);
        EXPECT_EQ(HookEventCharacter(event), 0);
    }
}

TEST(HookEvent, MouseEventsCarryTheButtonAndWhetherItWasReleased) {
    const struct {
        uint8_t button;
        bool released;
        uint32_t event;
    } cases[] = {{1, false, 0x00050100}, {1, true, 0x00050101}, {2, false, 0x00050200},
                 {4, true, 0x00050401},  {6, false, 0x00050600}};
    for (const auto& c : cases) {
        const uint32_t event = MakeMouseEvent(c.button, c.released);
        EXPECT_EQ(event, c.event);
        EXPECT_EQ(HookEventKindOf(event), uint32_t{HookEventMouse});
        EXPECT_EQ(HookEventKeyCode(event), c.button);
        EXPECT_EQ(HookEventIsButtonRelease(event), c.released);
    }
}

TEST(HookEvent, KindsSitInTheHighHalf) {
    EXPECT_EQ(MakeHookEvent(HookEventPoll, 0), 0x1B730000u);
    EXPECT_EQ(HookEventKindOf(0x1B730000u), uint32_t{HookEventPoll});
    EXPECT_EQ(HookEventKindOf(MakeHookEvent(HookEventReinstall, 0)), 3u);
    EXPECT_EQ(HookEventKindOf(0xFFFF0000u), 0xFFFFu);
    // Any event below 0x10000 is a key event.
    EXPECT_EQ(HookEventKindOf(0xFFFFu), uint32_t{HookEventKey});
    // Parts that do not fit are cut, never spill into the neighbouring field.
    EXPECT_EQ(MakeHookEvent(0x12345, 0x1ABCD), 0x2345ABCDu);
}

TEST(HelperReply, OnlyTheHighHalfDecides) {
    EXPECT_TRUE(IsHelperSuccess(MakeHelperReply(true)));
    EXPECT_FALSE(IsHelperSuccess(MakeHelperReply(false)));
    EXPECT_TRUE(IsHelperSuccess(0x00A70000u));
    EXPECT_TRUE(IsHelperSuccess(0x00A7FFFFu));
    EXPECT_FALSE(IsHelperSuccess(0x000000A7u));
    EXPECT_FALSE(IsHelperSuccess(0xFFA70000u));
    EXPECT_FALSE(IsHelperSuccess(0x00A60000u));
}

}  // namespace
