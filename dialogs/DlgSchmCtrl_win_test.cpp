#include "dialogs/DlgSchmCtrl.h"
#include "dialogs/SchemeSave.h"

#include "res/resource.h"
#include "schemes/KeyNames.h"
#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

DlgSchmCtrl* g_editor = nullptr;
std::function<void(HWND)> g_actOnEditor;

VOID CALLBACK ActOnEditor(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_editor && g_editor->window) g_actOnEditor(g_editor->window);
}

INT_PTR RunEditor(DlgSchmCtrl& editor, std::function<void(HWND)> act) {
    g_editor = &editor;
    g_actOnEditor = std::move(act);
    SetTimer(nullptr, 0, 100, ActOnEditor);
    return editor.DoModal(nullptr);
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// OK and Cancel alike keep the editor open on a name past 255 characters.
TEST(SchemeEditorDialog, NamesPastTheLimitKeepItOpen) {
    for (WORD button : {WORD{IDOK}, WORD{IDCANCEL}}) {
        DlgSchmCtrl editor;
        editor.Prepare("NewScheme", true, "c:\\no-such-folder\\");
        bool openAfterLongName = false;
        const INT_PTR result = RunEditor(editor, [&](HWND window) {
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
        const INT_PTR result = RunEditor(editor, [&](HWND window) {
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
    const INT_PTR result = RunEditor(editor, [](HWND window) {
        Click(window, IDC_CHANGE_SOUND);  // would open the file dialog and block with a row
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    for (const std::string& source : editor.rowSources) EXPECT_TRUE(source.empty());
}

// A missing file reads as "<missing>", so that it differs from an empty one.
std::string ReadAll(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return "<missing>";
    return ReadWholeFile(path);
}

size_t RowOf(const char* keyName) {
    for (size_t i = 0; i < EditableKeyNames.size(); ++i) {
        if (std::string(EditableKeyNames[i]) == keyName) return i;
    }
    return EditableKeyNames.size();
}

TEST(SchemeSaving, NewSchemeGetsItsFolderSoundsAndTwoLines) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    const std::string root = std::string(temp) + "tapvox-save-" +
                             std::to_string(GetCurrentProcessId()) + "\\";
    const std::string schemes = root + "Schemes\\";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(schemes.c_str(), nullptr);
    WriteWholeFile(root + "click.wav", "RIFF-a");
    WriteWholeFile(root + "thud.wav", "RIFF-space");

    SchemeRowFiles files;
    SchemeRowFiles sources;
    files[RowOf("SPACE")] = "thud.wav";
    sources[RowOf("SPACE")] = root + "thud.wav";
    files[RowOf("A")] = "click.wav";
    sources[RowOf("A")] = root + "click.wav";
    files[RowOf("B")] = "unchanged.wav";  // kept from before: named, nothing to copy
    SaveScheme(schemes, "NewScheme", files, sources);

    const std::string folder = schemes + "NewScheme\\";
    EXPECT_EQ(ReadAll(folder + "Scheme.txt"),
              "A=click.wav\r\nB=unchanged.wav\r\nSPACE=thud.wav\r\n");
    EXPECT_EQ(ReadAll(folder + "click.wav"), "RIFF-a");
    EXPECT_EQ(ReadAll(folder + "thud.wav"), "RIFF-space");
    EXPECT_EQ(ReadAll(folder + "unchanged.wav"), "<missing>");

    // Saving again into the same folder replaces the scheme file.
    SaveScheme(schemes, "NewScheme", SchemeRowFiles{}, SchemeRowFiles{});
    EXPECT_EQ(ReadAll(folder + "Scheme.txt"), "");

    for (const char* name : {"Scheme.txt", "click.wav", "thud.wav"}) {
        DeleteFileA((folder + name).c_str());
    }
    RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(schemes.c_str());
    DeleteFileA((root + "click.wav").c_str());
    DeleteFileA((root + "thud.wav").c_str());
    RemoveDirectoryA(root.c_str());
}

TEST(SchemeSaving, AnEmptySchemesFolderWritesNothingBesideTheCurrentFolder) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    const std::string current =
        std::string(temp) + "tapvox-cwd-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(current.c_str(), nullptr));
    char before[MAX_PATH];
    GetCurrentDirectoryA(ARRAYSIZE(before), before);
    ASSERT_TRUE(SetCurrentDirectoryA(current.c_str()));
    SaveScheme("", "NewScheme", SchemeRowFiles{}, SchemeRowFiles{});
    SetCurrentDirectoryA(before);
    EXPECT_EQ(ReadAll(current + "\\NewScheme\\Scheme.txt"), "<missing>");
    const bool folderMade = RemoveDirectoryA((current + "\\NewScheme").c_str()) != 0;
    EXPECT_FALSE(folderMade);
    RemoveDirectoryA(current.c_str());
}

}  // namespace
