#include "hook/FullScreenRule.h"
#include "hook/QuietRules.h"

#include <gtest/gtest.h>

namespace {

constexpr ScreenRect kMonitor{0, 0, 1920, 1080};
constexpr ScreenRect kSecondMonitor{1920, -200, 3200, 824};

TEST(FullScreenRule, WindowAgainstItsMonitor) {
    const struct {
        const char* what;
        ForegroundWindowFacts facts;
        bool fullScreen;
    } cases[] = {
        {"exactly the monitor", {{0, 0, 1920, 1080}, kMonitor}, true},
        {"beyond every edge", {{-10, -10, 1930, 1090}, kMonitor}, true},
        {"on a second monitor left of nothing", {{1920, -200, 3200, 824}, kSecondMonitor}, true},
        {"the work area above a taskbar", {{0, 0, 1920, 1040}, kMonitor}, false},
        {"maximised over the work area", {{-8, -8, 1928, 1048}, kMonitor}, false},
        {"one pixel short on the left", {{1, 0, 1920, 1080}, kMonitor}, false},
        {"one pixel short at the top", {{0, 1, 1920, 1080}, kMonitor}, false},
        {"one pixel short on the right", {{0, 0, 1919, 1080}, kMonitor}, false},
        {"a small window", {{100, 100, 900, 700}, kMonitor}, false},
        {"the first monitor while on the second", {{0, 0, 1920, 1080}, kSecondMonitor}, false},
        {"the desktop", {{0, 0, 1920, 1080}, kMonitor, true}, false},
        {"maximised with a title bar, taskbar hidden",
         {{-8, -8, 1928, 1088}, kMonitor, false, true}, false},
        {"no monitor known", {{0, 0, 1920, 1080}, {}}, false},
        {"a monitor turned inside out", {{0, 0, 1920, 1080}, {1920, 1080, 0, 0}}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsFullScreen(c.facts), c.fullScreen) << c.what;
}

TEST(QuietRules, ReasonFromSwitchesAndFacts) {
    const QuietSwitches on{true, true};
    const QuietSwitches off{false, false};
    const QuietFacts everything{true, true, true};
    const struct {
        bool muted;
        QuietSwitches switches;
        QuietFacts facts;
        QuietReason reason;
    } cases[] = {
        {false, on, {}, QuietReason::None},
        {true, on, {}, QuietReason::Muted},
        {true, on, everything, QuietReason::Muted},
        {false, on, everything, QuietReason::FullScreen},
        {false, on, {false, true, true}, QuietReason::Program},
        {false, on, {false, false, true}, QuietReason::Password},
        {false, off, {true, false, true}, QuietReason::None},
        {false, off, everything, QuietReason::Program},  // the list has no switch of its own
        {false, {false, true}, {true, false, true}, QuietReason::Password},
        {false, {true, false}, {false, false, true}, QuietReason::None},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(QuietReasonFor(c.muted, c.switches, c.facts), c.reason) << "case " << i;
    }
}

}  // namespace
