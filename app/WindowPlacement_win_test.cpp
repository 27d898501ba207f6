#include "app/WindowPlacement_win.h"

#include "tests/RegistryTestValues_win.h"

#include <gtest/gtest.h>

namespace {

TEST_F(RegistrySettings, PlacementDefaultsAreCentred) {
    WINDOWPLACEMENT placement;
    ReadWindowPlacement(700, 500, kTestKey, &placement);
    const int cx = (GetSystemMetrics(SM_CXSCREEN) - 700) / 2;
    const int cy = (GetSystemMetrics(SM_CYSCREEN) - 500) / 2;
    EXPECT_EQ(placement.length, 44u);
    EXPECT_EQ(placement.flags, 0u);
    EXPECT_EQ(placement.showCmd, 1u);
    EXPECT_EQ(placement.ptMaxPosition.x, -1);
    EXPECT_EQ(placement.ptMinPosition.y, -1);
    EXPECT_EQ(placement.rcNormalPosition.left, cx);
    EXPECT_EQ(placement.rcNormalPosition.top, cy);
    EXPECT_EQ(placement.rcNormalPosition.right, cx + 700);
    EXPECT_EQ(placement.rcNormalPosition.bottom, cy + 500);
}

TEST_F(RegistrySettings, SavedPlacementIsClampedOnScreen) {
    SetText(kTestKey, "right", "5");
    SetText(kTestKey, "left", "100000");
    SetText(kTestKey, "top", "-30");
    SetText(kTestKey, "showcmd", "0");
    SetText(kTestKey, "max.x", "12");
    WINDOWPLACEMENT placement;
    ReadWindowPlacement(700, 500, kTestKey, &placement);
    EXPECT_EQ(placement.rcNormalPosition.right, 20);
    EXPECT_EQ(placement.rcNormalPosition.left, GetSystemMetrics(SM_CXFULLSCREEN) - 20);
    EXPECT_EQ(placement.rcNormalPosition.top, -30);
    EXPECT_EQ(placement.showCmd, 5u);
    EXPECT_EQ(placement.ptMaxPosition.x, 12);
}

}  // namespace
