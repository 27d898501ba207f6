#include "help/CDlgAbout.h"

#include "lang/Localization.h"
#include "res/resource.h"
#include "tests/ModalDialogDriver_win.h"
#include "tray/InfoWindowStack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the box showed, read from inside its modal loop.
struct Inspection {
    HWND box = nullptr;
    std::wstring title;
    std::wstring versionLine;
    HWND topAfterSecondRequest = nullptr;
    WORD closeWith = IDOK;
    // Per display scale sent: the heading's and the link's font heights, and whether the link
    // shows the box's link font.
    struct Fonts {
        UINT dpi;
        LONG heading;
        LONG link;
        bool linkUsesIt;
    };
    std::vector<Fonts> fonts;
};
Inspection inspection;

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, ARRAYSIZE(text));
    return text;
}

LONG HeightOf(const ScopedGdiObject& font) {
    LOGFONTA description{};
    if (!GetObjectA(font.Get(), sizeof(description), &description)) return 0;
    return description.lfHeight;
}

// Moves the open box to displays of 192 and then 96 DPI, as the system tells it.
void ChangeDisplayScales(HWND box) {
    for (UINT dpi : {192u, 96u}) {
        RECT suggested{};
        GetWindowRect(box, &suggested);
        SendMessageW(box, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        const HWND link = GetDlgItem(box, IDC_ABOUT_LINK);
        const auto linkFont = reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0));
        inspection.fonts.push_back({dpi, HeightOf(aboutBox.headingFont),
                                    HeightOf(aboutBox.linkFont),
                                    linkFont == aboutBox.linkFont.Get()});
    }
}

void InspectAndClose(HWND box) {
    inspection.box = box;
    ChangeDisplayScales(box);
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
        EXPECT_EQ(aboutBox.headingFont.Get(), nullptr);
        // 12 points for the heading, 8 for the link, at each scale.
        const std::vector<Inspection::Fonts> expected = {{192, -32, -21, true},
                                                         {96, -16, -10, true}};
        ASSERT_EQ(inspection.fonts.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(inspection.fonts[i].heading, expected[i].heading) << expected[i].dpi;
            EXPECT_EQ(inspection.fonts[i].link, expected[i].link) << expected[i].dpi;
            EXPECT_TRUE(inspection.fonts[i].linkUsesIt) << expected[i].dpi;
        }
    }
    PopInfoWindow();
}

}  // namespace
