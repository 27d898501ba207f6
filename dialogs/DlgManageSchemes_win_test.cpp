#include "dialogs/DlgManageSchemes.h"

#include "res/resource.h"
#include "tests/CodePageNames.h"
#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

DlgManageSchemes* g_manage = nullptr;
std::function<void(HWND)> g_actOnList;

VOID CALLBACK ActOnManageDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_manage && g_manage->window) g_actOnList(g_manage->window);
}

// A schemes folder in the temporary folder, removed with everything made in it.
class TemporarySchemes {
public:
    TemporarySchemes() {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        path_ = std::string(temp) + "tapvox-manage-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TemporarySchemes() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            if (!RemoveDirectoryA(it->c_str())) DeleteFileA(it->c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    void Folder(const std::string& name) {
        made_.push_back(path_ + name);
        CreateDirectoryA(made_.back().c_str(), nullptr);
    }
    void File(const std::string& name) {
        made_.push_back(path_ + name);
        CloseHandle(CreateFileA(made_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> made_;
};

std::vector<std::string> ListedNames(HWND dialog) {
    std::vector<std::string> names;
    HWND list = GetDlgItem(dialog, IDC_SCHEMES_LIST);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char name[256] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
        names.push_back(name);
    }
    return names;
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// What the editor showed when it opened, and how it was closed.
struct EditorSeen {
    std::string name;
    bool isNew = false;
    std::vector<std::string> lines;
};
std::vector<EditorSeen> g_editorsSeen;
WORD g_closeEditorWith = IDCANCEL;

VOID CALLBACK InspectAndCloseEditor(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND editor = g_manage ? g_manage->schemeEditor.window : nullptr;
    if (!editor) return;
    EditorSeen seen;
    char name[300] = {};
    GetDlgItemTextA(editor, IDC_SCHEME_NAME, name, sizeof(name));
    seen.name = name;
    seen.isNew = g_manage->schemeEditor.isNewScheme;
    HWND list = GetDlgItem(editor, IDC_KEY_LIST);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char line[300] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        seen.lines.push_back(line);
    }
    g_editorsSeen.push_back(seen);
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(g_closeEditorWith, BN_CLICKED), 0);
}

// Clicks a button that opens the editor; the editor is inspected and closed from its own loop.
void ClickThroughEditor(HWND dialog, int id, WORD closeWith) {
    g_closeEditorWith = closeWith;
    SetTimer(nullptr, 0, 100, InspectAndCloseEditor);
    Click(dialog, id);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(ManageSchemesDialog, ListsSchemeFoldersAlphabeticallyAndOpensTheChosenOne) {
    TemporarySchemes schemes;
    for (const char* name : {"gamma", "Alpha", "beta"}) schemes.Folder(name);
    schemes.Folder(".hidden");
    schemes.File("notes.txt");
    schemes.File("beta\\Scheme.txt");
    {
        HANDLE file = CreateFileA((schemes.Path() + "beta\\Scheme.txt").c_str(), GENERIC_WRITE,
                                  0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        const char text[] = "CHARS=c.wav\r\nENTER=ding.wav\r\n";
        DWORD written = 0;
        WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
        CloseHandle(file);
    }

    DlgManageSchemes dialog;
    dialog.SetSchemesFolder(schemes.Path().c_str());
    std::vector<std::string> listed;
    std::vector<std::string> listedAfterSave;
    int initialSelection = 0;
    g_manage = &dialog;
    g_editorsSeen.clear();
    g_actOnList = [&](HWND window) {
        listed = ListedNames(window);
        initialSelection =
            static_cast<int>(SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_GETCURSEL, 0, 0));
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, 1, 0);
        ClickThroughEditor(window, IDC_EDIT_SCHEME, IDCANCEL);
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ClickThroughEditor(window, IDC_EDIT_SCHEME, IDCANCEL);
        ClickThroughEditor(window, IDC_ADD_SCHEME, IDOK);
        listedAfterSave = ListedNames(window);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    };
    SetTimer(nullptr, 0, 100, ActOnManageDialog);
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);

    EXPECT_EQ(listed, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(initialSelection, LB_ERR) << "no initial selection";
    EXPECT_EQ(dialog.schemeNames[1], "beta");
    EXPECT_EQ(dialog.schemeNames[3], "");

    ASSERT_EQ(g_editorsSeen.size(), 3u);
    const EditorSeen& edited = g_editorsSeen[0];
    EXPECT_EQ(edited.name, "beta");
    EXPECT_FALSE(edited.isNew);
    ASSERT_EQ(edited.lines.size(), 75u);
    EXPECT_EQ(edited.lines[0], "A - c.wav") << "a group word shows on each of its keys";
    EXPECT_EQ(edited.lines[25], "Z - c.wav");
    EXPECT_EQ(edited.lines[26], "NUMPAD0 - ");
    EXPECT_EQ(edited.lines[49], "ENTER - ding.wav");
    EXPECT_EQ(g_editorsSeen[1].name, "NewScheme") << "Edit without a selection";
    EXPECT_TRUE(g_editorsSeen[1].isNew);
    for (const std::string& line : g_editorsSeen[2].lines) {
        EXPECT_EQ(line.substr(line.size() - 3), " - ") << line;
    }

    // Cancel wrote nothing; OK on the new scheme made its folder and an empty scheme file.
    EXPECT_FALSE(FileExists(schemes.Path() + "NewScheme\\a.wav"));
    EXPECT_TRUE(FileExists(schemes.Path() + "NewScheme\\Scheme.txt"));
    EXPECT_EQ(listedAfterSave, listed) << "the list is not refreshed";
    DeleteFileA((schemes.Path() + "NewScheme\\Scheme.txt").c_str());
    RemoveDirectoryA((schemes.Path() + "NewScheme").c_str());
}

TEST(ManageSchemesDialog, SchemeNamesTheSchemeSetCannotLoadShowNoSounds) {
    TemporarySchemes schemes;
    const std::string longName(25, 'L');
    schemes.Folder(longName);
    schemes.File(longName + "\\Scheme.txt");
    HANDLE file = CreateFileA((schemes.Path() + longName + "\\Scheme.txt").c_str(),
                              GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    DWORD written = 0;
    WriteFile(file, "CHARS=c.wav\r\n", 13, &written, nullptr);
    CloseHandle(file);

    DlgManageSchemes dialog;
    dialog.SetSchemesFolder(schemes.Path().c_str());
    g_manage = &dialog;
    g_editorsSeen.clear();
    g_actOnList = [&](HWND window) {
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, 0, 0);
        ClickThroughEditor(window, IDC_EDIT_SCHEME, IDCANCEL);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    };
    SetTimer(nullptr, 0, 100, ActOnManageDialog);
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_EQ(g_editorsSeen.size(), 1u);
    EXPECT_EQ(g_editorsSeen[0].name, longName);
    EXPECT_EQ(g_editorsSeen[0].lines[0], "A - ");
}

TEST(ManageSchemesDialog, ListsEveryFolderButRemembersTwentyFive) {
    TemporarySchemes schemes;
    for (int i = 0; i < 30; ++i) schemes.Folder("S" + std::to_string(100 + i));
    DlgManageSchemes dialog;
    dialog.SetSchemesFolder(schemes.Path().c_str());
    size_t listed = 0;
    g_manage = &dialog;
    g_actOnList = [&](HWND window) {
        listed = ListedNames(window).size();
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    };
    SetTimer(nullptr, 0, 100, ActOnManageDialog);
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(listed, 30u);
    EXPECT_EQ(dialog.schemeNames[24], "S124");
}

TEST(ManageSchemesDialog, MissingFolderGivesAnEmptyList) {
    DlgManageSchemes dialog;
    dialog.SetSchemesFolder("c:\\no-such-folder\\Schemes\\");
    size_t listed = 1;
    g_manage = &dialog;
    g_actOnList = [&](HWND window) {
        listed = ListedNames(window).size();
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    };
    SetTimer(nullptr, 0, 100, ActOnManageDialog);
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_EQ(listed, 0u);
}

std::wstring Wide(const std::string& text) {
    wchar_t wide[256] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, ARRAYSIZE(wide));
    return wide;
}

// Read through the wide calls, so the name on disk is tested as it is, not as narrowed.
std::string ReadWide(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char bytes[256];
    DWORD read = 0;
    ReadFile(file, bytes, sizeof(bytes), &read, nullptr);
    CloseHandle(file);
    return std::string(bytes, read);
}

std::function<void(DlgSchmCtrl&)> g_editorAction;

VOID CALLBACK ActOnEditorThenOk(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    DlgSchmCtrl* editor = g_manage ? &g_manage->schemeEditor : nullptr;
    if (!editor || !editor->window) return;
    g_editorAction(*editor);
    PostMessageA(editor->window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// The test runs under every code page ctest starts it in.
TEST(ManageSchemesDialog, NamesBeyondAsciiAreSavedAndOpenedExactlyAsTyped) {
    const NarrowNames narrow = NamesOfThisCodePage();
    if (narrow.names == nullptr) GTEST_SKIP() << "no names for code page " << GetACP();
    const CodePageNames* names = narrow.names;
    const std::string& scheme = narrow.scheme;
    const std::string& sound = narrow.sound;

    TemporarySchemes schemes;
    const std::wstring schemesWide = Wide(schemes.Path());
    const std::wstring folder = schemesWide + names->scheme + L"\\";
    const std::string source = schemes.Path() + "source.wav";
    ASSERT_TRUE(WriteWholeFile(source, "RIFF-sound"));

    {  // Add New Scheme: the name typed into the wide name box, a sound for "A", OK.
        DlgManageSchemes dialog;
        dialog.SetSchemesFolder(schemes.Path().c_str());
        g_manage = &dialog;
        g_editorAction = [&](DlgSchmCtrl& editor) {
            SetDlgItemTextW(editor.window, IDC_SCHEME_NAME, names->scheme);
            editor.rowFiles[0] = sound;
            editor.rowSources[0] = source;
        };
        g_actOnList = [&](HWND window) {
            SetTimer(nullptr, 0, 100, ActOnEditorThenOk);
            Click(window, IDC_ADD_SCHEME);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        };
        SetTimer(nullptr, 0, 100, ActOnManageDialog);
        EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
        EXPECT_EQ(dialog.schemeEditor.editedName, scheme);
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        << "the scheme's folder";
    EXPECT_EQ(ReadWide(folder + L"Scheme.txt"), "A=" + sound + "\r\n");
    EXPECT_EQ(ReadWide(folder + names->sound), "RIFF-sound");

    {  // The list shows the folder's name, and Edit opens that scheme with its sound.
        DlgManageSchemes dialog;
        dialog.SetSchemesFolder(schemes.Path().c_str());
        g_manage = &dialog;
        g_editorsSeen.clear();
        std::wstring shown;
        g_actOnList = [&](HWND window) {
            wchar_t line[256] = {};
            SendDlgItemMessageW(window, IDC_SCHEMES_LIST, LB_GETTEXT, 0,
                                reinterpret_cast<LPARAM>(line));
            shown = line;
            SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, 0, 0);
            ClickThroughEditor(window, IDC_EDIT_SCHEME, IDCANCEL);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        };
        SetTimer(nullptr, 0, 100, ActOnManageDialog);
        EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
        EXPECT_TRUE(shown == names->scheme) << "the list shows the folder's name";
        EXPECT_EQ(dialog.schemeNames[0], scheme);
        ASSERT_EQ(g_editorsSeen.size(), 1u);
        EXPECT_EQ(g_editorsSeen[0].name, scheme);
        ASSERT_FALSE(g_editorsSeen[0].lines.empty());
        EXPECT_EQ(g_editorsSeen[0].lines[0], "A - " + sound);
    }

    DeleteFileW((folder + L"Scheme.txt").c_str());
    DeleteFileW((folder + names->sound).c_str());
    RemoveDirectoryW(folder.c_str());
    DeleteFileA(source.c_str());
}

}  // namespace
