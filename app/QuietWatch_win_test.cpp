#include "app/QuietWatch_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kWindowClass[] = "TVX_QUIET_WATCH_TEST";

std::string OwnFileName() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    const char* name = std::strrchr(path, '\\');
    return name ? name + 1 : path;
}

std::string Upper(std::string text) {
    for (char& c : text) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
}

// A top-level window of this process with a password box and an ordinary edit box.
class TestWindow {
public:
    TestWindow(DWORD style, const RECT& place) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
        window_ = CreateWindowA(kWindowClass, "Quiet watch test", style | WS_VISIBLE, place.left,
                                place.top, place.right - place.left, place.bottom - place.top,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
        password = CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | ES_PASSWORD, 0, 0, 100, 20,
                                 window_, nullptr, windowClass.hInstance, nullptr);
        plain = CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE, 0, 30, 100, 20, window_,
                              nullptr, windowClass.hInstance, nullptr);
        SetForegroundWindow(window_);
    }
    ~TestWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }
    HWND password = nullptr;
    HWND plain = nullptr;

private:
    HWND window_ = nullptr;
};

RECT PrimaryMonitor() {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoA(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

enum class Front { Small, FullScreen };
enum class Focus { Password, Plain };

TEST(QuietWatchOnWindows, DecidesFromTheWindowInFrontAndTheFocusedBox) {
    const std::string listed = Upper(OwnFileName());
    const QuietSettings defaults;
    const QuietSettings allOff{false, false, {}};
    const QuietSettings ownProgram{false, false, {"other.exe", listed}};
    const struct {
        const char* what;
        QuietSettings settings;
        Front front;
        Focus focus;
        QuietReason reason;
    } cases[] = {
        {"ordinary box", defaults, Front::Small, Focus::Plain, QuietReason::None},
        {"password box", defaults, Front::Small, Focus::Password, QuietReason::Password},
        {"password box, rule off", allOff, Front::Small, Focus::Password, QuietReason::None},
        {"full screen", defaults, Front::FullScreen, Focus::Plain, QuietReason::FullScreen},
        {"full screen before a password box", defaults, Front::FullScreen, Focus::Password,
         QuietReason::FullScreen},
        {"full screen, rule off", allOff, Front::FullScreen, Focus::Plain, QuietReason::None},
        {"a listed program, named in another case", ownProgram, Front::Small, Focus::Plain,
         QuietReason::Program},
    };
    const RECT small{100, 100, 400, 300};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestWindow window(c.front == Front::Small ? WS_OVERLAPPEDWINDOW : WS_POPUP,
                          c.front == Front::Small ? small : PrimaryMonitor());
        ASSERT_EQ(GetForegroundWindow(), window.Get());
        SetFocus(c.focus == Focus::Password ? window.password : window.plain);
        int changes = 0;
        QuietWatch watch;
        ASSERT_TRUE(watch.Start(c.settings, [&changes] { ++changes; }));
        EXPECT_EQ(watch.Reason(), c.reason);
        EXPECT_EQ(changes, c.reason == QuietReason::None ? 0 : 1);
        watch.Stop();
        EXPECT_EQ(watch.Reason(), QuietReason::None);
    }
}

// Settings after OK, and a focus the poll of the front finds without an event.
TEST(QuietWatchOnWindows, NewSettingsAndFocusChangesApplyAtOnce) {
    TestWindow window(WS_OVERLAPPEDWINDOW, {100, 100, 400, 300});
    SetFocus(window.password);
    QuietWatch watch;
    ASSERT_TRUE(watch.Start({true, false, {}}, [] {}));
    EXPECT_EQ(watch.Reason(), QuietReason::None);
    watch.Apply({true, true, {}});
    EXPECT_EQ(watch.Reason(), QuietReason::Password);
    SetFocus(window.plain);
    watch.CheckFront();
    EXPECT_EQ(watch.Reason(), QuietReason::None);
    watch.Apply({true, false, {OwnFileName()}});
    EXPECT_EQ(watch.Reason(), QuietReason::Program);
}

}  // namespace
