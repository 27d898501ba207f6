#include "dialogs/DlgManageSchemes.h"

#include "res/resource.h"

#include <gtest/gtest.h>

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

TEST(ManageSchemesDialog, ListsSchemeFoldersAlphabeticallyAndOpensTheChosenOne) {
    TemporarySchemes schemes;
    for (const char* name : {"gamma", "Alpha", "beta"}) schemes.Folder(name);
    schemes.Folder(".hidden");
    schemes.File("notes.txt");

    DlgManageSchemes dialog;
    dialog.SetSchemesFolder(schemes.Path().c_str());
    std::vector<std::string> listed;
    int initialSelection = 0;
    std::vector<std::pair<std::string, bool>> opened;
    g_manage = &dialog;
    g_actOnList = [&](HWND window) {
        listed = ListedNames(window);
        initialSelection =
            static_cast<int>(SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_GETCURSEL, 0, 0));
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, 1, 0);
        Click(window, IDC_EDIT_SCHEME);
        opened.emplace_back(dialog.schemeEditor.editedName, dialog.schemeEditor.isNewScheme);
        Click(window, IDC_ADD_SCHEME);
        opened.emplace_back(dialog.schemeEditor.editedName, dialog.schemeEditor.isNewScheme);
        SendDlgItemMessageA(window, IDC_SCHEMES_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        Click(window, IDC_EDIT_SCHEME);
        opened.emplace_back(dialog.schemeEditor.editedName, dialog.schemeEditor.isNewScheme);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    };
    SetTimer(nullptr, 0, 100, ActOnManageDialog);
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);

    EXPECT_EQ(listed, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(initialSelection, LB_ERR) << "no initial selection";
    EXPECT_EQ(dialog.schemeNames[1], "beta");
    EXPECT_EQ(dialog.schemeNames[3], "");
    const std::vector<std::pair<std::string, bool>> expected = {
        {"beta", false}, {"NewScheme", true}, {"NewScheme", true}};
    EXPECT_EQ(opened, expected);
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

}  // namespace
