#include "dialogs/DlgManageSchemes.h"

#include "res/resource.h"
#include "tests/ListedSchemeNames_win.h"
#include "tests/ModalDialogDriver_win.h"
#include "tests/TestFolder_win.h"
#include "tests/TestWav.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The file name box of the system's file dialog: cmb13 on Windows, edt1 in Wine.
constexpr int kFileNameBoxes[] = {0x47C, 0x480};
// How often a window that opens after a piece of work is looked for before giving up.
constexpr int kLooksForWindow = 1000;

struct OwnedSearch {
    HWND owner;
    HWND notThis;
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<OwnedSearch*>(search);
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (window == s->notThis || GetWindow(window, GW_OWNER) != s->owner ||
        std::string(className) != "#32770" || !IsWindowVisible(window)) {
        return TRUE;
    }
    s->found = window;
    return FALSE;
}

// The visible dialog (file dialog or message box) that owner opened, other than notThis; null
// when none is open.
HWND OwnedDialog(HWND owner, HWND notThis = nullptr) {
    OwnedSearch search{owner, notThis, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Acts on the dialog owner opens (other than notThis) once it is open, looking again from the
// loop that runs.
void ActWhenOpen(HWND owner, HWND notThis, std::function<void(HWND)> act,
                 int looks = kLooksForWindow) {
    ActOnDialogSoon([owner] { return owner; }, [owner, notThis, act, looks](HWND) {
        if (HWND opened = OwnedDialog(owner, notThis)) {
            act(opened);
        } else if (looks > 0) {
            ActWhenOpen(owner, notThis, act, looks - 1);
        }
    }, 20);
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM text) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof(className));
    if (std::string(className) == "Static") {
        char line[1024] = "";
        GetWindowTextA(child, line, sizeof(line));
        *reinterpret_cast<std::string*>(text) += line;
    }
    return TRUE;
}

// Chooses the file in the file dialog, as typing its path and pressing Open would.
void ChooseFile(HWND fileDialog, const std::string& path) {
    for (int box : kFileNameBoxes) {
        if (GetDlgItem(fileDialog, box)) {
            SetDlgItemTextA(fileDialog, box, path.c_str());
            break;
        }
    }
    PostMessageA(GetDlgItem(fileDialog, IDOK), BM_CLICK, 0, 0);
}

// A schemes folder and a pack folder of the test's own.
class ImportFolders : public testing::Test {
protected:
    ImportFolders()
        : root_(TemporaryPathFor("tapvox-import-")), schemes_(root_.Path() + "Schemes"),
          pack_(root_.Path() + "pack") {}

    // Imports path through the dialog; what the message box said, if one opened, and the
    // list afterwards with its selection.
    void Import(const std::string& path) {
        DlgManageSchemes dialog;
        dialog.SetSchemesFolder(schemes_.Path().c_str());
        RunDialogWith(dialog, [&](HWND window) {
            ActWhenOpen(window, nullptr, [&, window](HWND fileDialog) {
                ChooseFile(fileDialog, path);
                // The file dialog may still show while it closes.
                ActWhenOpen(window, fileDialog, [&](HWND box) {
                    EnumChildWindows(box, AppendStaticText, reinterpret_cast<LPARAM>(&message_));
                    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                });
            });
            Click(window, IDC_IMPORT_PACK);
            listed_ = ListedNames(window);
            const LRESULT selected = SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_GETCURSEL, 0, 0);
            selected_ = selected >= 0 ? listed_[size_t(selected)] : "";
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        });
    }

    TestFolder root_;
    TestFolder schemes_;
    TestFolder pack_;
    std::string message_;
    std::vector<std::string> listed_;
    std::string selected_;
};

const std::string kWav = [] {
    const std::vector<uint8_t> wav = MakePlayableTestWav(TestWavFormat{}, TestSamples(44100, 3));
    return std::string(wav.begin(), wav.end());
}();

TEST_F(ImportFolders, AnImportedPackIsListedSelectedAndSaysWhatItLeftOut) {
    schemes_.AddFolder("Alpha");
    pack_.AddFile("config.json", R"({"name":"Blue Switches","key_define_type":"single",
        "sound":"s.wav","defines":{"30":[0,50],"30-up":[100,40],"41":[200,30]}})");
    pack_.AddFile("s.wav", kWav);
    Import(pack_.Path() + "config.json");
    EXPECT_EQ(listed_, (std::vector<std::string>{"Alpha", "Blue Switches"}));
    EXPECT_EQ(selected_, "Blue Switches");
    // One pack key (41, the grave accent) has no Tapvox key.
    EXPECT_NE(message_.find("\"Blue Switches\""), std::string::npos) << message_;
    EXPECT_NE(message_.find(" 1 "), std::string::npos) << message_;
    const std::string folder = schemes_.Path() + "Blue Switches\\";
    EXPECT_EQ(ReadWholeFile(folder + "Scheme.txt"), "A=A.wav\r\nA.UP=A-up.wav\r\n");
    for (const char* file : {"A.wav", "A-up.wav", "Scheme.txt"}) DeleteFileA((folder + file).c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(ImportFolders, ARefusedPackNamesTheFileAndWhatIsWrongAndLeavesNothing) {
    pack_.AddFile("config.json", R"({"name":"Broken","key_define_type":"single",
        "sound":"s.wav","defines":{"30":[0,50]}})");
    pack_.AddFile("s.wav", "OggS" + std::string(3000, '\x01'));
    Import(pack_.Path() + "config.json");
    EXPECT_TRUE(listed_.empty());
    EXPECT_NE(message_.find("could not be imported"), std::string::npos) << message_;
    EXPECT_NE(message_.find(pack_.Path() + "s.wav"), std::string::npos) << message_;
    EXPECT_NE(message_.find("damaged"), std::string::npos) << message_;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA((schemes_.Path() + "*").c_str(), &found);
    std::vector<std::string> entries;
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
                entries.push_back(found.cFileName);
        } while (FindNextFileA(listing, &found));
        FindClose(listing);
    }
    EXPECT_TRUE(entries.empty()) << entries.front();
}

}  // namespace
