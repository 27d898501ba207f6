#include "dialogs/DlgSchmCtrl.h"

#include "dialogs/DialogText.h"
#include "dialogs/SchemeEditorRows.h"
#include "lang/Localization.h"
#include "res/resource.h"
#include "schemes/AnsiCodePage_win.h"
#include "schemes/KeyNames.h"
#include "schemes/SchemeName.h"

#include <commdlg.h>

namespace {

UINT MessageOfNameFault(SchemeNameFault fault) {
    switch (fault) {
    case SchemeNameFault::EmptyOrDot: return IDS_NAME_EMPTY_OR_DOT;
    case SchemeNameFault::ForbiddenCharacter: return IDS_NAME_FORBIDDEN_CHARACTER;
    case SchemeNameFault::DeviceName: return IDS_NAME_DEVICE;
    case SchemeNameFault::TrailingDotOrBlank: return IDS_NAME_TRAILING_DOT_OR_BLANK;
    case SchemeNameFault::TooLong: return IDS_NAME_TOO_LONG;
    case SchemeNameFault::None: break;
    }
    return 0;
}

}  // namespace

void DlgSchmCtrl::Prepare(const std::string& name, bool newScheme,
                          const std::string& schemesFolderPath) {
    editedName = name;
    isNewScheme = newScheme;
    schemesFolder_ = schemesFolderPath;
}

INT_PTR DlgSchmCtrl::DoModal(HWND owner) { return Run(IDD_SCHEME_CONTROL, owner); }

bool DlgSchmCtrl::OnCommand(WORD id, WORD notification) {
    if (notification != BN_CLICKED) return false;
    switch (id) {
    case IDC_CHANGE_SOUND: OnChangeSound(); return true;
    case IDOK:
    case IDCANCEL: OnCloseCommand(id); return true;
    default: return false;
    }
}

// Rows start afresh at every opening; an existing scheme shows what its file gives each key.
// A name longer than the scheme set can load shows no sounds, as it would play none.
void DlgSchmCtrl::OnInitDialog() {
    rowFiles = SchemeRowFiles{};
    rowSources = SchemeRowFiles{};
    openedName.clear();
    openedTable = KeySoundTable{};
    openedReleases = KeySoundTable{};
    schemeReader_ = std::make_unique<SoundSchemesList>();
    if (!isNewScheme && editedName.size() <= kMaxSchemeNameChars) {
        openedName = editedName;
        ReadSchemeFile(schemesFolder_ + editedName + "\\", openedTable, &openedReleases);
        rowFiles = RowFilesFromTable(openedTable);
    }
    RefillKeyList();
    SetDlgItemTextA(window, IDC_SCHEME_NAME, editedName.c_str());
}

void DlgSchmCtrl::OnChangeSound() {
    const LRESULT row = SendDlgItemMessageA(window, IDC_KEY_LIST, LB_GETCURSEL, 0, 0);
    if (row < 0 || static_cast<size_t>(row) >= rowFiles.size()) return;
    char path[MAX_PATH] = {};
    OPENFILENAMEA request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = GetActiveWindow();
    request.lpstrFilter = "Sound file (*.wav)\0*.wav\0";
    request.lpstrFile = path;
    request.nMaxFile = sizeof(path);
    request.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&request)) return;
    // A path longer than the scheme's texts can hold is refused rather than cut.
    const std::string chosen = path;
    if (chosen.size() > kMaxSchemeTextChars || request.nFileOffset >= chosen.size()) return;
    rowSources[static_cast<size_t>(row)] = chosen;
    rowFiles[static_cast<size_t>(row)] = chosen.substr(request.nFileOffset);
    RefillKeyList();
}

// OK and Cancel alike refuse a name longer than the scheme texts hold, so the user can
// shorten it; the caller ignores the name after Cancel. OK also refuses a name that would not
// make a scheme folder the scheme list shows and the scheme set loads.
void DlgSchmCtrl::OnCloseCommand(WORD id) {
    HWND nameBox = GetDlgItem(window, IDC_SCHEME_NAME);
    const std::string name = WindowTextA(nameBox);
    if (name.size() > kMaxSchemeTextChars) {
        MessageBeep(0xFFFFFFFF);
        SetFocus(nameBox);
        return;
    }
    if (id == IDOK) {
        const SchemeNameFault fault = FindSchemeNameFault(name, IsAnsiCodePageLeadByte);
        if (fault != SchemeNameFault::None) {
            LocMessageBox(window, MessageOfNameFault(fault), MB_OK | MB_ICONEXCLAMATION);
            SetFocus(nameBox);
            SendMessageA(nameBox, EM_SETSEL, 0, -1);
            return;
        }
    }
    editedName = name;
    EndDialog(window, id);
    schemeReader_.reset();
}

void DlgSchmCtrl::RefillKeyList() {
    HWND list = GetDlgItem(window, IDC_KEY_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < rowFiles.size(); ++i) {
        const std::string line = KeyListLine(EditableKeyNames[i], rowFiles[i]);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}
