#include "dialogs/DlgSchmCtrl.h"

#include "audio/WavePlayer.h"
#include "audio/WavePlayer_win.h"
#include "lang/Localization.h"
#include "res/resource.h"
#include "tests/EditableKeyRow.h"
#include "tests/ModalDialogDriver_win.h"
#include "tests/TestFolder_win.h"
#include "tests/TestWav.h"

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

// The image the play call holds now: the sound it was last given, empty when stopped.
std::vector<uint8_t> HeldImage() {
    const PlayingWaveImage held = CurrentPlayingWaveImage();
    return std::vector<uint8_t>(held.data, held.data + held.size);
}

// What the play call gets for a file played at a volume, as a key would play it.
std::vector<uint8_t> PlayedImage(const std::vector<uint8_t>& file, unsigned volume) {
    WavePlayer::Wave wave(file);
    wave.ApplyFilterAndVolume(volume, FilterNone);
    return std::vector<uint8_t>(wave.PlayImageData(), wave.PlayImageData() + wave.PlayImageSize());
}

// Play and a double click on a row sound that row's file in the opened scheme, through the play
// call, at the volume the program plays keys at; a row without a sound, or none selected, plays
// nothing.
TEST(SchemeEditorDialog, PlayAndDoubleClickSoundTheSelectedRowsFile) {
    TestFolder schemes(TemporaryPathFor("tvx-play-"));
    schemes.AddFolder("Clicks");
    const TestWavFormat format{1, 22050, 16, 2};
    const std::vector<uint8_t> a = MakePlayableTestWav(format, TestSamples(22050, 1));
    const std::vector<uint8_t> enter = MakePlayableTestWav(format, TestSamples(22050, 2));
    ASSERT_TRUE(schemes.AddFile("Clicks\\a.wav", std::string(a.begin(), a.end())));
    ASSERT_TRUE(schemes.AddFile("Clicks\\enter.wav", std::string(enter.begin(), enter.end())));
    ASSERT_TRUE(schemes.AddFile("Clicks\\Scheme.txt", "A=a.wav\r\nENTER=enter.wav\r\n"));
    enum class Gesture { PlayButton, DoubleClick };
    const struct {
        const char* what;
        const char* row;  // nullptr: no row selected
        Gesture gesture;
        int volume;
        std::vector<uint8_t> played;
    } cases[] = {
        {"Play on A", "A", Gesture::PlayButton, 100, PlayedImage(a, 100)},
        {"double click on ENTER", "ENTER", Gesture::DoubleClick, 100, PlayedImage(enter, 100)},
        {"Play at the program's volume", "A", Gesture::PlayButton, 30, PlayedImage(a, 30)},
        {"a row without a sound", "B", Gesture::PlayButton, 100, {}},
        {"no row selected", nullptr, Gesture::DoubleClick, 100, {}},
    };
    ASSERT_NE(PlayedImage(a, 30), PlayedImage(a, 100));
    for (const auto& c : cases) {
        StopWavePlayback();
        DlgSchmCtrl editor;
        editor.Prepare("Clicks", false, schemes.Path());
        editor.playVolume = c.volume;
        std::vector<uint8_t> played;
        RunDialogWith(editor, [&](HWND window) {
            HWND list = GetDlgItem(window, IDC_KEY_LIST);
            if (c.row) SendMessageA(list, LB_SETCURSEL, RowOf(c.row), 0);
            if (c.gesture == Gesture::PlayButton)
                Click(window, IDC_PLAY_SOUND);
            else
                SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_KEY_LIST, LBN_DBLCLK),
                             reinterpret_cast<LPARAM>(list));
            played = HeldImage();
            Click(window, IDCANCEL);
        });
        EXPECT_EQ(played, c.played) << c.what;
    }
    StopWavePlayback();
}

}  // namespace
