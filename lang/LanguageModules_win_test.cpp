// The language modules as staged in the program folder (TAPVOX_DIST): each loads as data,
// carries the program's version, the whole popup menu and the About box with the program's
// identifiers, and no text left empty.
#include "app/WinHandles.h"
#include "lang/Localization.h"
#include "res/resource.h"
#include "tests/tools/MenuItemRead.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

struct ModuleCase {
    const char* name;
    LANGID language;           // of the version resource's translation
    const wchar_t* helpFile;   // string 113
    const wchar_t* exitText;   // the Exit command, which tells the languages apart
};

const ModuleCase kModules[] = {
    {"French", 0x040C, L"Help.chm", L"Quitter"},
    {"German", 0x0407, L"Help.chm", L"Beenden"},
    {"Italian", 0x0410, L"Help.chm", L"Esci"},
    {"Polish", 0x0415, L"Help.chm", L"Zakończ"},
    {"Portuguese", 0x0416, L"Help.chm", L"Sair"},
    {"Russian", 0x0419, L"Help_ru.chm", L"Выход"},
    {"Spanish", 0x0C0A, L"Help.chm", L"Salir"},
    {"Ukrainian", 0x0422, L"Help.chm", L"Вихід"},
};

// The staged folder's "Lngs", as Wine names the Linux path (drive Z: is the root).
std::string LngsFolder() {
    const char* dist = std::getenv("TAPVOX_DIST");
    if (!dist || !*dist) return {};
    std::string folder = std::string(dist[0] == '/' ? "Z:" : "") + dist + "\\Lngs";
    for (char& c : folder) {
        if (c == '/') c = '\\';
    }
    return folder;
}

std::wstring StringOf(HMODULE module, UINT id) {
    wchar_t text[256] = {};
    const int length = LoadStringW(module, id, text, ARRAYSIZE(text));
    return std::wstring(text, length > 0 ? length : 0);
}

// The number of %d in a format; -1 when it holds any other conversion.
int IntegerConversions(const std::wstring& format) {
    int count = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') continue;
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            ++i;
        } else if (i + 1 < format.size() && format[i + 1] == L'd') {
            ++count;
            ++i;
        } else {
            return -1;
        }
    }
    return count;
}

// The letters of a format's conversions, in order ("su" for "%s ... %u"); "%%" is none.
std::wstring ConversionLetters(const std::wstring& format) {
    std::wstring letters;
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != L'%') continue;
        if (format[i + 1] != L'%') letters += format[i + 1];
        ++i;
    }
    return letters;
}

// Every item of a menu and its submenus, depth first: kind, command id, whether it has text.
struct MenuItem {
    UINT type;
    UINT id;
    bool hasSubmenu;
    bool operator==(const MenuItem& o) const {
        return type == o.type && id == o.id && hasSubmenu == o.hasSubmenu;
    }
    friend void PrintTo(const MenuItem& m, std::ostream* out) {
        *out << (m.type & MFT_SEPARATOR ? "separator" : m.hasSubmenu ? "submenu" : "item")
             << " " << m.id;
    }
};

void CollectItems(HMENU menu, std::vector<MenuItem>* items, std::vector<std::wstring>* texts) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128];
        MENUITEMINFOW info;
        ASSERT_TRUE(ReadMenuItem(menu, i, text, ARRAYSIZE(text), &info));
        items->push_back({info.fType, info.hSubMenu ? 0 : info.wID, info.hSubMenu != nullptr});
        if (!(info.fType & MFT_SEPARATOR)) texts->push_back(text);
        if (info.hSubMenu) CollectItems(info.hSubMenu, items, texts);
    }
}

struct Control {
    int id;
    std::wstring windowClass;
    LONG style;
    RECT rect;  // in the box's client coordinates
    bool operator==(const Control& o) const {
        return id == o.id && windowClass == o.windowClass && style == o.style &&
               EqualRect(&rect, &o.rect);
    }
    friend void PrintTo(const Control& c, std::ostream* out) {
        *out << c.id << " style " << std::hex << c.style << std::dec << " at " << c.rect.left
             << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
    }
};

struct BoxContents {
    std::wstring caption;
    std::vector<Control> controls;
    std::vector<std::wstring> texts;  // of the controls that show one
};

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL CALLBACK CollectControl(HWND control, LPARAM param) {
    auto* box = reinterpret_cast<BoxContents*>(param);
    wchar_t windowClass[64] = {};
    GetClassNameW(control, windowClass, ARRAYSIZE(windowClass));
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    box->controls.push_back({GetDlgCtrlID(control), windowClass, style, rect});
    if ((style & SS_TYPEMASK) != SS_ICON || _wcsicmp(windowClass, L"Static") != 0) {
        wchar_t text[256] = {};
        GetWindowTextW(control, text, ARRAYSIZE(text));
        box->texts.push_back(text);
    }
    return TRUE;
}

// The About box created, unshown, from a module's template.
BoxContents AboutBoxOf(HMODULE module) {
    BoxContents box;
    HWND window = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, QuietDialog, 0);
    if (!window) return box;
    wchar_t caption[128] = {};
    GetWindowTextW(window, caption, ARRAYSIZE(caption));
    box.caption = caption;
    EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&box));
    DestroyWindow(window);
    return box;
}

TEST(StagedLanguageModules, FolderHoldsExactlyTheListedModules) {
    const std::string folder = LngsFolder();
    ASSERT_FALSE(folder.empty()) << "TAPVOX_DIST names no staged program folder";
    std::set<std::string> staged;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.lng").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << folder;
    do {
        staged.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::set<std::string> listed;
    for (const ModuleCase& c : kModules) listed.insert(std::string(c.name) + ".lng");
    EXPECT_EQ(staged, listed);
}

TEST(StagedLanguageModules, EachFitsTheProgram) {
    const std::string folder = LngsFolder();
    ASSERT_FALSE(folder.empty()) << "TAPVOX_DIST names no staged program folder";
    HMODULE program = GetModuleHandleW(nullptr);
    std::vector<MenuItem> ownItems;
    std::vector<std::wstring> ownTexts;
    ScopedMenu ownMenu(LoadMenuW(program, MAKEINTRESOURCEW(IDR_POPUP_MENU)));
    ASSERT_TRUE(ownMenu);
    CollectItems(ownMenu.Get(), &ownItems, &ownTexts);
    const BoxContents ownBox = AboutBoxOf(program);
    ASSERT_FALSE(ownBox.controls.empty());

    for (const ModuleCase& c : kModules) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + "\\" + c.name + ".lng";

        // The version: exactly the program's own, and the translation names the language.
        const FixedFileVersion version = ReadFixedFileVersion(path.c_str());
        EXPECT_EQ(version.ms, static_cast<DWORD>(MAKELONG(TAPVOX_VERSION_MINOR, TAPVOX_VERSION_MAJOR)));
        EXPECT_EQ(version.ls, static_cast<DWORD>(MAKELONG(TAPVOX_VERSION_BUILD, TAPVOX_VERSION_RELEASE)));
        DWORD ignored = 0;
        std::vector<BYTE> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
        ASSERT_FALSE(info.empty());
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
        WORD* translation = nullptr;
        UINT size = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                                   reinterpret_cast<void**>(&translation), &size));
        ASSERT_GE(size, 2 * sizeof(WORD));
        EXPECT_EQ(translation[0], c.language);
        wchar_t companyPath[64];
        swprintf(companyPath, ARRAYSIZE(companyPath), L"\\StringFileInfo\\%04x%04x\\CompanyName",
                 translation[0], translation[1]);
        wchar_t* company = nullptr;
        ASSERT_TRUE(VerQueryValueW(info.data(), companyPath, reinterpret_cast<void**>(&company), &size));
        EXPECT_STREQ(company, L"Quillmark");

        ScopedModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module) << "error " << GetLastError();

        // Strings: every one present; the title stays the program's name.
        EXPECT_EQ(StringOf(module.Get(), IDS_TITLE), L"Tapvox");
        EXPECT_FALSE(StringOf(module.Get(), IDS_CANNOT_RUN_HELPER).empty());
        EXPECT_FALSE(StringOf(module.Get(), IDS_CANNOT_SET_HOOKS).empty());
        EXPECT_EQ(StringOf(module.Get(), IDS_HELP_FILE), c.helpFile);
        for (UINT id : {IDS_NAME_EMPTY_OR_DOT, IDS_NAME_FORBIDDEN_CHARACTER, IDS_NAME_DEVICE,
                        IDS_NAME_TRAILING_DOT_OR_BLANK, IDS_NAME_TOO_LONG, IDS_QUIET_MUTED,
                        IDS_QUIET_FULL_SCREEN, IDS_QUIET_PROGRAM, IDS_QUIET_PASSWORD,
                        IDS_NO_RUNNING_PROGRAMS}) {
            EXPECT_FALSE(StringOf(module.Get(), id).empty()) << id;
        }
        for (UINT id = IDS_IMPORT_FILTER; id <= IDS_IMPORT_WRITE_FAILED; ++id) {
            const std::wstring text = StringOf(module.Get(), id);
            EXPECT_FALSE(text.empty()) << id;
            // The skipped-keys line is filled with the scheme's name, then a count.
            EXPECT_EQ(ConversionLetters(text), id == IDS_IMPORT_SKIPPED ? L"su" : L"") << id;
        }
        // The file dialog's filter names the pattern it lists.
        EXPECT_NE(StringOf(module.Get(), IDS_PROGRAM_FILES).find(L"(*.exe)"), std::wstring::npos);
        // The refused characters reach the user as they are, escapes and all.
        EXPECT_NE(StringOf(module.Get(), IDS_NAME_FORBIDDEN_CHARACTER).find(L"\\ / : * ? \" < > |"),
                  std::wstring::npos);
        const std::wstring versionLine = StringOf(module.Get(), IDS_VERSION_LINE);
        const bool fourIntegers = IntegerConversions(versionLine) == 4;
        EXPECT_TRUE(fourIntegers) << versionLine;
        if (fourIntegers) {  // any other line would read past the arguments
            wchar_t filled[256];
            swprintf(filled, ARRAYSIZE(filled), versionLine.c_str(), 2, 5, 1, 7);
            EXPECT_NE(std::wstring(filled).find(L"2.5.1"), std::wstring::npos) << filled;
        }

        // The menu: the program's items and ids in the program's order, each with a text.
        ScopedMenu menu(LoadMenuW(module.Get(), MAKEINTRESOURCEW(IDR_POPUP_MENU)));
        ASSERT_TRUE(menu);
        std::vector<MenuItem> items;
        std::vector<std::wstring> texts;
        CollectItems(menu.Get(), &items, &texts);
        EXPECT_EQ(items, ownItems);
        for (const std::wstring& text : texts) EXPECT_FALSE(text.empty());
        wchar_t exitText[64] = {};
        GetMenuStringW(menu.Get(), IDM_EXIT, exitText, ARRAYSIZE(exitText), MF_BYCOMMAND);
        EXPECT_STREQ(exitText, c.exitText);

        // The About box: the program's controls, kinds and places, each text filled in.
        const BoxContents box = AboutBoxOf(module.Get());
        EXPECT_EQ(box.controls, ownBox.controls);
        EXPECT_FALSE(box.caption.empty());
        EXPECT_EQ(box.texts.size(), ownBox.texts.size());
        for (const std::wstring& text : box.texts) EXPECT_FALSE(text.empty());
    }
}

}  // namespace
