#include "help/CDlgAbout.h"

#include "lang/Localization.h"
#include "res/resource.h"
#include "tests/ModalDialogDriver_win.h"
#include "tray/InfoWindowStack.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the box showed, read from inside its modal loop.
struct Inspection {
    HWND box = nullptr;
    std::wstring title;
    std::wstring versionLine;
    HWND topAfterSecondRequest = nullptr;
    WORD closeWith = IDOK;
};
Inspection inspection;

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, ARRAYSIZE(text));
    return text;
}

void InspectAndClose(HWND box) {
    inspection.box = box;
    inspection.title = TextOf(inspection.box);
    inspection.versionLine = TextOf(GetDlgItem(inspection.box, IDC_ABOUT_VERSION));
    ShowAbout();  // a second request while the box is open
    inspection.topAfterSecondRequest = TopInfoWindow();
    PostMessageW(inspection.box, WM_COMMAND, inspection.closeWith, 0);
}

TEST(AboutBox, ShowsTitleAndVersionAndLeavesTheStackAsItWas) {
    LocSetUnicode(true);
    const HWND sentinel = reinterpret_cast<HWND>(0x5150);
    PushInfoWindow(sentinel);
    for (WORD closeWith : {WORD{IDOK}, WORD{IDCANCEL}}) {
        inspection = Inspection{};
        inspection.closeWith = closeWith;
        ActOnDialogSoon(TopInfoWindow, InspectAndClose, 200);
        ShowAbout();
        ASSERT_NE(inspection.box, sentinel) << "the box pushes its window when it opens";
        ASSERT_NE(inspection.box, nullptr);
        EXPECT_EQ(inspection.title, L"About Tapvox");
        EXPECT_EQ(inspection.versionLine, L"version 2.5.1 (build 0)");
        EXPECT_EQ(inspection.topAfterSecondRequest, inspection.box) << "only one box opens";
        EXPECT_EQ(TopInfoWindow(), sentinel) << "closing pops exactly one entry";
        EXPECT_FALSE(aboutBox.IsOpen());
        EXPECT_EQ(aboutBox.linkFont.Get(), nullptr) << "the link's font goes with the box";
    }
    PopInfoWindow();
}

}  // namespace
