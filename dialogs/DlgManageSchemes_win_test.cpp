#include "dialogs/DlgManageSchemes.h"

#include "app/SchemeFolders_win.h"
#include "res/resource.h"
#include "schemes/SchemeFile.h"
#include "tests/CodePageNames.h"
#include "tests/EditableKeyRow.h"
#include "tests/ListedSchemeNames_win.h"
#include "tests/ModalDialogDriver_win.h"
#include "tests/TestFolder_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// How many names the dialog listed when it opened, and how it ended.
struct ListOnOpening {
    INT_PTR result = 0;
    size_t listed = SIZE_MAX;  // not counted: the dialog never ran
};

ListOnOpening CountListedAndClose(DlgManageSchemes& dialog, WPARAM closeWith) {
    ListOnOpening opened;
    opened.result = RunDialogWith(dialog, [&](HWND window) {
        opened.listed = ListedNames(window).size();
        PostMessageA(window, WM_COMMAND, closeWith, 0);
    });
    return opened;
}

// What the editor showed when it opened, and how it was closed.
struct EditorSeen {
    std::string name;
    bool isNew = false;
    std::vector<std::string> lines;
};

// Reads what the editor shows, then closes it with closeWith.
EditorSeen InspectAndClose(DlgSchmCtrl& editor, WORD closeWith) {
    EditorSeen seen;
    char name[300] = {};
    GetDlgItemTextA(editor.window, IDC_SCHEME_NAME, name, sizeof(name));
    seen.name = name;
    seen.isNew = editor.isNewScheme;
    HWND list = GetDlgItem(editor.window, IDC_KEY_LIST);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char line[300] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        seen.lines.push_back(line);
    }
    PostMessageA(editor.window, WM_COMMAND, MAKEWPARAM(closeWith, BN_CLICKED), 0);
    return seen;
}

// Clicks a button of the dialog that opens the editor; the editor is inspected and closed from
// its own loop, and what it showed is added to seen.
void ClickThroughEditor(DlgManageSchemes& dialog, int id, WORD closeWith,
                        std::vector<EditorSeen>& seen) {
    DlgSchmCtrl& editor = dialog.schemeEditor;
    ActOnDialogSoon([&editor] { return editor.window; },
                    [&editor, closeWith, &seen](HWND) {
                        seen.push_back(InspectAndClose(editor, closeWith));
                    });
    Click(dialog.window, id);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A schemes folder of the test's own in the temporary folder.
class TemporarySchemes : public TestFolder {
public:
    TemporarySchemes() : TestFolder(TemporaryPathFor("tapvox-manage-")) {}
};

TEST(ManageSchemesDialog, ListsSchemeFoldersAlphabeticallyAndOpensTheChosenOne) {
    TemporarySchemes schemes;
    for (const char* name : {"gamma", "Alpha", "beta"}) schemes.AddFolder(name);
    schemes.AddFolder(".hidden");
    schemes.AddFile("notes.txt");
    schemes.AddFile("beta\\Scheme.txt", "CHARS=c.wav\r\nENTER=ding.wav\r\n");

    DlgManageSchemes dialog;
    dialog.SetSchemesFolder(schemes.Path().c_str());
    std::vector<std::string> listed;
    std::vector<std::string> listedAfterSave;
    int initialSelection = 0;
    std::vector<EditorSeen> editorsSeen;
    const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
        listed = ListedNames(window);
        initialSelection =
            static_cast<int>(SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_GETCURSEL, 0, 0));
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, 1, 0);
        ClickThroughEditor(dialog, IDC_EDIT_SCHEME, IDCANCEL, editorsSeen);
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ClickThroughEditor(dialog, IDC_EDIT_SCHEME, IDCANCEL, editorsSeen);
        ClickThroughEditor(dialog, IDC_ADD_SCHEME, IDOK, editorsSeen);
        listedAfterSave = ListedNames(window);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);

    EXPECT_EQ(listed, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(initialSelection, LB_ERR) << "no initial selection";
    EXPECT_EQ(dialog.schemeNames[1], "beta");
    EXPECT_EQ(dialog.schemeNames[3], "");

    ASSERT_EQ(editorsSeen.size(), 3u);
    const EditorSeen& edited = editorsSeen[0];
    EXPECT_EQ(edited.name, "beta");
    EXPECT_FALSE(edited.isNew);
    ASSERT_EQ(edited.lines.size(), 75u);
    EXPECT_EQ(edited.lines[0], "A - c.wav") << "a group word shows on each of its keys";
    EXPECT_EQ(edited.lines[25], "Z - c.wav");
    EXPECT_EQ(edited.lines[26], "NUMPAD0 - ");
    EXPECT_EQ(edited.lines[49], "ENTER - ding.wav");
    EXPECT_EQ(editorsSeen[1].name, "NewScheme") << "Edit without a selection";
    EXPECT_TRUE(editorsSeen[1].isNew);
    for (const std::string& line : editorsSeen[2].lines) {
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
    schemes.AddFolder(longName);
    schemes.AddFile(longName + "\\Scheme.txt", "CHARS=c.wav\r\n");

    DlgManageSchemes dialog;
    dialog.SetSchemesFolder(schemes.Path().c_str());
    std::vector<EditorSeen> editorsSeen;
    const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, 0, 0);
        ClickThroughEditor(dialog, IDC_EDIT_SCHEME, IDCANCEL, editorsSeen);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(editorsSeen.size(), 1u);
    EXPECT_EQ(editorsSeen[0].name, longName);
    EXPECT_EQ(editorsSeen[0].lines[0], "A - ");
}

TEST(ManageSchemesDialog, ListsEveryFolderButRemembersTwentyFive) {
    TemporarySchemes schemes;
    for (int i = 0; i < 30; ++i) schemes.AddFolder("S" + std::to_string(100 + i));
    DlgManageSchemes dialog;
    dialog.SetSchemesFolder(schemes.Path().c_str());
    const ListOnOpening opened = CountListedAndClose(dialog, IDCANCEL);
    EXPECT_EQ(opened.result, IDCANCEL);
    EXPECT_EQ(opened.listed, 30u);
    EXPECT_EQ(dialog.schemeNames[24], "S124");
}

TEST(ManageSchemesDialog, MissingFolderGivesAnEmptyList) {
    DlgManageSchemes dialog;
    dialog.SetSchemesFolder("c:\\no-such-folder\\Schemes\\");
    const ListOnOpening opened = CountListedAndClose(dialog, IDOK);
    EXPECT_EQ(opened.result, IDOK);
    EXPECT_EQ(opened.listed, 0u);
}

// The staged program's schemes folder, as Wine names the Linux path; empty when not known.
std::string StagedSchemesFolder() {
    const char* dist = std::getenv("TAPVOX_DIST");
    if (dist == nullptr || *dist == '\0') return {};
    std::string folder = std::string(dist[0] == '/' ? "Z:" : "") + dist + "\\Schemes\\";
    for (char& c : folder) {
        if (c == '/') c = '\\';
    }
    return folder;
}

// The first staged scheme, in name order, whose file uses the "CHARS" group word (the only
// way to give the grave accent and backslash keys a sound) for presses and releases alike.
std::string BundledSchemeWithGroupWords(const std::string& schemesFolder) {
    std::vector<std::string> names;
    ListSchemeFolders(schemesFolder, [&names](const char* name) {
        names.push_back(name);
        return true;
    });
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string file = ChooseSchemeFile(schemesFolder + name + "\\");
        const std::string text = file.empty() ? std::string() : ReadWholeFile(file);
        if (text.find("CHARS=") != std::string::npos &&
            text.find("CHARS.UP=") != std::string::npos)
            return name;
    }
    return {};
}

// The files of a folder, without sub-folders.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

// Where SoundsByKey keeps the release sounds: after the presses.
constexpr size_t kReleasesFrom = 256;

// What every key code plays in a scheme folder, pressed and then released: the bytes of its
// sound, empty when silent.
std::vector<std::string> SoundsByKey(const std::string& folder) {
    KeySoundTable presses;
    KeySoundTable releases;
    ReadSchemeFile(folder, presses, &releases);
    std::vector<std::string> sounds(kReleasesFrom + releases.size());
    for (size_t code = 0; code < presses.size(); ++code) {
        if (!presses[code].empty()) sounds[code] = ReadWholeFile(folder + presses[code]);
        if (!releases[code].empty())
            sounds[kReleasesFrom + code] = ReadWholeFile(folder + releases[code]);
    }
    return sounds;
}

// A bundled scheme opened in the editor, one key changed, OK: every other key sounds as it did,
// the keys the editor does not list and the two only "CHARS" reaches among them, and every
// key's release, whether the scheme is saved under its own name or a new one.
TEST(ManageSchemesDialog, SavingABundledSchemeKeepsEverySound) {
    const std::string staged = StagedSchemesFolder();
    ASSERT_FALSE(staged.empty()) << "TAPVOX_DIST names the staged program folder";
    const std::string bundled = BundledSchemeWithGroupWords(staged);
    ASSERT_FALSE(bundled.empty()) << "a bundled scheme with group words";

    for (const char* savedName : {"", "Renamed"}) {
        SCOPED_TRACE(*savedName ? "renamed" : "same name");
        TemporarySchemes schemes;
        schemes.AddFolder(bundled);
        for (const std::string& file : FilesIn(staged + bundled + "\\"))
            schemes.AddFile(bundled + "\\" + file, ReadWholeFile(staged + bundled + "\\" + file));
        ASSERT_TRUE(schemes.AddFile("changed.wav", "RIFF-changed"));
        const std::vector<std::string> before = SoundsByKey(schemes.Path() + bundled + "\\");
        ASSERT_FALSE(before[192].empty());
        ASSERT_FALSE(before[KeyCodeFromName("F5")].empty());
        ASSERT_FALSE(before[kReleasesFrom + 192].empty());
        ASSERT_FALSE(before[kReleasesFrom + KeyCodeFromName("SHIFT")].empty());

        DlgManageSchemes dialog;
        dialog.SetSchemesFolder(schemes.Path().c_str());
        DlgSchmCtrl& editor = dialog.schemeEditor;
        const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
            SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, 0, 0);
            ActOnDialogSoon([&editor] { return editor.window; }, [&](HWND editorWindow) {
                if (*savedName) SetDlgItemTextA(editorWindow, IDC_SCHEME_NAME, savedName);
                editor.rowFiles[RowOf("A")] = "changed.wav";
                editor.rowSources[RowOf("A")] = schemes.Path() + "changed.wav";
                PostMessageA(editorWindow, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            });
            Click(window, IDC_EDIT_SCHEME);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(result, IDOK);

        const std::string savedFolder = schemes.Path() + (*savedName ? savedName : bundled) + "\\";
        const std::vector<std::string> after = SoundsByKey(savedFolder);
        for (size_t code = 1; code < before.size(); ++code) {
            if (code == KeyCodeFromName("A")) continue;
            EXPECT_TRUE(after[code] == before[code]) << "key code " << code;
        }
        EXPECT_EQ(after[KeyCodeFromName("A")], "RIFF-changed");

        for (const std::string& file : FilesIn(savedFolder)) DeleteFileA((savedFolder + file).c_str());
        RemoveDirectoryA(savedFolder.c_str());
    }
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

// The test runs under every code page ctest starts it in.
TEST(ManageSchemesDialog, NamesBeyondAsciiAreSavedAndOpenedExactlyAsTyped) {
    const NarrowNames names = NamesOfThisCodePage();
    if (!names.found) return;

    TemporarySchemes schemes;
    const std::wstring schemesWide = Wide(schemes.Path());
    const std::wstring folder = schemesWide + names.wideScheme + L"\\";
    const std::string source = schemes.Path() + "source.wav";
    ASSERT_TRUE(schemes.AddFile("source.wav", "RIFF-sound"));

    {  // Add New Scheme: the name typed into the wide name box, a sound for "A", OK.
        DlgManageSchemes dialog;
        dialog.SetSchemesFolder(schemes.Path().c_str());
        DlgSchmCtrl& editor = dialog.schemeEditor;
        const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
            ActOnDialogSoon([&editor] { return editor.window; }, [&](HWND editorWindow) {
                SetDlgItemTextW(editorWindow, IDC_SCHEME_NAME, names.wideScheme);
                editor.rowFiles[0] = names.sound;
                editor.rowSources[0] = source;
                PostMessageA(editorWindow, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            });
            Click(window, IDC_ADD_SCHEME);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(editor.editedName, names.scheme);
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        << "the scheme's folder";
    EXPECT_EQ(ReadWide(folder + L"Scheme.txt"), "A=" + names.sound + "\r\n");
    EXPECT_EQ(ReadWide(folder + names.wideSound), "RIFF-sound");

    {  // The list shows the folder's name, and Edit opens that scheme with its sound.
        DlgManageSchemes dialog;
        dialog.SetSchemesFolder(schemes.Path().c_str());
        std::vector<EditorSeen> editorsSeen;
        std::wstring shown;
        const INT_PTR result = RunDialogWith(dialog, [&](HWND window) {
            wchar_t line[256] = {};
            SendDlgItemMessageW(window, IDC_SCHEMES_LIST, LB_GETTEXT, 0,
                                reinterpret_cast<LPARAM>(line));
            shown = line;
            SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, 0, 0);
            ClickThroughEditor(dialog, IDC_EDIT_SCHEME, IDCANCEL, editorsSeen);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_TRUE(shown == names.wideScheme) << "the list shows the folder's name";
        EXPECT_EQ(dialog.schemeNames[0], names.scheme);
        ASSERT_EQ(editorsSeen.size(), 1u);
        EXPECT_EQ(editorsSeen[0].name, names.scheme);
        ASSERT_FALSE(editorsSeen[0].lines.empty());
        EXPECT_EQ(editorsSeen[0].lines[0], "A - " + names.sound);
    }

    DeleteFileW((folder + L"Scheme.txt").c_str());
    DeleteFileW((folder + names.wideSound).c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
