#include "lang/Localization.h"

#include "app/Settings.h"
#include "res/resource.h"
#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>

namespace {

// What a message box loads its caption and text into.
constexpr int kMessageTextCapacity = 256;

// The string of a given language straight from the program's own string table, so that the
// Russian texts are checked whatever language the test machine's user interface has.
std::wstring OwnStringIn(LANGID language, UINT id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC block = FindResourceExW(module, reinterpret_cast<LPCWSTR>(RT_STRING),
                                  MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!block) return L"<missing>";
    const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(module, block)));
    for (UINT i = 0; i < id % 16; ++i) p += 1 + *p;
    return std::wstring(p + 1, *p);
}

// Sets "Language" for the next LocInit and puts the user's value back afterwards.
class LanguageSetting : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD size = sizeof(saved_);
        hadValue_ = RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName,
                                 RRF_RT_REG_SZ, nullptr, saved_, &size) == ERROR_SUCCESS;
    }
    void TearDown() override {
        if (hadValue_) {
            Select(saved_);
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName);
        }
        LocInit();
    }
    static void Select(const std::string& name) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName, REG_SZ,
                                  name.c_str(), static_cast<DWORD>(name.size() + 1)),
                  ERROR_SUCCESS);
        LocInit();
    }
    static std::string Title() {
        char title[64];
        LocLoadStringA(IDS_TITLE, title, ARRAYSIZE(title));
        return title;
    }
    char saved_[256] = {};
    bool hadValue_ = false;
};

TEST_F(LanguageSetting, OwnResourcesForMissingEmptyOrEnglishNames) {
    const char* names[] = {"", "English", "eNGLISH", "NoSuchLanguage", "TestNewer",
                           "TestNoVersion"};
    for (const char* name : names) {
        Select(name);
        EXPECT_EQ(LocGetResourceModule(), GetModuleHandleA(nullptr)) << name;
        EXPECT_STREQ(LocLanguageName(), "English") << name;
        EXPECT_EQ(Title(), "Tapvox") << name;
    }
    char stored[64] = {};
    DWORD size = sizeof(stored);
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName, RRF_RT_REG_SZ, nullptr,
                 stored, &size);
    EXPECT_STREQ(stored, "TestNoVersion") << "the setting itself is never rewritten";
}

TEST_F(LanguageSetting, FittingModuleSuppliesStringsAndMenuWithFallback) {
    Select("TestGood");
    EXPECT_NE(LocGetResourceModule(), GetModuleHandleA(nullptr));
    EXPECT_STREQ(LocLanguageName(), "TestGood");
    EXPECT_EQ(Title(), "Testvox Good");

    // Empty in the module, missing from the module: both come from the program's own table.
    wchar_t text[64];
    EXPECT_EQ(LocLoadStringW(IDS_CANNOT_RUN_HELPER, text, ARRAYSIZE(text)), 35);
    EXPECT_STREQ(text, L"Cannot run HookProc.exe (x64 hooks)");
    EXPECT_GT(LocLoadStringW(IDS_CANNOT_SET_HOOKS, text, ARRAYSIZE(text)), 0);
    EXPECT_STREQ(text, L"Cannot set hooks");

    HMENU menu = LoadMenuW(LocGetResourceModule(), MAKEINTRESOURCEW(IDR_POPUP_MENU));
    ASSERT_NE(menu, nullptr);
    wchar_t item[32] = {};
    GetMenuStringW(GetSubMenu(menu, 0), IDM_ABOUT, item, ARRAYSIZE(item), MF_BYCOMMAND);
    EXPECT_STREQ(item, L"\u00DCber...");
    DestroyMenu(menu);
}

TEST_F(LanguageSetting, NameOfSixtyFourBytesCannotBeRead) {
    Select(std::string(64, 'x'));
    EXPECT_STREQ(LocLanguageName(), "English");
    EXPECT_EQ(Title(), "Tapvox");
}

// The test program's own "Lngs" folder, where the build puts the test modules.
std::string ModulesFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, ARRAYSIZE(path));
    std::string folder(path, length < ARRAYSIZE(path) ? length : 0);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "Lngs\\";
}

std::wstring g_dialogCaption;

INT_PTR CALLBACK EndAtOnce(HWND box, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, ARRAYSIZE(caption));
    g_dialogCaption = caption;
    EndDialog(box, 7);
    return TRUE;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Module files nobody should ship: each is either refused, so the program's own resources
// serve, or mapped as data, with the program's own strings and dialog filling its gaps. No
// string overruns the buffer it is loaded into, and no code of a module ever runs.
TEST_F(LanguageSetting, HostileModulesNeverRunAndFallBack) {
    const std::string folder = ModulesFolder();
    const std::string good = ReadWholeFile(folder + "TestGood.lng");
    ASSERT_GT(good.size(), 2048u);
    // Files the build cannot make, written beside the built test modules.
    const std::pair<const char*, std::string> written[] = {
        {"TestNotLibrary", "MZ is all this file has of a library.\r\n" + std::string(4096, 'x')},
        {"TestTruncatedHeaders", good.substr(0, 512)},
        {"TestTruncatedHalf", good.substr(0, good.size() / 2)},
    };
    for (const auto& [name, bytes] : written) {
        ASSERT_TRUE(WriteWholeFile(folder + name + ".lng", bytes)) << name;
    }
    const std::string marker = folder + "TestEntryCode.lng.ran";
    DeleteFileA(marker.c_str());

    const std::wstring longText(kMessageTextCapacity - 1, L'L');
    const struct {
        const char* name;
        const char* languageName;
        std::wstring title;  // as a message box's 256-character caption buffer gets it
        bool hasMenu;
    } cases[] = {
        {"TestNotLibrary", "English", L"Tapvox", true},
        {"TestTruncatedHeaders", "English", L"Tapvox", true},
        {"TestTruncatedHalf", "English", L"Tapvox", true},
        {"TestEntryCode", "TestEntryCode", L"Testvox Entry", true},
        {"TestNoMenu", "TestNoMenu", L"Testvox NoMenu", false},  // the menu has no fallback
        {"TestLongStrings", "TestLongStrings", longText, true},
    };
    // The program's own box, in the language the platform picks, is the reference: only the
    // fallback is checked.
    const std::wstring ownAboutCaption = [] {
        Select("English");
        LocDialogBox(IDD_ABOUT, nullptr, EndAtOnce);
        return g_dialogCaption;
    }();
    ASSERT_FALSE(ownAboutCaption.empty());
    for (const auto& c : cases) {
        Select(c.name);
        EXPECT_STREQ(LocLanguageName(), c.languageName) << c.name;
        wchar_t wide[kMessageTextCapacity];
        EXPECT_EQ(LocLoadStringW(IDS_TITLE, wide, ARRAYSIZE(wide)), int(c.title.size())) << c.name;
        EXPECT_EQ(wide, c.title) << c.name;
        char narrow[kMessageTextCapacity];
        EXPECT_EQ(LocLoadStringA(IDS_TITLE, narrow, ARRAYSIZE(narrow)), int(c.title.size()))
            << c.name;
        for (bool unicode : {true, false}) {
            LocSetUnicode(unicode);
            wchar_t small[16];
            LocLoadString(IDS_VERSION_LINE, small, ARRAYSIZE(small));
            EXPECT_LT(std::wcslen(small), ARRAYSIZE(small)) << c.name;
        }
        LocSetUnicode(true);
        HMENU menu = LoadMenuW(LocGetResourceModule(), MAKEINTRESOURCEW(IDR_POPUP_MENU));
        EXPECT_EQ(menu != nullptr, c.hasMenu) << c.name;
        if (menu) DestroyMenu(menu);
        // None of them has an About box: the program's own is shown.
        g_dialogCaption.clear();
        EXPECT_EQ(LocDialogBox(IDD_ABOUT, nullptr, EndAtOnce), 7) << c.name;
        EXPECT_EQ(g_dialogCaption, ownAboutCaption) << c.name;
    }
    EXPECT_FALSE(FileExists(marker)) << "a language module's entry code ran";
    for (const auto& entry : written) DeleteFileA((folder + entry.first + ".lng").c_str());
}

// The check above means something only if the module's entry code does leave its marker.
TEST(HostileModule, EntryCodeLeavesItsMarkerWhenRunAsCode) {
    const std::string module = ModulesFolder() + "TestEntryCode.lng";
    const std::string marker = module + ".ran";
    DeleteFileA(marker.c_str());
    HMODULE loaded = LoadLibraryA(module.c_str());
    ASSERT_NE(loaded, nullptr);
    FreeLibrary(loaded);
    EXPECT_TRUE(FileExists(marker));
    DeleteFileA(marker.c_str());
}

TEST(OwnResources, EnglishAndRussianStrings) {
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const LANGID russian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
    const struct {
        UINT id;
        const wchar_t* english;
        const wchar_t* russian;
    } cases[] = {
        {IDS_TITLE, L"Tapvox", L"Tapvox"},
        {IDS_CANNOT_RUN_HELPER, L"Cannot run HookProc.exe (x64 hooks)",
         L"Ошибка запуска HookProc.exe (64-битные хуки)"},
        {IDS_CANNOT_SET_HOOKS, L"Cannot set hooks", L"Невозможно установить хуки"},
        {IDS_HELP_FILE, L"Help.chm", L"Help.chm"},
        {IDS_VERSION_LINE, L"version %d.%d.%d (build %d)", L"Версия %d.%d.%d (сборка %d)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OwnStringIn(english, c.id), c.english) << c.id;
        EXPECT_EQ(OwnStringIn(russian, c.id), c.russian) << c.id;
    }
}

TEST(OwnResources, PopupMenuLayoutInBothLanguages) {
    struct Item {
        UINT id;  // 0: separator; -1: the schemes submenu
        const wchar_t* english;
        const wchar_t* russian;
    };
    const Item popup[] = {
        {IDM_ABOUT, L"About...", L"О программе..."},
        {IDM_HELP, L"Help", L"Помощь"},
        {0, L"", L""},
        {IDM_MUTE, L"Mute", L"Приглушить"},
        {IDM_STARTUP, L"Startup", L"Автозагрузка"},
        {0, L"", L""},
        {static_cast<UINT>(-1), L"Sound Schemes", L"Звуковые схемы"},
        {0, L"", L""},
        {IDM_EXIT, L"Exit", L"Выход"},
    };
    const Item schemes[] = {
        {IDM_MANAGE_SCHEMES, L"Manage Schemes", L"Менеджер Схем"},
        {IDM_SETTINGS, L"Settings", L"Настройки"},
        {0, L"", L""},
    };
    const LANGID languages[] = {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)};
    for (LANGID language : languages) {
        const bool english = language == languages[0];
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC found = FindResourceExW(module, reinterpret_cast<LPCWSTR>(RT_MENU),
                                      MAKEINTRESOURCEW(IDR_POPUP_MENU), language);
        ASSERT_NE(found, nullptr);
        HMENU menu = LoadMenuIndirectW(LockResource(LoadResource(module, found)));
        ASSERT_NE(menu, nullptr);
        auto check = [english](HMENU m, const Item* items, int count) {
            ASSERT_EQ(GetMenuItemCount(m), count);
            for (int i = 0; i < count; ++i) {
                wchar_t text[64] = {};
                GetMenuStringW(m, i, text, ARRAYSIZE(text), MF_BYPOSITION);
                EXPECT_STREQ(text, english ? items[i].english : items[i].russian) << i;
                const UINT id = GetMenuItemID(m, i);
                if (items[i].id == 0) {
                    EXPECT_TRUE(GetMenuState(m, i, MF_BYPOSITION) & MF_SEPARATOR) << i;
                } else {
                    EXPECT_EQ(id, items[i].id) << i;
                }
            }
        };
        HMENU popupMenu = GetSubMenu(menu, 0);
        check(popupMenu, popup, ARRAYSIZE(popup));
        check(GetSubMenu(popupMenu, 6), schemes, ARRAYSIZE(schemes));
        DestroyMenu(menu);
    }
}

TEST(StringLoading, CapacitiesAreHonoured) {
    LocInit();
    char narrow[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(LocLoadStringA(IDS_TITLE, narrow, 0), 0);
    EXPECT_EQ(narrow[0], '#');
    EXPECT_EQ(LocLoadStringA(IDS_TITLE, narrow, ARRAYSIZE(narrow)), 3);
    EXPECT_STREQ(narrow, "Tap");

    for (bool unicode : {true, false}) {
        LocSetUnicode(unicode);
        wchar_t wide[5];
        wmemset(wide, L'#', ARRAYSIZE(wide));
        LocLoadString(IDS_TITLE, wide, ARRAYSIZE(wide));
        EXPECT_STREQ(wide, L"Tapv") << unicode;
        wchar_t whole[64];
        EXPECT_EQ(LocLoadString(IDS_CANNOT_SET_HOOKS, whole, ARRAYSIZE(whole)), 16);
        EXPECT_STREQ(whole, L"Cannot set hooks") << unicode;
        EXPECT_EQ(LocLoadString(9999, whole, ARRAYSIZE(whole)), 0);
        EXPECT_STREQ(whole, L"");
    }
    LocSetUnicode(true);
}

TEST(WindowText, WideTextThroughEitherMode) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    for (bool unicode : {true, false}) {
        LocSetUnicode(unicode);
        EXPECT_TRUE(LocSetWindowText(window, L"About Tapvox"));
        wchar_t text[6];
        LocGetWindowText(window, text, ARRAYSIZE(text));
        EXPECT_STREQ(text, L"About") << unicode;
    }
    LocSetUnicode(true);
    DestroyWindow(window);
}

TEST(Conversions, RoundTripAndEmptyText) {
    EXPECT_EQ(AnsiToWide("Tapvox 2.5"), L"Tapvox 2.5");
    EXPECT_EQ(WideToAnsi(L"Tapvox 2.5"), "Tapvox 2.5");
    EXPECT_EQ(AnsiToWide(""), L"");
    EXPECT_EQ(WideToAnsi(L""), "");
}

}  // namespace
