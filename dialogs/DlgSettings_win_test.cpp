#include "dialogs/DlgSettings.h"

#include "res/resource.h"
#include "tests/ModalDialogDriver_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

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
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
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

TEST_F(SettingsDialog, OtherClosingCommandsEndWithTheirIdentifier) {
    for (WORD id : {WORD{IDABORT}, WORD{IDNO}}) {
        DlgSettings dialog;
        const INT_PTR result =
            RunDialogWith(dialog, [id](HWND window) { SendMessageW(window, WM_COMMAND, id, 0); });
        EXPECT_EQ(result, id);
    }
}

}  // namespace
