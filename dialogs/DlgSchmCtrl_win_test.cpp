#include "dialogs/DlgSchmCtrl.h"

#include "res/resource.h"
#include "tests/ModalDialogDriver_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// OK and Cancel alike keep the editor open on a name past 255 characters.
TEST(SchemeEditorDialog, NamesPastTheLimitKeepItOpen) {
    for (WORD button : {WORD{IDOK}, WORD{IDCANCEL}}) {
        DlgSchmCtrl editor;
        editor.Prepare("NewScheme", true, "c:\\no-such-folder\\");
        bool openAfterLongName = false;
        const INT_PTR result = RunDialogWith(editor, [&](HWND window) {
            SetDlgItemTextA(window, IDC_SCHEME_NAME, std::string(256, 'n').c_str());
            Click(window, button);
            openAfterLongName = IsWindow(window) && editor.window == window;
            SetDlgItemTextA(window, IDC_SCHEME_NAME, std::string(255, 'n').c_str());
            Click(window, button);
        });
        EXPECT_EQ(result, button);
        EXPECT_TRUE(openAfterLongName) << button;
        EXPECT_EQ(editor.editedName, std::string(255, 'n'));
    }
}

// Each opening records the schemes folder beside the program, for new and existing schemes.
TEST(SchemeEditorDialog, OpeningRecordsTheSchemesFolder) {
    constexpr char kProgramKey[] = "Software\\Quillmark\\Tapvox";
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, ARRAYSIZE(program));
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, ARRAYSIZE(program));
    std::string expected(program);
    expected = expected.substr(0, expected.rfind('\\') + 1) + "Schemes\\";
    for (bool newScheme : {true, false}) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kProgramKey, "SchemesPath");
        DlgSchmCtrl editor;
        editor.Prepare("Existing", newScheme, "c:\\no-such-folder\\");
        std::string recorded;
        const INT_PTR result = RunDialogWith(editor, [&](HWND window) {
            char value[MAX_PATH] = {};
            DWORD size = sizeof(value);
            if (RegGetValueA(HKEY_CURRENT_USER, kProgramKey, "SchemesPath", RRF_RT_REG_SZ,
                             nullptr, value, &size) == ERROR_SUCCESS)
                recorded = value;
            Click(window, IDCANCEL);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(recorded, expected) << (newScheme ? "new scheme" : "existing scheme");
    }
}

TEST(SchemeEditorDialog, ChangeSoundWithoutARowDoesNothing) {
    DlgSchmCtrl editor;
    editor.Prepare("Renamed", true, "c:\\no-such-folder\\");
    const INT_PTR result = RunDialogWith(editor, [](HWND window) {
        Click(window, IDC_CHANGE_SOUND);  // would open the file dialog and block with a row
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    for (const std::string& source : editor.rowSources) EXPECT_TRUE(source.empty());
}

}  // namespace
