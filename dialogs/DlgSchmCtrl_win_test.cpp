#include "dialogs/DlgSchmCtrl.h"

#include "lang/Localization.h"
#include "res/resource.h"
#include "tests/ModalDialogDriver_win.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

// OK and Cancel alike keep the editor open on a name past 255 characters. Cancel then takes any
// name up to 255; OK takes only one the scheme set can load.
TEST(SchemeEditorDialog, NamesPastTheLimitKeepItOpen) {
    const struct {
        WORD button;
        std::string taken;
    } cases[] = {{IDOK, std::string(24, 'n')}, {IDCANCEL, std::string(255, 'n')}};
    for (const auto& c : cases) {
        DlgSchmCtrl editor;
        editor.Prepare("NewScheme", true, "c:\\no-such-folder\\");
        bool openAfterLongName = false;
        const INT_PTR result = RunDialogWith(editor, [&](HWND window) {
            SetDlgItemTextA(window, IDC_SCHEME_NAME, std::string(256, 'n').c_str());
            Click(window, c.button);
            openAfterLongName = IsWindow(window) && editor.window == window;
            SetDlgItemTextA(window, IDC_SCHEME_NAME, c.taken.c_str());
            Click(window, c.button);
        });
        EXPECT_EQ(result, c.button);
        EXPECT_TRUE(openAfterLongName) << c.button;
        EXPECT_EQ(editor.editedName, c.taken);
    }
}

struct OwnedBoxSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<OwnedBoxSearch*>(param);
    char windowClass[16] = {};
    GetClassNameA(window, windowClass, sizeof(windowClass));
    if (GetWindow(window, GW_OWNER) != search->owner || lstrcmpA(windowClass, "#32770") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The message box the editor shows, found among the windows it owns; null when none is open.
HWND MessageBoxOwnedBy(HWND owner) {
    OwnedBoxSearch search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Each name that cannot be a scheme's gets its own message on OK, and the editor stays open with
// the name as typed; the message's text is the program's localized string.
TEST(SchemeEditorDialog, OkRefusesNamesThatCannotBeASchemeWithAMessage) {
    const struct {
        const char* name;
        UINT message;
    } cases[] = {
        {"", IDS_NAME_EMPTY_OR_DOT},
        {"..", IDS_NAME_EMPTY_OR_DOT},
        {"a\\b", IDS_NAME_FORBIDDEN_CHARACTER},
        {"nul.wav", IDS_NAME_DEVICE},
        {"Scheme.", IDS_NAME_TRAILING_DOT_OR_BLANK},
        {"twenty-five characters!!!", IDS_NAME_TOO_LONG},
    };
    DlgSchmCtrl editor;
    editor.Prepare("NewScheme", true, "c:\\no-such-folder\\");
    std::vector<std::wstring> shown;
    std::vector<bool> stayedOpen;
    const INT_PTR result = RunDialogWith(editor, [&](HWND window) {
        for (const auto& c : cases) {
            SetDlgItemTextA(window, IDC_SCHEME_NAME, c.name);
            ActOnDialogSoon([window] { return MessageBoxOwnedBy(window); }, [&shown](HWND box) {
                wchar_t text[512] = {};
                GetDlgItemTextW(box, 0xFFFF, text, ARRAYSIZE(text));  // the box's text
                shown.push_back(text);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            });
            Click(window, IDOK);
            stayedOpen.push_back(IsWindow(window) && editor.window == window);
        }
        SetDlgItemTextA(window, IDC_SCHEME_NAME, "Fine Name");
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(editor.editedName, "Fine Name");
    ASSERT_EQ(shown.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        wchar_t expected[512] = {};
        ASSERT_GT(LocLoadStringW(cases[i].message, expected, ARRAYSIZE(expected)), 0);
        EXPECT_EQ(shown[i], expected) << '"' << cases[i].name << '"';
        EXPECT_TRUE(stayedOpen[i]) << '"' << cases[i].name << '"';
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
