// The Settings dialog's mute hotkey and quiet rules.

#include "app/MuteHotkey.h"
#include "dialogs/DlgSettings.h"
#include "dialogs/DialogText.h"
#include "res/resource.h"
#include "tests/ModalDialogDriver_win.h"
#include "tests/RunningNotepad_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

constexpr uint16_t kCtrlAltP = (kHotkeyControl | kHotkeyAlt) << 8 | 'P';
constexpr uint16_t kCtrlAltQ = (kHotkeyControl | kHotkeyAlt) << 8 | 'Q';

uint16_t ShownHotkey(HWND dialog) {
    return LOWORD(SendDlgItemMessageW(dialog, IDC_MUTE_HOTKEY, HKM_GETHOTKEY, 0, 0));
}

bool TakenLineShown(HWND dialog) {
    return IsWindowVisible(GetDlgItem(dialog, IDC_MUTE_HOTKEY_TAKEN)) != FALSE;
}

Names ListedNames(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_QUIET_PROGRAMS);
    Names names;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) names.push_back(ListBoxTextA(list, static_cast<WPARAM>(i)));
    return names;
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

class SettingsDialogQuiet : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_HOTKEY_CLASS};
        InitCommonControlsEx(&controls);
    }
};

// The chord is registered on OK only when it changed or was refused before; a changed chord
// the system refuses keeps the dialog open with the line shown, one refused again closes it.
TEST_F(SettingsDialogQuiet, HotkeyIsTriedOnOkAndARefusedNewOneKeepsTheDialogOpen) {
    struct Case {
        const char* what;
        bool takenBefore;
        uint16_t chosen;
        bool systemAccepts;
        bool expectTried;
        bool expectOpen;
        uint16_t expectHotkey;
        bool expectTaken;
    };
    const Case cases[] = {
        {"unchanged", false, kCtrlAltP, false, false, false, kCtrlAltP, false},
        {"changed, accepted", false, kCtrlAltQ, true, true, false, kCtrlAltQ, false},
        {"changed, refused", false, kCtrlAltQ, false, true, true, kCtrlAltP, true},
        {"none, accepted", false, kNoMuteHotkey, true, true, false, kNoMuteHotkey, false},
        {"refused before, free now", true, kCtrlAltP, true, true, false, kCtrlAltP, false},
        {"refused before and again", true, kCtrlAltP, false, true, false, kCtrlAltP, true},
    };
    for (const Case& c : cases) {
        DlgSettings dialog;
        dialog.muteHotkey = kCtrlAltP;
        dialog.muteHotkeyTaken = c.takenBefore;
        std::vector<uint16_t> tried;
        dialog.tryMuteHotkey = [&](uint16_t word) {
            tried.push_back(word);
            return c.systemAccepts;
        };
        uint16_t shown = 0;
        bool lineAtOpen = !c.takenBefore;
        bool openAfterOk = !c.expectOpen;
        bool lineAfterOk = false;
        const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
            shown = ShownHotkey(window);
            lineAtOpen = TakenLineShown(window);
            SendDlgItemMessageW(window, IDC_MUTE_HOTKEY, HKM_SETHOTKEY, c.chosen, 0);
            SendMessageW(window, WM_COMMAND, IDOK, 0);
            // EndDialog hides the dialog at once; it is destroyed when its loop returns.
            openAfterOk = IsWindowVisible(window) != FALSE;
            if (openAfterOk) {
                lineAfterOk = TakenLineShown(window);
                SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
            }
        });
        EXPECT_EQ(shown, kCtrlAltP) << c.what;
        EXPECT_EQ(lineAtOpen, c.takenBefore) << c.what;
        EXPECT_EQ(tried, c.expectTried ? std::vector<uint16_t>{c.chosen} : std::vector<uint16_t>{})
            << c.what;
        EXPECT_EQ(openAfterOk, c.expectOpen) << c.what;
        EXPECT_EQ(lineAfterOk, c.expectOpen) << c.what;
        EXPECT_EQ(result, c.expectOpen ? IDCANCEL : IDOK) << c.what;
        EXPECT_EQ(dialog.muteHotkey, c.expectHotkey) << c.what;
        EXPECT_EQ(dialog.muteHotkeyTaken, c.expectTaken) << c.what;
    }
}

// Keys typed into the control: a bare key gets Ctrl+Alt, so no chord takes a key from typing;
// Backspace leaves no hotkey at all.
TEST_F(SettingsDialogQuiet, HotkeyControlAddsCtrlAltToABareKeyAndBackspaceClearsIt) {
    DlgSettings dialog;
    dialog.muteHotkey = kCtrlAltP;
    uint16_t afterBareKey = 0;
    uint16_t afterBackspace = 0xFFFF;
    RunDialogWith(dialog, [&](HWND window) {
        HWND control = GetDlgItem(window, IDC_MUTE_HOTKEY);
        SetFocus(control);
        SendMessageW(control, WM_KEYDOWN, 'Q', 0);
        SendMessageW(control, WM_KEYUP, 'Q', 0xC0000000);
        afterBareKey = ShownHotkey(window);
        SendMessageW(control, WM_KEYDOWN, VK_BACK, 0);
        SendMessageW(control, WM_KEYUP, VK_BACK, 0xC0000000);
        afterBackspace = ShownHotkey(window);
        SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(afterBareKey, kCtrlAltQ);
    EXPECT_EQ(afterBackspace, kNoMuteHotkey);
}

TEST_F(SettingsDialogQuiet, BoxesAndListShowTheSettingsAndGiveThemBackOnOk) {
    struct Case {
        bool fullScreen;
        bool passwords;
        Names programs;
        bool clickFullScreen;
        bool clickPasswords;
        bool removeFirst;
        WORD closeWith;
        QuietSettings expected;
    };
    const Case cases[] = {
        {true, true, {}, false, false, false, IDOK, {true, true, {}}},
        {true, false, {"game.exe", "Slides.EXE"}, true, true, false, IDOK,
         {false, true, {"game.exe", "Slides.EXE"}}},
        {false, true, {"a.exe", "b.exe", "c.exe"}, false, false, true, IDOK,
         {false, true, {"b.exe", "c.exe"}}},
        {true, true, {"a.exe"}, true, true, true, IDCANCEL, {true, true, {"a.exe"}}},
    };
    for (const Case& c : cases) {
        DlgSettings dialog;
        dialog.quiet = {c.fullScreen, c.passwords, c.programs};
        bool shownFullScreen = !c.fullScreen, shownPasswords = !c.passwords;
        Names shownPrograms;
        bool removeEnabledAtOpen = true;
        RunDialogWith(dialog, [&](HWND window) {
            shownFullScreen = Checked(window, IDC_QUIET_FULL_SCREEN);
            shownPasswords = Checked(window, IDC_QUIET_PASSWORDS);
            shownPrograms = ListedNames(window);
            removeEnabledAtOpen = IsWindowEnabled(GetDlgItem(window, IDC_REMOVE_PROGRAM)) != FALSE;
            if (c.clickFullScreen) SendDlgItemMessageW(window, IDC_QUIET_FULL_SCREEN, BM_CLICK, 0, 0);
            if (c.clickPasswords) SendDlgItemMessageW(window, IDC_QUIET_PASSWORDS, BM_CLICK, 0, 0);
            if (c.removeFirst) {
                SendDlgItemMessageA(window, IDC_QUIET_PROGRAMS, LB_SETCURSEL, 0, 0);
                Click(window, IDC_REMOVE_PROGRAM);
            }
            SendMessageW(window, WM_COMMAND, c.closeWith, 0);
        });
        EXPECT_EQ(shownFullScreen, c.fullScreen);
        EXPECT_EQ(shownPasswords, c.passwords);
        EXPECT_EQ(shownPrograms, c.programs);
        EXPECT_FALSE(removeEnabledAtOpen) << "nothing is selected when the dialog opens";
        EXPECT_EQ(dialog.quiet.fullScreen, c.expected.fullScreen);
        EXPECT_EQ(dialog.quiet.passwords, c.expected.passwords);
        EXPECT_EQ(dialog.quiet.programs, c.expected.programs);
    }
}

// Remove takes the selected line and selects the next, so that several go one click after
// another; with the list empty it is disabled.
TEST_F(SettingsDialogQuiet, RemoveSelectsTheNextLineUntilTheListIsEmpty) {
    DlgSettings dialog;
    dialog.quiet.programs = {"a.exe", "b.exe", "c.exe"};
    std::vector<Names> after;
    bool enabledAtEnd = true;
    RunDialogWith(dialog, [&](HWND window) {
        SendDlgItemMessageA(window, IDC_QUIET_PROGRAMS, LB_SETCURSEL, 1, 0);
        for (int i = 0; i < 3; ++i) {
            Click(window, IDC_REMOVE_PROGRAM);
            after.push_back(ListedNames(window));
        }
        enabledAtEnd = IsWindowEnabled(GetDlgItem(window, IDC_REMOVE_PROGRAM)) != FALSE;
        SendMessageW(window, WM_COMMAND, IDOK, 0);
    });
    const std::vector<Names> expected = {{"a.exe", "c.exe"}, {"a.exe"}, {}};
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(enabledAtEnd);
    EXPECT_TRUE(dialog.quiet.programs.empty());
}

// The popup menu the "Add running..." button shows, and the name of its first item.
HWND OpenPopupMenu() { return FindWindowA("#32768", nullptr); }

// With a program's window open, the menu offers it; the first item chosen joins the list. The
// menu is driven by keys, as a user would.
TEST_F(SettingsDialogQuiet, AddRunningOffersOpenProgramsAndAddsTheChosenOne) {
    RunningNotepad notepad;
    ASSERT_TRUE(notepad.WindowShown());
    DlgSettings dialog;
    std::string firstItem;
    RunDialogWith(dialog, [&](HWND window) {
        ActOnDialogWhenOpen(OpenPopupMenu, [&](HWND menuWindow) {
            HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
            char text[MAX_PATH] = {};
            GetMenuStringA(menu, 0, text, sizeof(text), MF_BYPOSITION);
            firstItem = text;
            PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
        });
        Click(window, IDC_ADD_RUNNING);
        SendMessageW(window, WM_COMMAND, IDOK, 0);
    });
    ASSERT_FALSE(firstItem.empty());
    EXPECT_EQ(dialog.quiet.programs, Names{firstItem});
}

}  // namespace
