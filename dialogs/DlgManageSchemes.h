#pragma once
// The Manage Schemes dialog: lists the scheme folders on disk, alphabetically, and opens the
// scheme editor for the selected scheme or for a new one, saving it when the editor ends with OK,
// and imports a sound pack as a new scheme.

#include "dialogs/DlgSchmCtrl.h"
#include "dialogs/ModalDialog.h"
#include "dialogs/SchemeToOpen.h"

#include <string>

class DlgManageSchemes : public ModalDialog {
public:
    // The schemes folder, ending in a backslash; called before each opening.
    void SetSchemesFolder(const char* folder);
    INT_PTR DoModal(HWND owner);

    std::string schemesFolder;
    RememberedSchemeNames schemeNames;
    DlgSchmCtrl schemeEditor;

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification) override;

private:
    void FillList();
    void OnEditScheme(int button);
    void OnImportPack();
    void OnHelp();
};
