#include "dialogs/DlgSettings.h"

#include "res/resource.h"

#include <commctrl.h>

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

bool DlgSettings::OnCommand(WORD id, WORD) {
    if (id != IDOK) return false;
    OnOk();
    return true;
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
    EndDialog(window, IDOK);
}

void DlgSettings::ShowVolume() {
    wchar_t percent[16];
    std::swprintf(percent, sizeof(percent) / sizeof(percent[0]), L"%d%%", volume);
    SetDlgItemTextW(window, IDC_VOLUME_PERCENT, percent);
}
