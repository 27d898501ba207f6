#include "dialogs/DlgSettings.h"

#include "app/MuteHotkey.h"
#include "app/QuietPrograms.h"
#include "app/WinHandles.h"
#include "dialogs/DialogText.h"
#include "dialogs/OpenFileDialog_win.h"
#include "dialogs/ProgramChoices.h"
#include "dialogs/RunningPrograms_win.h"
#include "lang/Localization.h"
#include "res/resource.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cwchar>

namespace {

bool IsRadioButton(HWND control) {
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// Calls visit(button, index) for each radio button of the group that starts at firstId, in
// window order, until the next control that starts a group.
template <typename Visit>
void ForEachRadioInGroup(HWND dialog, int firstId, Visit visit) {
    int index = 0;
    for (HWND control = GetDlgItem(dialog, firstId); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const bool startsGroup = (GetWindowLongPtrW(control, GWL_STYLE) & WS_GROUP) != 0;
        if (startsGroup && index > 0) break;
        if (IsRadioButton(control)) visit(control, index++);
    }
}

}  // namespace

INT_PTR DlgSettings::DoModal(HWND owner) { return Run(IDD_SETTINGS, owner); }

bool DlgSettings::OnCommand(WORD id, WORD notification) {
    switch (id) {
    case IDOK: OnOk(); return true;
    case IDC_ADD_PROGRAM: OnAddProgram(); return true;
    case IDC_ADD_RUNNING: OnAddRunning(); return true;
    case IDC_REMOVE_PROGRAM: OnRemoveProgram(); return true;
    case IDC_QUIET_PROGRAMS:
        if (notification == LBN_SELCHANGE) EnableRemove();
        return true;
    default: return false;
    }
}

bool DlgSettings::HandleMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_HSCROLL) return false;
    OnVolumeMoved();
    result = TRUE;
    return true;
}

void DlgSettings::OnInitDialog() {
    SendDlgItemMessageW(window, IDC_VOLUME_SLIDER, TBM_SETPOS, TRUE, volume);
    ShowVolume();
    ForEachRadioInGroup(window, IDC_FILTER_NONE, [this](HWND button, int index) {
        SendMessageW(button, BM_SETCHECK, index == filter ? BST_CHECKED : BST_UNCHECKED, 0);
    });
    CheckDlgButton(window, IDC_OVERLAP, overlap != 0 ? BST_CHECKED : BST_UNCHECKED);
    // A bare key or Shift+key would take that key from typing everywhere: Ctrl+Alt is added.
    HWND hotkey = GetDlgItem(window, IDC_MUTE_HOTKEY);
    SendMessageW(hotkey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                 MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendMessageW(hotkey, HKM_SETHOTKEY, muteHotkey, 0);
    ShowMuteHotkeyTaken(muteHotkeyTaken);
    CheckDlgButton(window, IDC_QUIET_FULL_SCREEN, quiet.fullScreen ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window, IDC_QUIET_PASSWORDS, quiet.passwords ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(window, IDC_QUIET_PROGRAMS, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : quiet.programs) AddProgram(name);
    SendDlgItemMessageA(window, IDC_QUIET_PROGRAMS, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EnableRemove();
}

// Every scroll notification, while dragging too, so the label follows the slider.
void DlgSettings::OnVolumeMoved() {
    volume = static_cast<int>(SendDlgItemMessageW(window, IDC_VOLUME_SLIDER, TBM_GETPOS, 0, 0));
    ShowVolume();
}

void DlgSettings::OnOk() {
    filter = -1;
    ForEachRadioInGroup(window, IDC_FILTER_NONE, [this](HWND button, int index) {
        if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) filter = index;
    });
    overlap = IsDlgButtonChecked(window, IDC_OVERLAP) == BST_CHECKED ? 1 : 0;
    if (!AcceptMuteHotkey()) return;
    quiet.fullScreen = IsDlgButtonChecked(window, IDC_QUIET_FULL_SCREEN) == BST_CHECKED;
    quiet.passwords = IsDlgButtonChecked(window, IDC_QUIET_PASSWORDS) == BST_CHECKED;
    quiet.programs = ListedPrograms();
    EndDialog(window, IDOK);
}

// A new chord the system refuses keeps the dialog open, so the user can choose another; one
// refused before and refused again is known already and does not hold the other settings back.
bool DlgSettings::AcceptMuteHotkey() {
    const uint16_t chosen =
        LOWORD(SendDlgItemMessageW(window, IDC_MUTE_HOTKEY, HKM_GETHOTKEY, 0, 0));
    const bool changed = chosen != muteHotkey;
    if ((changed || muteHotkeyTaken) && tryMuteHotkey) {
        muteHotkeyTaken = !tryMuteHotkey(chosen);
        if (muteHotkeyTaken && changed) {
            ShowMuteHotkeyTaken(true);
            SetFocus(GetDlgItem(window, IDC_MUTE_HOTKEY));
            return false;
        }
    }
    muteHotkey = chosen;
    return true;
}

void DlgSettings::ShowMuteHotkeyTaken(bool taken) {
    ShowWindow(GetDlgItem(window, IDC_MUTE_HOTKEY_TAKEN), taken ? SW_SHOWNA : SW_HIDE);
}

void DlgSettings::OnAddProgram() {
    const std::string path =
        AskForFileToOpen(window, IDS_PROGRAM_FILES, "*.exe", OFN_NOCHANGEDIR);
    if (!path.empty()) AddProgram(ProgramFileName(path.c_str()));
}

// A small menu of the programs with windows open, at the button; the one chosen is added.
void DlgSettings::OnAddRunning() {
    const std::vector<std::string> choices =
        ProgramChoices(RunningProgramNames(), ListedPrograms());
    ScopedMenu menu(CreatePopupMenu());
    if (!menu) return;
    if (choices.empty()) {
        char none[128] = {};
        LocLoadStringA(IDS_NO_RUNNING_PROGRAMS, none, ARRAYSIZE(none));
        AppendMenuA(menu.Get(), MF_STRING | MF_GRAYED, 0, none);
    }
    for (size_t i = 0; i < choices.size(); ++i) {
        AppendMenuA(menu.Get(), MF_STRING, i + 1, choices[i].c_str());
    }
    RECT button{};
    GetWindowRect(GetDlgItem(window, IDC_ADD_RUNNING), &button);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN,
                       button.left, button.bottom, 0, window, nullptr));
    if (chosen >= 1 && chosen <= choices.size()) AddProgram(choices[chosen - 1]);
}

void DlgSettings::OnRemoveProgram() {
    HWND list = GetDlgItem(window, IDC_QUIET_PROGRAMS);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    // The next line takes the selection, so that several can go one click after another.
    if (count > 0) SendMessageA(list, LB_SETCURSEL, selected < count ? selected : count - 1, 0);
    EnableRemove();
}

// A name already on the list, in any case, is not added again; it is selected instead.
void DlgSettings::AddProgram(const std::string& name) {
    HWND list = GetDlgItem(window, IDC_QUIET_PROGRAMS);
    const std::vector<std::string> listed = ListedPrograms();
    for (size_t i = 0; i < listed.size(); ++i) {
        if (IsQuietProgram({listed[i]}, name)) {
            SendMessageA(list, LB_SETCURSEL, i, 0);
            EnableRemove();
            return;
        }
    }
    if (!IsProgramFileName(name)) return;
    const LRESULT added = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (added >= 0) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(added), 0);
    EnableRemove();
}

std::vector<std::string> DlgSettings::ListedPrograms() const {
    HWND list = GetDlgItem(window, IDC_QUIET_PROGRAMS);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    std::vector<std::string> names;
    for (LRESULT i = 0; i < count; ++i) names.push_back(ListBoxTextA(list, static_cast<WPARAM>(i)));
    return names;
}

void DlgSettings::EnableRemove() {
    const bool selected =
        SendDlgItemMessageA(window, IDC_QUIET_PROGRAMS, LB_GETCURSEL, 0, 0) != LB_ERR;
    EnableWindow(GetDlgItem(window, IDC_REMOVE_PROGRAM), selected);
}

void DlgSettings::ShowVolume() {
    wchar_t percent[16];
    std::swprintf(percent, sizeof(percent) / sizeof(percent[0]), L"%d%%", volume);
    SetDlgItemTextW(window, IDC_VOLUME_PERCENT, percent);
}
