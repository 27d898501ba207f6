#include "dialogs/DlgSettings.h"

#include "res/resource.h"
#include "tests/ModalDialogDriver_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring PercentLabel(HWND dialog) {
    wchar_t text[16] = {};
    GetDlgItemTextW(dialog, IDC_VOLUME_PERCENT, text, 16);
    return text;
}

int SliderPosition(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_VOLUME_SLIDER, TBM_GETPOS, 0, 0));
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

class SettingsDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_HOTKEY_CLASS};
        InitCommonControlsEx(&controls);
    }
};

TEST_F(SettingsDialog, OpensWithTheCallersValuesAndReturnsTheChoiceOnOk) {
    DlgSettings dialog;
    dialog.volume = 75;
    dialog.filter = 1;
    int seenPosition = -1;
    std::wstring seenLabel;
    bool echoChecked = false;
    bool othersUnchecked = false;
    const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
        seenPosition = SliderPosition(window);
        seenLabel = PercentLabel(window);
        echoChecked = Checked(window, IDC_FILTER_ECHO);
        othersUnchecked =
            !Checked(window, IDC_FILTER_NONE) && !Checked(window, IDC_FILTER_INVERSION);
        SendDlgItemMessageW(window, IDC_FILTER_INVERSION, BM_CLICK, 0, 0);
        SendMessageW(window, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seenPosition, 75);
    EXPECT_EQ(seenLabel, L"75%");
    EXPECT_TRUE(echoChecked);
    EXPECT_TRUE(othersUnchecked);
    EXPECT_EQ(dialog.filter, 2);
    EXPECT_EQ(dialog.volume, 75);
    EXPECT_EQ(dialog.window, nullptr);
}

TEST_F(SettingsDialog, SliderMovesUpdateTheLabelAndCancelEndsWithTwo) {
    DlgSettings dialog;
    dialog.volume = 40;
    dialog.filter = 0;
    std::wstring labelWhileDragging;
    const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
        HWND slider = GetDlgItem(window, IDC_VOLUME_SLIDER);
        SendMessageW(slider, TBM_SETPOS, TRUE, 30);
        SendMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 30),
                     reinterpret_cast<LPARAM>(slider));
        labelWhileDragging = PercentLabel(window);
        SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(labelWhileDragging, L"30%");
    EXPECT_EQ(dialog.volume, 30) << "the member follows the slider; the caller ignores it";
}

// A filter with no button of its own (100 when nothing was stored) checks none, and OK
// without a choice gives -1; a volume above 100 shows as it is and survives an unmoved slider.
TEST_F(SettingsDialog, OutOfRangeValuesShowAsTheyAre) {
    DlgSettings dialog;
    dialog.volume = 150;
    dialog.filter = 100;
    std::wstring label;
    int position = -1;
    bool anyChecked = true;
    const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
        label = PercentLabel(window);
        position = SliderPosition(window);
        anyChecked = Checked(window, IDC_FILTER_NONE) || Checked(window, IDC_FILTER_ECHO) ||
                     Checked(window, IDC_FILTER_INVERSION);
        SendMessageW(window, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(label, L"150%");
    EXPECT_EQ(position, 100);
    EXPECT_FALSE(anyChecked);
    EXPECT_EQ(dialog.filter, -1);
    EXPECT_EQ(dialog.volume, 150);
}

// Any non-zero setting checks the box; OK gives 1 or 0 as the box stands then, Cancel leaves
// the caller's value.
TEST_F(SettingsDialog, OverlapBoxShowsTheSettingAndGivesItBackOnOk) {
    struct Case {
        int given;
        bool click;
        WORD closeWith;
        bool shownChecked;
        int after;
    };
    const Case cases[] = {
        {0, false, IDOK, false, 0},     {1, false, IDOK, true, 1},
        {0, true, IDOK, false, 1},      {1, true, IDOK, true, 0},
        {7, false, IDOK, true, 1},      {-1, false, IDOK, true, 1},
        {0, true, IDCANCEL, false, 0},  {1, true, IDCANCEL, true, 1},
    };
    for (const Case& c : cases) {
        DlgSettings dialog;
        dialog.overlap = c.given;
        bool shownChecked = !c.shownChecked;
        const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
            shownChecked = Checked(window, IDC_OVERLAP);
            if (c.click) SendDlgItemMessageW(window, IDC_OVERLAP, BM_CLICK, 0, 0);
            SendMessageW(window, WM_COMMAND, c.closeWith, 0);
        });
        EXPECT_EQ(result, c.closeWith) << c.given;
        EXPECT_EQ(shownChecked, c.shownChecked) << c.given;
        EXPECT_EQ(dialog.overlap, c.after) << c.given << " click " << c.click;
    }
}

// The box follows the filter buttons as a tab stop that ends their group.
TEST_F(SettingsDialog, OverlapBoxEndsTheFilterGroupAsATabStop) {
    DlgSettings dialog;
    int previousId = 0;
    LONG_PTR style = 0;
    RunDialogWith(dialog, [&](HWND window) {
        HWND box = GetDlgItem(window, IDC_OVERLAP);
        previousId = GetDlgCtrlID(GetWindow(box, GW_HWNDPREV));
        style = GetWindowLongPtrW(box, GWL_STYLE);
        SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(previousId, IDC_FILTER_INVERSION);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(style & WS_GROUP);
    EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
}

// Every control lies inside the dialog and clear of every other, the filter buttons inside
// their frame apart; the line about a taken hotkey too, though it is hidden. The volume's
// caption has always reached one unit into its percentage, which starts with a short number.
TEST_F(SettingsDialog, EveryControlIsInsideAndClearOfTheOthers) {
    DlgSettings dialog;
    std::vector<int> outside;
    std::vector<std::pair<int, int>> crossing;
    RunDialogWith(dialog, [&](HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::vector<std::pair<int, RECT>> controls;
        for (HWND child = GetWindow(window, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            RECT rect{};
            GetWindowRect(child, &rect);
            controls.push_back({GetDlgCtrlID(child), rect});
        }
        for (size_t i = 0; i < controls.size(); ++i) {
            const RECT& a = controls[i].second;
            if (a.left < client.left || a.right > client.right || a.top < client.top ||
                a.bottom > client.bottom) {
                outside.push_back(controls[i].first);
            }
            for (size_t j = i + 1; j < controls.size(); ++j) {
                const int first = controls[i].first, second = controls[j].first;
                const auto isFilterButton = [](int id) {
                    return id >= IDC_FILTER_NONE && id <= IDC_FILTER_INVERSION;
                };
                const bool inFrame = (first == IDC_FILTER_GROUP && isFilterButton(second)) ||
                                     (second == IDC_FILTER_GROUP && isFilterButton(first));
                RECT both{};
                const bool volumeLabels = first + second == IDC_VOLUME_CAPTION + IDC_VOLUME_PERCENT &&
                                          (first == IDC_VOLUME_CAPTION || second == IDC_VOLUME_CAPTION);
                if (!inFrame && !volumeLabels && IntersectRect(&both, &a, &controls[j].second)) {
                    crossing.push_back({first, second});
                }
            }
        }
        SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    for (int id : outside) ADD_FAILURE() << "outside: control " << id;
    for (const auto& pair : crossing) ADD_FAILURE() << pair.first << " crosses " << pair.second;
}

TEST_F(SettingsDialog, OtherClosingCommandsEndWithTheirIdentifier) {
    for (WORD id : {WORD{IDABORT}, WORD{IDNO}}) {
        DlgSettings dialog;
        const INT_PTR result =
            RunDialogWith(dialog, [id](HWND window) { SendMessageW(window, WM_COMMAND, id, 0); });
        EXPECT_EQ(result, id);
    }
}

}  // namespace
