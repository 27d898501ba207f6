// The character of a key under modifiers and Caps Lock, with the US layout the test display
// uses.

#include "kbdhook/KeyCharacter_win.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

KBDLLHOOKSTRUCT KeyDown(DWORD keyCode) {
    KBDLLHOOKSTRUCT key = {};
    key.vkCode = keyCode;
    key.scanCode = MapVirtualKeyA(keyCode, MAPVK_VK_TO_VSC);
    return key;
}

struct CharacterCase {
    DWORD keyCode;
    DWORD heldModifier;  // 0: none
    bool capsLock;
    uint8_t character;
};

TEST(KeyCharacter, FollowsModifiersAndCapsLock) {
    const CharacterCase cases[] = {
        {'A', 0, false, 'a'},
        {'A', VK_LSHIFT, false, 'A'},
        {'A', VK_RSHIFT, false, 'A'},
        {'A', 0, true, 'A'},
        {'A', VK_LSHIFT, true, 'a'},   // Shift undoes Caps Lock for letters
        {'Z', 0, false, 'z'},
        {'5', 0, false, '5'},
        {'5', VK_LSHIFT, false, '%'},
        {'5', 0, true, '5'},           // Caps Lock leaves digits alone
        {VK_OEM_1, 0, false, ';'},
        {VK_OEM_1, VK_LSHIFT, false, ':'},
        {VK_SPACE, 0, false, ' '},
        {VK_RETURN, 0, false, '\r'},
        {VK_TAB, 0, false, '\t'},
        {VK_BACK, 0, false, '\b'},
        {VK_ESCAPE, 0, false, 0x1B},
        {'A', VK_LCONTROL, false, 0x01},  // what Ctrl+A types
        {VK_NUMPAD7, 0, false, '7'},
        {VK_LEFT, 0, false, 0},
        {VK_F5, 0, false, 0},
        {VK_DELETE, 0, false, 0},
        {VK_HOME, VK_LSHIFT, false, 0},
    };
    for (const CharacterCase& c : cases) {
        KeyPressFilter keys;
        if (c.heldModifier != 0) keys.OnKeyEvent(c.heldModifier, false);
        keys.OnKeyEvent(c.keyCode, false);
        keys.SetCapsLockOn(c.capsLock);
        EXPECT_EQ(KeyCharacter(KeyDown(c.keyCode), keys), c.character)
            << "key " << c.keyCode << " modifier " << c.heldModifier << " caps " << c.capsLock;
    }
}

TEST(KeyCharacter, ReleasedModifierNoLongerCounts) {
    KeyPressFilter keys;
    keys.OnKeyEvent(VK_LSHIFT, false);
    keys.OnKeyEvent(VK_LSHIFT, true);
    EXPECT_EQ(KeyCharacter(KeyDown('G'), keys), 'g');
}

// The character follows the Caps Lock presses the hook saw, whatever this thread's own key
// state says: that state lags behind the system's.
TEST(KeyCharacter, CapsLockComesFromTheHooksEvents) {
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    BYTE stale[256];
    memcpy(stale, saved, sizeof stale);
    stale[VK_CAPITAL] = 0x01;
    ASSERT_TRUE(SetKeyboardState(stale));
    KeyPressFilter keys;
    EXPECT_EQ(KeyCharacter(KeyDown('H'), keys), 'h');
    keys.OnKeyEvent(VK_CAPITAL, false);
    keys.OnKeyEvent(VK_CAPITAL, true);
    EXPECT_EQ(KeyCharacter(KeyDown('H'), keys), 'H');
    SetKeyboardState(saved);
}

TEST(KeyCharacter, CodesBeyondTheKeyRangeGiveNothing) {
    KeyPressFilter keys;
    EXPECT_EQ(KeyCharacter(KeyDown(0x141), keys), 0);
}

}  // namespace
