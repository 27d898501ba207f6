#include "dialogs/DlgSchmCtrl.h"

#include "dialogs/DialogText.h"
#include "audio/WavePlayer.h"
#include "dialogs/SchemeEditorRows.h"
#include "lang/Localization.h"
#include "res/resource.h"
#include "schemes/AnsiCodePage_win.h"
#include "schemes/KeyNames.h"
#include "schemes/SchemeName.h"
#include "schemes/SoundSchemesList.h"

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

// Change Sound's file dialog plays each file the user selects in it, so a sound can be heard
// before it is chosen. lCustData carries the volume.
UINT_PTR CALLBACK PlaySelectedFileHook(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* request = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        SetWindowLongPtrA(hookDialog, GWLP_USERDATA, request->lCustData);
        return 0;
    }
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != CDN_SELCHANGE)
        return 0;
    char path[MAX_PATH] = {};
    const LRESULT length = SendMessageA(GetParent(hookDialog), CDM_GETFILEPATH, sizeof(path),
                                        reinterpret_cast<LPARAM>(path));
    // A longer path answers with the size it needs and leaves the buffer as it was.
    if (length <= 0 || static_cast<size_t>(length) > sizeof(path)) return 0;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    PlaySoundFile(path, static_cast<int>(GetWindowLongPtrA(hookDialog, GWLP_USERDATA)),
                  FilterNone);
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
    if (id == IDC_KEY_LIST && notification == LBN_DBLCLK) {
        PlaySelectedRow();
        return true;
    }
    if (notification != BN_CLICKED) return false;
    switch (id) {
    case IDC_CHANGE_SOUND: OnChangeSound(); return true;
    case IDC_PLAY_SOUND: PlaySelectedRow(); return true;
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
    request.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING |
                    OFN_ENABLEHOOK;
    request.lpfnHook = PlaySelectedFileHook;
    request.lCustData = static_cast<LPARAM>(playVolume);
    if (!GetOpenFileNameA(&request)) return;
    // A path longer than the scheme's texts can hold is refused rather than cut.
    const std::string chosen = path;
    if (chosen.size() > kMaxSchemeTextChars || request.nFileOffset >= chosen.size()) return;
    rowSources[static_cast<size_t>(row)] = chosen;
    rowFiles[static_cast<size_t>(row)] = chosen.substr(request.nFileOffset);
    RefillKeyList();
}

// Plays the selected row's sound as a key would, through the engine in use at playVolume; a row
// without a sound, or no row selected, plays nothing.
void DlgSchmCtrl::PlaySelectedRow() {
    const LRESULT row = SendDlgItemMessageA(window, IDC_KEY_LIST, LB_GETCURSEL, 0, 0);
    if (row < 0 || static_cast<size_t>(row) >= rowFiles.size()) return;
    const size_t i = static_cast<size_t>(row);
    const std::string path = RowSoundPath(schemesFolder_, openedName, rowFiles[i], rowSources[i]);
    if (!path.empty()) PlaySoundFile(path.c_str(), playVolume, FilterNone);
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
