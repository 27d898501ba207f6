#include "dialogs/DialogText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// A control whose narrow length answers are only upper bounds, as the platform allows for a
// wide control under a double-byte code page: the length of its text plus extra.
struct BoundedText {
    std::string text;
    LRESULT extra;
};

LRESULT CopyText(const BoundedText& control, WPARAM room, LPARAM out) {
    if (room == 0) return 0;
    const size_t copied = std::min(control.text.size(), static_cast<size_t>(room) - 1);
    std::memcpy(reinterpret_cast<char*>(out), control.text.data(), copied);
    reinterpret_cast<char*>(out)[copied] = '\0';
    return static_cast<LRESULT>(copied);
}

LRESULT CALLBACK BoundedTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* control =
        reinterpret_cast<const BoundedText*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (control == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT bound = static_cast<LRESULT>(control->text.size()) + control->extra;
    switch (message) {
    case WM_GETTEXTLENGTH: return bound;
    case WM_GETTEXT: return CopyText(*control, wParam, lParam);
    case LB_GETTEXTLEN: return wParam == 0 ? bound : LB_ERR;
    // The list's buffer holds the bound and its zero.
    case LB_GETTEXT:
        return wParam == 0 ? CopyText(*control, static_cast<WPARAM>(bound) + 1, lParam) : LB_ERR;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND MakeBoundedText(BoundedText& control) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BoundedTextProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TapvoxBoundedText";
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    HWND window = CreateWindowA("TapvoxBoundedText", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
    return window;
}

TEST(DialogText, EndsWhereTheCopyEndedWhateverTheLengthBound) {
    const struct {
        const char* text;
        LRESULT extra;
    } cases[] = {
        {"", 0},
        {"", 3},
        {"NewScheme", 0},
        {"NewScheme", 9},          // a bound twice the length
        {"\x83\x5C\x83t\x83g", 3},  // "ソフト" in code page 932: one byte per character more
        {"Sch\xE9ma", 1},
    };
    for (const auto& c : cases) {
        BoundedText control{c.text, c.extra};
        HWND window = MakeBoundedText(control);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WindowTextA(window), c.text) << c.text << " + " << c.extra;
        EXPECT_EQ(ListBoxTextA(window, 0), c.text) << c.text << " + " << c.extra;
        EXPECT_EQ(ListBoxTextA(window, 1), "") << "no such line";
        DestroyWindow(window);
    }
}

}  // namespace
