#include "schemes/PackKeyCodes.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

namespace {

// The platform's scancode of a pack code: 0xE000 plus the code for a key sent with the E0
// prefix; the 0xEE00 aliases stand for the same navigation keys.
UINT PlatformScancode(uint32_t packCode) {
    const uint32_t low = packCode & 0xFF;
    switch (packCode & 0xFF00) {
    case 0x0000: return low;
    case 0x0E00:
    case 0xE000:
    case 0xEE00: return 0xE000 | low;
    default: return 0;
    }
}

struct PlatformDifference {
    uint32_t packCode;
    // What MapVirtualKeyEx gives on Windows, and what Wine's X11 keyboard driver gives, which
    // loses the E0 prefix of some keys and takes the keypad's * for Print Screen.
    UINT windowsKey;
    UINT wineKey;
    uint8_t keyCode;  // what the pack's sound belongs to in Tapvox
};

const PlatformDifference kDifferences[] = {
    // The platform names the hand; Tapvox hears Shift, Ctrl and Alt of either hand as one key.
    {0x2A, VK_LSHIFT, VK_LSHIFT, 16}, {0x36, VK_RSHIFT, VK_RSHIFT, 16},
    {0x1D, VK_LCONTROL, VK_LCONTROL, 17}, {0x0E1D, VK_RCONTROL, VK_LCONTROL, 17},
    {0x38, VK_LMENU, VK_LMENU, 18}, {0x0E38, VK_RMENU, VK_LMENU, 18},
    {0x37, VK_MULTIPLY, VK_SNAPSHOT, 106}, {0x0E35, VK_DIVIDE, VK_OEM_2, 111},
    // Tapvox hears Num Lock through its state poll, under a code of its own.
    {0x45, VK_NUMLOCK, VK_NUMLOCK, 157},
    // Pause arrives as E1 1D 45 and E0 45 is Num Lock to the platform; the packs' code for
    // Pause is libuiohook's own.
    {0x0E45, VK_NUMLOCK, VK_NUMLOCK, 19},
    // The platform gives the keypad's Num Lock off meaning; packs record it as typed with
    // Num Lock on.
    {0x47, VK_HOME, VK_HOME, 103}, {0x48, VK_UP, VK_UP, 104}, {0x49, VK_PRIOR, VK_PRIOR, 105},
    {0x4B, VK_LEFT, VK_LEFT, 100}, {0x4C, VK_CLEAR, VK_CLEAR, 101},
    {0x4D, VK_RIGHT, VK_RIGHT, 102}, {0x4F, VK_END, VK_END, 97}, {0x50, VK_DOWN, VK_DOWN, 98},
    {0x51, VK_NEXT, VK_NEXT, 99}, {0x52, VK_INSERT, VK_INSERT, 96},
    {0x53, VK_DELETE, VK_DELETE, 110},
};

const PlatformDifference* DifferenceOf(uint32_t packCode) {
    for (const PlatformDifference& difference : kDifferences) {
        if (difference.packCode == packCode) return &difference;
    }
    return nullptr;
}

TEST(PackKeyCodesOnPlatform, ScancodesMapAsTheUsLayoutDoes) {
    const HKL us = LoadKeyboardLayoutA("00000409", 0);
    ASSERT_NE(us, nullptr);
    size_t compared = 0;
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
        const PackKey key = PackKeyFromCode(code);
        if (key.keyCode == 0) continue;
        const UINT scancode = PlatformScancode(code);
        ASSERT_NE(scancode, 0u) << code;
        const UINT platformKey = MapVirtualKeyExA(scancode, MAPVK_VSC_TO_VK_EX, us);
        if (const PlatformDifference* difference = DifferenceOf(code)) {
            EXPECT_TRUE(platformKey == difference->windowsKey ||
                        platformKey == difference->wineKey)
                << code << " gives " << platformKey;
            EXPECT_EQ(key.keyCode, difference->keyCode) << code;
        } else {
            EXPECT_EQ(key.keyCode, platformKey) << code;
        }
        ++compared;
    }
    EXPECT_EQ(compared, 112u);
}

}  // namespace
