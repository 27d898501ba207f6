#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(Placement, CentredRectangleTruncatesTowardZero) {
    const PlacementRect r = CentredPlacementRect(1025, 769, 700, 500);
    EXPECT_EQ(r.left, 162);
    EXPECT_EQ(r.top, 134);
    EXPECT_EQ(r.right, 862);
    EXPECT_EQ(r.bottom, 634);
    // A preferred size wider than the screen centres at a negative edge.
    const PlacementRect wide = CentredPlacementRect(800, 600, 1001, 601);
    EXPECT_EQ(wide.left, -100);
    EXPECT_EQ(wide.top, 0);
}

TEST(Placement, ClampsKeepTheWindowReachable) {
    struct ClampCase {
        PlacementRect in;
        PlacementRect out;
    };
    const ClampCase cases[] = {
        {{0, 0, 5, 5}, {0, 0, 20, 20}},
        {{0, 0, 20, 20}, {0, 0, 20, 20}},
        {{5000, 3000, 6000, 4000}, {1004, 748, 6000, 4000}},
        {{1004, 748, 1100, 800}, {1004, 748, 1100, 800}},
        {{-50, -50, -10, -10}, {-50, -50, 20, 20}},
    };
    for (const ClampCase& c : cases) {
        PlacementValues values{1, {-1, -1}, {-1, -1}, c.in};
        ClampPlacement(values, 1024, 768);
        EXPECT_EQ(values.normal.left, c.out.left);
        EXPECT_EQ(values.normal.top, c.out.top);
        EXPECT_EQ(values.normal.right, c.out.right);
        EXPECT_EQ(values.normal.bottom, c.out.bottom);
    }
}

TEST(Placement, HiddenShowCommandBecomesShow) {
    const int cases[][2] = {{0, 5}, {1, 1}, {3, 3}, {-1, -1}};
    for (const auto& c : cases) {
        PlacementValues values{c[0], {-1, -1}, {-1, -1}, {0, 0, 100, 100}};
        ClampPlacement(values, 1024, 768);
        EXPECT_EQ(values.showCommand, c[1]) << c[0];
    }
}

}  // namespace
