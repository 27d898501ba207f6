#include "dialogs/DlgManageSchemes.h"

#include "dialogs/DialogText.h"
#include "dialogs/OpenFileDialog_win.h"
#include "dialogs/PackImportMessage.h"

#include "app/SchemeFolders_win.h"
#include "help/Help.h"
#include "lang/Localization.h"
#include "res/resource.h"
#include "schemes/PackImport_win.h"
#include "schemes/SchemeSave.h"


void DlgManageSchemes::SetSchemesFolder(const char* folder) {
    schemesFolder = folder;
    schemeNames = RememberedSchemeNames{};
}

INT_PTR DlgManageSchemes::DoModal(HWND owner) { return Run(IDD_MANAGE_SCHEMES, owner); }

// Only clicks count; the dialog stays open after each of these buttons.
bool DlgManageSchemes::OnCommand(WORD id, WORD notification) {
    if (notification != BN_CLICKED) return false;
    switch (id) {
    case IDC_EDIT_SCHEME:
    case IDC_ADD_SCHEME: OnEditScheme(id); return true;
    case IDC_IMPORT_PACK: OnImportPack(); return true;
    case IDC_SCHEMES_HELP: OnHelp(); return true;
    default: return false;
    }
}

// The list box sorts the names, so the list is alphabetical whatever the listing order; the
// names at its first 25 positions are remembered for Edit.
void DlgManageSchemes::OnInitDialog() { FillList(); }

void DlgManageSchemes::FillList() {
    HWND list = GetDlgItem(window, IDC_SCHEMES_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    schemeNames = RememberedSchemeNames{};
    ListSchemeFolders(schemesFolder, [list](const char* name) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        return true;
    });
    const LRESULT listed = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (size_t i = 0; i < schemeNames.size() && static_cast<LRESULT>(i) < listed; ++i)
        schemeNames[i] = ListBoxTextA(list, i);
}

void DlgManageSchemes::OnEditScheme(int button) {
    const int selection =
        static_cast<int>(SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_GETCURSEL, 0, 0));
    const SchemeToOpen chosen =
        ChooseSchemeToOpen(button == IDC_EDIT_SCHEME, selection, schemeNames);
    schemeEditor.Prepare(chosen.name, chosen.isNew, schemesFolder);
    if (schemeEditor.DoModal(GetActiveWindow()) != IDOK) return;
    // The list is not refreshed: a new scheme shows from the next opening on.
    SchemeEdit edit;
    edit.openedName = schemeEditor.openedName;
    edit.openedTable = schemeEditor.openedTable;
    edit.openedReleases = schemeEditor.openedReleases;
    edit.name = schemeEditor.editedName;
    edit.rowFiles = schemeEditor.rowFiles;
    edit.rowSources = schemeEditor.rowSources;
    SaveScheme(schemesFolder, edit);
}

namespace {

std::wstring LoadedText(UINT id) {
    wchar_t text[512] = L"";
    LocLoadString(id, text, ARRAYSIZE(text));
    return text;
}

}  // namespace

// A new scheme is listed and selected at once; a refusal names the file and what is wrong.
void DlgManageSchemes::OnImportPack() {
    const std::string pack = AskForFileToOpen(window, IDS_IMPORT_FILTER, "config.json;*.zip");
    if (pack.empty()) return;
    const PackImportResult result = ImportPackHere(pack, schemesFolder);
    if (result.error != PackImportError::None) {
        const std::wstring text = LoadedText(IDS_IMPORT_FAILED) + L"\n\n" +
                                  AnsiToWide(result.file.c_str()) + L"\n" +
                                  LoadedText(ImportErrorStringId(result.error)) + L"\n(" +
                                  AnsiToWide(result.detail.c_str()) + L")";
        LocMessageBoxText(window, text, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    FillList();
    const LRESULT listed =
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(result.schemeName.c_str()));
    SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, static_cast<WPARAM>(listed), 0);
    if (result.skippedKeys != 0) {
        LocMessageBoxText(window,
                          FillSkippedKeysText(LoadedText(IDS_IMPORT_SKIPPED),
                                              AnsiToWide(result.schemeName.c_str()),
                                              result.skippedKeys),
                          MB_OK | MB_ICONINFORMATION);
    }
}

void DlgManageSchemes::OnHelp() { ShowHelpTopic(nullptr, kIntroTopic); }
