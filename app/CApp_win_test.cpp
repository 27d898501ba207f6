#include "app/CApp.h"

#include "app/Autostart_win.h"
#include "app/MuteHotkey.h"
#include "app/MuteHotkey_win.h"
#include "app/Settings.h"
#include "app/Trace.h"
#include "audio/SoundEngine_win.h"
#include "audio/WavePlayer_win.h"
#include "hook/HookEvent.h"
#include "hook/KbdHook.h"
#include "res/resource.h"
#include "tests/ModalDialogDriver_win.h"
#include "tests/RegistryTestValues_win.h"
#include "tests/ScopedTraceFile_win.h"
#include "tests/TestFolder_win.h"
#include "tests/TestWav.h"
#include "tray/CTrayIcon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char kValuesTouched[][20] = {"Valume", "Filter", "Scheme", "LogFile",
                                       "ShowTutorialOnRun", "Overlap"};

// Worked out here, not with the program's own path rule, which the expected values would share.
std::string ProgramFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return std::string(path, strrchr(path, '\\') + 1);
}

std::string ProgramPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

void StoreText(const char* name, const char* text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, text,
                    static_cast<DWORD>(strlen(text) + 1));
}

void StoreDword(const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(value));
}

// Each test starts from a program key without the values the application reads at start.
class Application : public ::testing::Test {
protected:
    void SetUp() override { ClearValues(); }
    void TearDown() override { ClearValues(); }
    static void ClearValues() {
        for (const char* name : kValuesTouched) {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name);
        }
    }
};

TEST_F(Application, InitCreatesTheHiddenMainWindowAndReadsTheSettings) {
    StoreText("Valume", "55");
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));

    char className[64] = {};
    GetClassNameA(app.mainWindow, className, sizeof(className));
    EXPECT_STREQ(className, "TVX_SOUNDPRG_MAINWND");
    char title[64] = {};
    GetWindowTextA(app.mainWindow, title, sizeof(title));
    EXPECT_STREQ(title, "Tapvox");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(app.mainWindow, GWL_STYLE));
    EXPECT_EQ(style & 0x84CA0000u, 0x84CA0000u);
    EXPECT_FALSE(IsWindowVisible(app.mainWindow));
    HMENU systemMenu = GetSystemMenu(app.mainWindow, FALSE);
    for (UINT command : {SC_MAXIMIZE, SC_SIZE, SC_MOVE}) {
        EXPECT_EQ(GetMenuState(systemMenu, command, MF_BYCOMMAND), static_cast<UINT>(-1))
            << std::hex << command;
    }

    // The shared memory names this window for a second start.
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "TVX_SOUNDPRG_MMF");
    ASSERT_NE(mapping, nullptr);
    const auto* view = static_cast<const DWORD*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(*view, static_cast<DWORD>(reinterpret_cast<uintptr_t>(app.mainWindow)));
    UnmapViewOfFile(view);
    CloseHandle(mapping);

    EXPECT_EQ(app.hookMessage, RegisterWindowMessageA("NEW_HOOK_SYSTEM"));
    EXPECT_EQ(app.helperMessage, RegisterWindowMessageA("M_TapvoxHkPrcMsg"));
    EXPECT_EQ(app.taskbarCreatedMessage, RegisterWindowMessageA("TaskbarCreated"));
    EXPECT_NE(app.popupMenu.Get(), nullptr);
    EXPECT_TRUE(trayIcon.IsAdded());
    EXPECT_EQ(app.volume, 55);
    EXPECT_EQ(app.filter, 100) << "a missing Filter reads 100, not the constructor's 0";
    EXPECT_EQ(app.activeScheme, 19);
    EXPECT_EQ(app.muted, 0);
    EXPECT_EQ(StoredValue(kSettingsKey, "LogFile"),
              std::make_pair(DWORD{REG_SZ}, std::string("0")));
}

TEST_F(Application, LogFileBesideTheProgramKeepsTheSwitchUnwritten) {
    const std::string besideProgram = ProgramFolder() + "log.txt";
    HANDLE file = CreateFileA(besideProgram.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    {
        CApp app;
        ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
        EXPECT_EQ(app.traceEnabled, 0) << "the file does not switch tracing on";
    }
    EXPECT_EQ(StoredValue(kSettingsKey, "LogFile").first, 0u);
    DeleteFileA(besideProgram.c_str());
}

TEST_F(Application, SecondInstanceGivesUpAfterCreatingItsWindow) {
    CApp first;
    ASSERT_TRUE(first.Init(GetModuleHandleA(nullptr), ""));
    EXPECT_EQ(first.alreadyRunning, 0);
    for (const char* commandLine : {"", "/anything"}) {
        CApp second;
        EXPECT_EQ(second.alreadyRunning, 1);
        EXPECT_FALSE(second.Init(GetModuleHandleA(nullptr), commandLine)) << commandLine;
        EXPECT_NE(second.mainWindow, nullptr);
        EXPECT_NE(second.mainWindow, first.mainWindow);
        EXPECT_EQ(second.popupMenu.Get(), nullptr) << "start-up stops before the menu";
        // Destroying a main window quits the loop; that quit must not reach later tests.
        DestroyWindow(second.mainWindow);
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
}

// A stand-in for the 64-bit helper's window: records each command and answers from a table.
struct FakeHelper {
    static std::vector<std::pair<WPARAM, LPARAM>> commands;
    static LRESULT installReply;
    static LRESULT reinstallReply;
    static UINT helperMessage;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != helperMessage) return DefWindowProcA(window, message, wParam, lParam);
        commands.emplace_back(wParam, lParam);
        switch (wParam) {
        case HelperInstallHooks: return lParam ? installReply : 0;
        case HelperReinstallHooks: return reinstallReply;
        case HelperSetWaitForEndKey: return lParam;
        default: return 0;
        }
    }

    static HWND Create() {
        helperMessage = RegisterWindowMessageA("M_TapvoxHkPrcMsg");
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TapvoxTestHelper";
        RegisterClassA(&windowClass);
        commands.clear();
        installReply = MakeHelperReply(true);
        reinstallReply = MakeHelperReply(true);
        return CreateWindowExA(0, "TapvoxTestHelper", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
};
std::vector<std::pair<WPARAM, LPARAM>> FakeHelper::commands;
LRESULT FakeHelper::installReply = 0;
LRESULT FakeHelper::reinstallReply = 0;
UINT FakeHelper::helperMessage = 0;

using Commands = std::vector<std::pair<WPARAM, LPARAM>>;

class ApplicationWithHelper : public Application {
protected:
    void SetUp() override {
        Application::SetUp();
        ASSERT_TRUE(app_.Init(GetModuleHandleA(nullptr), ""));
        helper_ = FakeHelper::Create();
        ASSERT_NE(helper_, nullptr);
        // The stand-in's window belongs to this test program, so that is the helper here.
        app_.helperPath = ProgramPath();
        // The helper announces itself with its window in wParam.
        app_.WndProc(app_.mainWindow, app_.helperMessage, reinterpret_cast<WPARAM>(helper_), 0);
        ASSERT_EQ(app_.helperWindow, helper_);
    }
    void TearDown() override {
        app_.HkUnsetHooks();
        DestroyWindow(helper_);
        Application::TearDown();
    }
    void SendHook(uint32_t event, LPARAM window = 0) {
        app_.WndProc(app_.mainWindow, app_.hookMessage, event, window);
    }
    CApp app_;
    HWND helper_ = nullptr;
};

TEST_F(ApplicationWithHelper, HooksInstallWithTheHelperAndComeOffAgain) {
    ASSERT_TRUE(app_.HkSetHooks());
    EXPECT_EQ(FakeHelper::commands, (Commands{{HelperInstallHooks, 1}}));
    EXPECT_TRUE(app_.HkSetHooks()) << "a second call finds the hooks set";
    EXPECT_EQ(FakeHelper::commands.size(), 1u);

    EXPECT_EQ(app_.HkSetWaitForEndKey(0), 0);
    SendHook(MakeHookEvent(HookEventReinstall, 0));
    EXPECT_EQ(app_.hooksSet, 1);
    app_.HkUnsetHooks();
    EXPECT_EQ(app_.hooksSet, 0);
    EXPECT_EQ(FakeHelper::commands, (Commands{{HelperInstallHooks, 1},
                                              {HelperSetWaitForEndKey, 0},
                                              {HelperReinstallHooks, 0},
                                              {HelperInstallHooks, 0}}));

    // With the hooks off, a re-install request and a resume change nothing.
    FakeHelper::commands.clear();
    SendHook(MakeHookEvent(HookEventReinstall, 0));
    EXPECT_EQ(app_.WndProc(app_.mainWindow, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0), TRUE);
    EXPECT_EQ(app_.hooksSet, 0);
    EXPECT_TRUE(FakeHelper::commands.empty());
}

TEST_F(ApplicationWithHelper, HelperRefusalLeavesNoHooks) {
    FakeHelper::installReply = 0x00A6'0000;
    EXPECT_FALSE(app_.HkSetHooks());
    EXPECT_EQ(app_.hooksSet, 0);

    FakeHelper::installReply = MakeHelperReply(true);
    ASSERT_TRUE(app_.HkSetHooks());
    FakeHelper::reinstallReply = 0;
    EXPECT_FALSE(app_.HkResetHooks());
    EXPECT_EQ(app_.hooksSet, 0);
    EXPECT_FALSE(app_.HkResetHooks()) << "nothing installs the hooks again";
}

// The library re-installs for the window of its last install; a window that is gone makes
// every re-install fail. Both requests take the same path and tell the helper.
TEST_F(ApplicationWithHelper, AFailedReinstallTakesTheHelpersHooksOffToo) {
    const struct {
        const char* request;
        UINT message;
        WPARAM wParam;
    } requests[] = {
        {"a re-install event", app_.hookMessage, MakeHookEvent(HookEventReinstall, 0)},
        {"a resume", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND},
    };
    for (const auto& r : requests) {
        ASSERT_TRUE(app_.HkSetHooks()) << r.request;
        HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(SetHooks(gone, TRUE));
        DestroyWindow(gone);
        FakeHelper::commands.clear();
        app_.WndProc(app_.mainWindow, r.message, r.wParam, 0);
        EXPECT_EQ(app_.hooksSet, 0) << r.request;
        EXPECT_EQ(FakeHelper::commands, (Commands{{HelperInstallHooks, 0}})) << r.request;
    }
}

// The library takes this thread's messages while it re-installs, so a request queued before
// comes in the middle of one: it runs after it, not inside it, and is not lost.
TEST_F(ApplicationWithHelper, AReinstallAskedForDuringOneRunsAfterIt) {
    ASSERT_TRUE(app_.HkSetHooks());
    const struct {
        const char* request;
        UINT message;
        WPARAM wParam;
        Commands helperHears;
    } requests[] = {
        {"a re-install event", app_.hookMessage, MakeHookEvent(HookEventReinstall, 0),
         {{HelperReinstallHooks, 0}, {HelperReinstallHooks, 0}}},
        {"a resume", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, {{HelperReinstallHooks, 0}}},
    };
    for (const auto& r : requests) {
        FakeHelper::commands.clear();
        PostMessageA(app_.mainWindow, r.message, r.wParam, 0);
        EXPECT_TRUE(app_.HkResetHooks()) << r.request;
        EXPECT_EQ(FakeHelper::commands, r.helperHears) << r.request;
        EXPECT_EQ(app_.hooksSet, 1) << r.request;
    }
}

TEST_F(ApplicationWithHelper, WindowEventsClearTheWaitOnlyOnSixtyFourBitSystems) {
    const struct {
        int isOsX64;
        uint32_t kind;
        LPARAM window;
        bool sends;
    } cases[] = {
        {1, HookEventWindow, 0x1234, true}, {1, HookEventWindow, 0, false},
        {0, HookEventWindow, 0x1234, false}, {1, HookEventWindowInfo, 0x1234, false},
        {1, 4, 0x1234, false},              {1, 0xFFFF, 0x1234, false},
    };
    for (const auto& c : cases) {
        FakeHelper::commands.clear();
        app_.isOsX64 = c.isOsX64;
        SendHook(MakeHookEvent(c.kind, 0), c.window);
        EXPECT_EQ(FakeHelper::commands == (Commands{{HelperSetWaitForEndKey, 0}}), c.sends)
            << c.kind << ' ' << c.isOsX64 << ' ' << c.window;
    }
}

TEST_F(ApplicationWithHelper, ResumeReArmsOnlyTheLibrary) {
    ASSERT_TRUE(app_.HkSetHooks());
    FakeHelper::commands.clear();
    const WPARAM powerEvents[] = {PBT_APMRESUMECRITICAL, PBT_APMRESUMESUSPEND, PBT_APMSUSPEND};
    for (WPARAM powerEvent : powerEvents) {
        EXPECT_EQ(app_.WndProc(app_.mainWindow, WM_POWERBROADCAST, powerEvent, 0), TRUE);
        EXPECT_EQ(app_.hooksSet, 1) << powerEvent;
    }
    EXPECT_TRUE(FakeHelper::commands.empty());
}

TEST_F(ApplicationWithHelper, RunEndsOnQuitAndShutsDown) {
    app_.isOsX64 = 0;
    PostQuitMessage(3);
    EXPECT_EQ(app_.Run(), 3) << "the exit code is the quit message's";
    EXPECT_EQ(app_.pollTimerSet, 0u);
    EXPECT_EQ(app_.hooksSet, 0);
    MSG close;
    EXPECT_TRUE(PeekMessageA(&close, helper_, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        << "the helper is told to close";
    EXPECT_EQ(FakeHelper::commands.back(), std::make_pair(WPARAM{HelperInstallHooks}, LPARAM{0}));
}

TEST_F(ApplicationWithHelper, OnlyAWindowOfTheHelperProgramIsTaken) {
    HWND gone = FakeHelper::Create();
    DestroyWindow(gone);
    const std::string elsewhere = "C:\\elsewhere\\HookProc.exe";
    const struct {
        const char* what;
        HWND announced;
        std::string helperPath;
        bool taken;
    } cases[] = {
        {"no window", nullptr, ProgramPath(), false},
        {"a destroyed window", gone, ProgramPath(), false},
        {"a window of another program", helper_, elsewhere, false},
        {"the helper's own window", helper_, ProgramPath(), true},
    };
    for (const auto& c : cases) {
        app_.helperWindow = nullptr;
        app_.helperPath = c.helperPath;
        app_.WndProc(app_.mainWindow, app_.helperMessage, reinterpret_cast<WPARAM>(c.announced), 0);
        EXPECT_EQ(app_.helperWindow, c.taken ? c.announced : nullptr) << c.what;
    }
    // A refused announcement keeps the helper already known.
    app_.helperPath = elsewhere;
    app_.WndProc(app_.mainWindow, app_.helperMessage, reinterpret_cast<WPARAM>(gone), 0);
    EXPECT_EQ(app_.helperWindow, helper_);
}

// A window whose thread never takes its messages: a helper that stopped answering. Woken, it
// answers again, as FakeHelper does, but keeps its window when told to close, so that a command
// sent to it after all would be recorded.
class HungWindow {
public:
    HungWindow() {
        thread_.Reset(CreateThread(nullptr, 0, &HungWindow::Main, this, 0, &threadId_));
        WaitForSingleObject(created_.Get(), INFINITE);
    }
    ~HungWindow() {
        Wake();
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_.Get(), INFINITE);
    }
    void Wake() { SetEvent(release_.Get()); }
    HWND window = nullptr;

private:
    static DWORD WINAPI Main(void* self) {
        auto* hung = static_cast<HungWindow*>(self);
        hung->window = CreateWindowExA(0, "TapvoxTestHelper", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr);
        SetEvent(hung->created_.Get());
        WaitForSingleObject(hung->release_.Get(), INFINITE);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (message.message != WM_CLOSE) DispatchMessageA(&message);
        }
        DestroyWindow(hung->window);
        return 0;
    }
    ScopedKernelHandle created_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    ScopedKernelHandle release_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    ScopedKernelHandle thread_;
    DWORD threadId_ = 0;
};

TEST_F(ApplicationWithHelper, AHungHelperFailsOnceAndIsForgotten) {
    HungWindow hung;
    ASSERT_NE(hung.window, nullptr);
    app_.WndProc(app_.mainWindow, app_.helperMessage, reinterpret_cast<WPARAM>(hung.window), 0);
    ASSERT_EQ(app_.helperWindow, hung.window);

    const DWORD start = GetTickCount();
    EXPECT_FALSE(app_.HkSetHooks()) << "no reply is a failed reply";
    // Only proves that the wait ends: ten times the reply time it allows.
    EXPECT_LT(GetTickCount() - start, 30000u) << "the wait for the reply is bounded";
    EXPECT_EQ(app_.helperWindow, nullptr);
    EXPECT_TRUE(FakeHelper::commands.empty());

    // The helper answers again, but it was forgotten: only the library's hooks are set, and
    // nothing is sent to it.
    hung.Wake();
    EXPECT_TRUE(app_.HkSetHooks());
    EXPECT_EQ(app_.HkSetWaitForEndKey(0), 0);
    EXPECT_TRUE(FakeHelper::commands.empty());
}

TEST_F(ApplicationWithHelper, ExitCommandQuitsWithZero) {
    app_.isOsX64 = 0;
    app_.WndProc(app_.mainWindow, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(app_.Run(), 0);
}

TEST_F(Application, TheMainWindowAndItsClassIconGoWithTheApplication) {
    HWND window = nullptr;
    HICON icon = nullptr;
    {
        CApp app;
        ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
        window = app.mainWindow;
        icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
        ASSERT_NE(icon, nullptr);
    }
    EXPECT_FALSE(IsWindow(window));
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "TVX_SOUNDPRG_MAINWND", &windowClass));
    ICONINFO iconInfo{};
    EXPECT_FALSE(GetIconInfo(icon, &iconInfo)) << "the class icon is destroyed";
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the window goes without quitting anything";
}

TEST_F(Application, ATrayIconTheShellRefusedIsOfferedAgain) {
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    ASSERT_TRUE(trayIcon.IsAdded());
    // While another icon of the same window and id is shown, the shell refuses ours.
    trayIcon.Remove();
    CTrayIcon blocker;
    ASSERT_TRUE(blocker.Add());
    app.WndProc(app.mainWindow, app.taskbarCreatedMessage, 0, 0);
    EXPECT_FALSE(trayIcon.IsAdded()) << "a refused icon is not taken as added";
    blocker.Remove();
    app.WndProc(app.mainWindow, WM_TIMER, 7028, 0);
    EXPECT_TRUE(trayIcon.IsAdded()) << "the retry timer offers it again";
}

TEST_F(Application, TheTrayMenuIsFollowedByAMessageToItsWindow) {
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    ActOnDialogSoon([] { return GetDesktopWindow(); }, [](HWND) { EndMenu(); });
    app.WndProc(app.mainWindow, TrayCallbackMessage, 0, WM_RBUTTONUP);
    MSG message;
    bool emptyMessage = false;
    while (PeekMessageA(&message, app.mainWindow, 0, 0, PM_REMOVE)) {
        emptyMessage = emptyMessage || message.message == WM_NULL;
    }
    EXPECT_TRUE(emptyMessage);
}

// The stored chord is registered on the main window and toggles Mute as the menu does, its mark
// following; a chord another window holds leaves the program starting as usual, only marked.
TEST_F(Application, MuteHotkeyTogglesMuteAndTheMarkFollows) {
    const uint16_t chord = (kHotkeyControl | kHotkeyAlt | kHotkeyShift) << 8 | 0x7A;  // F11
    ASSERT_EQ(WriteMuteHotkey(kSettingsKey, chord), ERROR_SUCCESS);
    HWND other = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
    ASSERT_TRUE(other);
    {
        CApp app;
        ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
        EXPECT_EQ(app.muteHotkey, chord);
        EXPECT_FALSE(app.muteHotkeyTaken);
        EXPECT_FALSE(RegisterMuteHotkey(other, chord)) << "the program holds the chord";
        auto muteChecked = [&app] {
            return (GetMenuState(app.popupMenu.Get(), IDM_MUTE, MF_BYCOMMAND) & MF_CHECKED) != 0;
        };
        app.WndProc(app.mainWindow, WM_HOTKEY, kMuteHotkeyId, 0);
        EXPECT_EQ(app.muted, 1);
        EXPECT_TRUE(muteChecked());
        app.WndProc(app.mainWindow, WM_HOTKEY, kMuteHotkeyId + 1, 0);
        EXPECT_EQ(app.muted, 1) << "another hotkey is not the mute hotkey";
        app.WndProc(app.mainWindow, WM_HOTKEY, kMuteHotkeyId, 0);
        EXPECT_EQ(app.muted, 0);
        EXPECT_FALSE(muteChecked());
    }
    EXPECT_TRUE(RegisterMuteHotkey(other, chord)) << "released with the main window";
    {
        CApp app;
        ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
        EXPECT_TRUE(app.muteHotkeyTaken);
        EXPECT_EQ(app.muteHotkey, chord) << "the choice stays, for the Settings dialog to show";
    }
    UnregisterMuteHotkey(other);
    DestroyWindow(other);
}

TEST_F(Application, MuteAndStartupCommandsToggleTheirMarks) {
    // The Run key is where the start-with-the-system entry goes.
    HKEY runKey;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &runKey, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueA(runKey, "Tapvox");
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    ASSERT_EQ(app.autostart, 0);
    auto checked = [&app](UINT id) {
        return (GetMenuState(app.popupMenu.Get(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };

    app.WndProc(app.mainWindow, WM_COMMAND, IDM_MUTE, 0);
    EXPECT_EQ(app.muted, 1);
    EXPECT_TRUE(checked(IDM_MUTE));
    EXPECT_STREQ(trayIcon.Tip(), "Tapvox: muted");
    app.WndProc(app.mainWindow, WM_COMMAND, IDM_MUTE, 0);
    EXPECT_EQ(app.muted, 0);
    EXPECT_FALSE(checked(IDM_MUTE));
    EXPECT_STREQ(trayIcon.Tip(), "Tapvox");
    EXPECT_EQ(StoredValue(kSettingsKey, "Mute").first, 0u) << "mute is never stored";

    app.WndProc(app.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_STARTUP, 1), 0);
    EXPECT_EQ(app.autostart, 1);
    EXPECT_TRUE(checked(IDM_STARTUP));
    EXPECT_EQ(StoredValue(kRunKey, "Tapvox").second, "\"" + ProgramFolder() + "Launcher.exe\"");
    EXPECT_TRUE(IsAutostartSet());
    app.WndProc(app.mainWindow, WM_COMMAND, IDM_STARTUP, 0);
    EXPECT_EQ(app.autostart, 0);
    EXPECT_FALSE(checked(IDM_STARTUP));
    EXPECT_EQ(StoredValue(kRunKey, "Tapvox").first, 0u);
    RegCloseKey(runKey);
}

TEST_F(Application, MenuGetsTheSchemesOnceWithTheActiveOneChecked) {
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    const char* names[] = {"Classic", "Rock & Roll", "Typewriter"};
    // An "&" shows as itself, not as the mark of a mnemonic.
    const char* texts[] = {"Classic", "Rock && Roll", "Typewriter"};
    for (int i = 0; i < 3; ++i) {
        lstrcpynA(app.schemeList[i].name, names[i], sizeof(app.schemeList[i].name));
        app.schemeList[i].commandId = kFirstSchemeCommand + i;
    }
    app.schemeCount = 3;
    app.activeScheme = 1;
    HMENU popup = GetSubMenu(app.popupMenu.Get(), 0);
    app.PrepareMenu(popup);
    app.PrepareMenu(popup);
    HMENU schemes = GetSubMenu(popup, 6);
    ASSERT_EQ(GetMenuItemCount(schemes), 6) << "three fixed items and three schemes, once";
    for (int i = 0; i < 3; ++i) {
        char text[32] = {};
        GetMenuStringA(schemes, 3 + i, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, texts[i]);
        EXPECT_EQ(GetMenuItemID(schemes, 3 + i), kFirstSchemeCommand + i);
        EXPECT_EQ((GetMenuState(schemes, 3 + i, MF_BYPOSITION) & MF_CHECKED) != 0, i == 1);
    }

    // An index outside the list checks nothing.
    CheckMenuItem(popup, kFirstSchemeCommand + 1, MF_BYCOMMAND | MF_UNCHECKED);
    for (int outside : {-1, 3, 19}) {
        app.activeScheme = outside;
        app.PrepareMenu(popup);
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(GetMenuState(schemes, 3 + i, MF_BYPOSITION) & MF_CHECKED) << outside;
        }
    }
}

// Presses a button of the Settings dialog from inside its modal loop.
void PressSettingsButtonSoon(CApp& app, WORD button) {
    ActOnDialogSoon([&app] { return app.settingsDialog.window; },
                    [button](HWND dialog) { PostMessageA(dialog, WM_COMMAND, button, 0); });
}

TEST_F(Application, SettingsAreStoredOnlyAfterOk) {
    StoreText("Valume", "80");
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));

    PressSettingsButtonSoon(app, IDCANCEL);
    app.WndProc(app.mainWindow, WM_COMMAND, IDM_SETTINGS, 0);
    EXPECT_EQ(StoredValue(kSettingsKey, "Filter").first, 0u) << "Cancel stores nothing";
    EXPECT_EQ(app.filter, 100);

    // The unstored filter 100 has no button, so OK without a choice stores -1.
    PressSettingsButtonSoon(app, IDOK);
    app.WndProc(app.mainWindow, WM_COMMAND, IDM_SETTINGS, 0);
    EXPECT_EQ(app.volume, 80);
    EXPECT_EQ(app.filter, -1);
    EXPECT_EQ(StoredValue(kSettingsKey, "Valume").second, "80");
    EXPECT_EQ(StoredValue(kSettingsKey, "Filter").second, "-1");
}

// Any number but 0 chooses the overlap engine at start, and only for the application's life;
// without one the engine is never touched.
TEST_F(Application, StoredOverlapChoosesTheEngineForTheApplicationsLife) {
    const struct {
        const char* stored;
        int overlap;
    } cases[] = {{nullptr, 0}, {"0", 0}, {"1", 1}, {"abc", 0}, {"-1", -1}};
    for (const auto& c : cases) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "Overlap");
        if (c.stored) StoreText("Overlap", c.stored);
        {
            CApp app;
            ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
            EXPECT_EQ(app.overlap, c.overlap) << (c.stored ? c.stored : "absent");
            EXPECT_EQ(OverlapEngineInUse(), c.overlap != 0) << (c.stored ? c.stored : "absent");
        }
        EXPECT_FALSE(OverlapEngineInUse()) << "the engine outlived the application";
    }
}

// Clicks the Settings dialog's overlap box, then OK.
void ToggleOverlapSoon(CApp& app) {
    ActOnDialogSoon([&app] { return app.settingsDialog.window; }, [](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_OVERLAP, BM_CLICK, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(Application, OverlapBoxSwitchesTheEngineAtOkAndCancelKeepsIt) {
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    ASSERT_FALSE(OverlapEngineInUse());

    // Cancel after a click: nothing stored, nothing switched.
    ActOnDialogSoon([&app] { return app.settingsDialog.window; }, [](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_OVERLAP, BM_CLICK, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    app.WndProc(app.mainWindow, WM_COMMAND, IDM_SETTINGS, 0);
    EXPECT_EQ(StoredValue(kSettingsKey, "Overlap").first, 0u);
    EXPECT_FALSE(OverlapEngineInUse());

    const struct {
        const char* stored;
        bool inUse;
    } steps[] = {{"1", true}, {"0", false}};
    for (const auto& step : steps) {
        ToggleOverlapSoon(app);
        app.WndProc(app.mainWindow, WM_COMMAND, IDM_SETTINGS, 0);
        EXPECT_EQ(StoredValue(kSettingsKey, "Overlap"),
                  std::make_pair(DWORD{REG_SZ}, std::string(step.stored)));
        EXPECT_EQ(OverlapEngineInUse(), step.inUse) << step.stored;
    }
}

// A "Schemes" folder beside the test program for the length of one test.
class SchemesFolder : public TestFolder {
public:
    SchemesFolder() : TestFolder(ProgramFolder() + "Schemes") {}
};

TEST_F(Application, SchemesAreTheFirstTwentyFiveFoldersWithoutADot) {
    SchemesFolder folder;
    for (int i = 0; i < 30; ++i) folder.AddFolder("Scheme" + std::to_string(i));
    folder.AddFolder(".hidden");
    folder.AddFile("notes.txt");
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    ASSERT_EQ(app.schemeCount, 25);
    for (int i = 0; i < app.schemeCount; ++i) {
        const std::string name = app.schemeList[i].name;
        EXPECT_EQ(name.rfind("Scheme", 0), 0u) << name;
        EXPECT_EQ(app.schemeList[i].commandId, 30000u + i);
    }
    EXPECT_EQ(app.activeScheme, 19) << "the default index, which designates the 20th";
}

TEST_F(Application, ChoosingASchemeMovesTheMarkAndStoresItsPosition) {
    SchemesFolder folder;
    for (const char* name : {"Alpha", "Beta", "R&B"}) folder.AddFolder(name);
    StoreText("Scheme", "1");
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    ASSERT_EQ(app.schemeCount, 3);
    ASSERT_EQ(app.activeScheme, 1);
    HMENU popup = GetSubMenu(app.popupMenu.Get(), 0);
    app.PrepareMenu(popup);
    auto checked = [popup](UINT id) {
        return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_TRUE(checked(30001));

    app.WndProc(app.mainWindow, WM_COMMAND, 30002, 0);
    EXPECT_EQ(app.activeScheme, 2);
    EXPECT_EQ(StoredValue(kSettingsKey, "Scheme").second, "2");
    EXPECT_FALSE(checked(30001)) << "the old mark goes at once";
    EXPECT_FALSE(checked(30002)) << "the new one comes with the next showing";
    app.PrepareMenu(popup);
    EXPECT_TRUE(checked(30002));

    // A command past the listed schemes has no item and changes nothing.
    app.WndProc(app.mainWindow, WM_COMMAND, 30010, 0);
    EXPECT_EQ(app.activeScheme, 2);

    // An item shows "&" doubled; choosing it loads the scheme of the name it shows.
    for (int i = 0; i < app.schemeCount; ++i) {
        app.WndProc(app.mainWindow, WM_COMMAND, 30000 + i, 0);
        EXPECT_STREQ(app.schemeSet->schemeName, app.schemeList[i].name);
    }
}

// Hook events as they reach an application's main window, recorded before it handles them.
struct MainWindowEvents {
    static std::vector<uint32_t> events;
    static WNDPROC original;
    static UINT hookMessage;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == hookMessage) events.push_back(static_cast<uint32_t>(wParam));
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    static void Watch(CApp& app) {
        events.clear();
        hookMessage = app.hookMessage;
        original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            app.mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindowEvents::Proc)));
    }
    // Clicks the left and right buttons, then taps K, and takes the application's messages
    // until K's release has come: what the hooks reported comes before it, in order.
    static std::vector<uint32_t> ClickThenTapK(CApp& app) {
        events.clear();
        INPUT inputs[6] = {};
        const DWORD mouseFlags[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                    MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
        for (int i = 0; i < 4; ++i) {
            inputs[i].type = INPUT_MOUSE;
            inputs[i].mi.dwFlags = mouseFlags[i];
        }
        inputs[4].type = inputs[5].type = INPUT_KEYBOARD;
        inputs[4].ki.wVk = inputs[5].ki.wVk = 'K';
        inputs[5].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(ARRAYSIZE(inputs), inputs, sizeof(INPUT));
        const DWORD start = GetTickCount();
        const uint32_t last = MakeKeyReleaseEvent('K');
        while ((events.empty() || events.back() != last) && GetTickCount() - start < 10000) {
            app.PumpMessages();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return events;
    }
};
std::vector<uint32_t> MainWindowEvents::events;
WNDPROC MainWindowEvents::original = nullptr;
UINT MainWindowEvents::hookMessage = 0;

// Chooses the scheme from the menu, as the user does; false when it is not listed.
bool ChooseScheme(CApp& app, const char* name) {
    app.PrepareMenu(GetSubMenu(app.popupMenu.Get(), 0));
    for (int i = 0; i < app.schemeCount; ++i) {
        if (std::strcmp(app.schemeList[i].name, name) != 0) continue;
        app.WndProc(app.mainWindow, WM_COMMAND, 30000 + i, 0);
        return std::strcmp(app.schemeSet->schemeName, name) == 0;
    }
    return false;
}

// The mouse hook follows the scheme chosen: a scheme without button words leaves the hooks the
// keyboard's alone.
TEST_F(Application, ClicksAreHookedOnlyWhileTheSchemeNamesAButton) {
    SchemesFolder folder;
    const struct {
        const char* name;
        const char* text;
    } schemes[] = {{"Keys", "K=k.wav"},
                   {"Clicks", "K=k.wav LBUTTON=l.wav"},
                   {"Releases", "K=k.wav RBUTTON.UP=r.wav"}};
    for (const auto& scheme : schemes) {
        folder.AddFolder(scheme.name);
        folder.AddFile(std::string(scheme.name) + "\\Scheme.txt", scheme.text);
    }
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    const std::vector<uint32_t> keyOnly = {MakeKeyEvent('K', 'k'), MakeKeyReleaseEvent('K')};
    const std::vector<uint32_t> clicksToo = {
        MakeMouseEvent(VK_LBUTTON, false), MakeMouseEvent(VK_LBUTTON, true),
        MakeMouseEvent(VK_RBUTTON, false), MakeMouseEvent(VK_RBUTTON, true),
        MakeKeyEvent('K', 'k'),            MakeKeyReleaseEvent('K')};
    const struct {
        const char* scheme;
        const std::vector<uint32_t>* expected;
    } steps[] = {{"Keys", &keyOnly},       {"Clicks", &clicksToo}, {"Releases", &clicksToo},
                 {"Keys", &keyOnly},       {"Releases", &clicksToo}};

    // Chosen before the hooks are set, the scheme decides the first install.
    ASSERT_TRUE(ChooseScheme(app, "Clicks"));
    ASSERT_TRUE(app.HkSetHooks());
    MainWindowEvents::Watch(app);
    EXPECT_EQ(MainWindowEvents::ClickThenTapK(app), clicksToo) << "first install";
    for (const auto& step : steps) {
        ASSERT_TRUE(ChooseScheme(app, step.scheme));
        EXPECT_EQ(MainWindowEvents::ClickThenTapK(app), *step.expected) << step.scheme;
    }
    // A re-install keeps what the scheme asks for.
    ASSERT_TRUE(app.HkResetHooks());
    EXPECT_EQ(MainWindowEvents::ClickThenTapK(app), clicksToo) << "after a re-install";
    app.HkUnsetHooks();
}

// A button's press and release sound as a key's do: unfiltered, and not while muted.
TEST_F(Application, MouseEventsPlayTheirButtonsSounds) {
    SchemesFolder folder;
    folder.AddFolder("Clicks");
    folder.AddFile("Clicks\\Scheme.txt", "LBUTTON=l.wav XBUTTON2.UP=x.wav");
    const TestWavFormat format;
    const std::vector<uint8_t> left = MakePlayableTestWav(format, TestSamples(2000, 1));
    const std::vector<uint8_t> side = MakePlayableTestWav(format, TestSamples(3000, 2));
    folder.AddFile("Clicks\\l.wav", std::string(left.begin(), left.end()));
    folder.AddFile("Clicks\\x.wav", std::string(side.begin(), side.end()));
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    ASSERT_TRUE(ChooseScheme(app, "Clicks"));
    app.volume = 101;  // above 100 the volume step is skipped: the file plays as it is
    app.filter = 1;    // never applied to a button

    const struct {
        uint32_t event;
        int muted;
        const std::vector<uint8_t>* played;  // nullptr: nothing
    } cases[] = {
        {MakeMouseEvent(VK_LBUTTON, false), 0, &left},
        {MakeMouseEvent(VK_LBUTTON, true), 0, nullptr},  // no LBUTTON.UP
        {MakeMouseEvent(VK_XBUTTON2, true), 0, &side},
        {MakeMouseEvent(VK_RBUTTON, false), 0, nullptr},
        {MakeMouseEvent(VK_LBUTTON, false), 1, nullptr},
    };
    for (const auto& c : cases) {
        StopWavePlayback();
        app.muted = c.muted;
        app.WndProc(app.mainWindow, app.hookMessage, c.event, 0);
        const PlayingWaveImage held = CurrentPlayingWaveImage();
        const std::vector<uint8_t> heldBytes(held.data, held.data + held.size);
        EXPECT_EQ(heldBytes, c.played != nullptr ? *c.played : std::vector<uint8_t>())
            << std::hex << c.event << " muted " << c.muted;
    }
    StopWavePlayback();
}

// The poll timer reads this thread's key states, which the test sets directly.
TEST_F(Application, PollTimerTracksModifierAndLockStatesWhileMuted) {
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    app.muted = 1;
    BYTE keys[256] = {};
    keys[VK_SHIFT] = 0x80;
    keys[VK_LWIN] = 0x80;
    keys[VK_RWIN] = 0x80;
    keys[VK_CAPITAL] = 0x01;
    keys[VK_SCROLL] = 0x81;
    ASSERT_TRUE(SetKeyboardState(keys));
    app.WndProc(app.mainWindow, WM_TIMER, 7027, 0);
    EXPECT_EQ(app.shiftDown, 1);
    EXPECT_EQ(app.ctrlDown, 0);
    EXPECT_EQ(app.altDown, 0);
    EXPECT_EQ(app.winDown, 1);
    EXPECT_EQ(app.capsLockOn, 1);
    EXPECT_EQ(app.numLockOn, 0);
    EXPECT_EQ(app.scrollLockOn, 1);

    keys[VK_SHIFT] = keys[VK_LWIN] = keys[VK_SCROLL] = 0;
    keys[VK_CONTROL] = 0x80;
    keys[VK_NUMLOCK] = 0x01;
    ASSERT_TRUE(SetKeyboardState(keys));
    app.PollModifierKeys();
    EXPECT_EQ(app.shiftDown, 0);
    EXPECT_EQ(app.ctrlDown, 1);
    EXPECT_EQ(app.winDown, 0);
    EXPECT_EQ(app.numLockOn, 1);
    EXPECT_EQ(app.scrollLockOn, 0);

    const BYTE released[256] = {};
    SetKeyboardState(const_cast<BYTE*>(released));
}

TEST_F(Application, TutorialOpensOnceForANonZeroValue) {
    CApp app;
    const struct {
        bool dword;
        DWORD value;
        const char* text;
        std::string after;
    } cases[] = {
        {true, 1, nullptr, "0"}, {true, 0, nullptr, "0"}, {false, 0, "1", "0"},
    };
    for (const auto& c : cases) {
        if (c.dword) StoreDword("ShowTutorialOnRun", c.value);
        else StoreText("ShowTutorialOnRun", c.text);
        app.ShowTutorialOnce();
        EXPECT_EQ(StoredValue(kSettingsKey, "ShowTutorialOnRun"),
                  std::make_pair(DWORD{REG_DWORD}, c.after));
    }
    // Too long for its four-byte buffer: the read fails and nothing changes.
    const ULONGLONG wide = 1;
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "ShowTutorialOnRun", REG_QWORD, &wide,
                    sizeof(wide));
    app.ShowTutorialOnce();
    EXPECT_EQ(StoredValue(kSettingsKey, "ShowTutorialOnRun").first, DWORD{REG_QWORD});
}

TEST_F(Application, OtherMessagesAndTimers) {
    CApp app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
    EXPECT_EQ(app.WndProc(app.mainWindow, WM_COPYDATA, 0, 0), 0);
    EXPECT_EQ(app.WndProc(app.mainWindow, TrayCallbackMessage, 0, WM_LBUTTONUP), 0);
    EXPECT_EQ(app.WndProc(app.mainWindow, TrayCallbackMessage, 0, WM_MOUSEMOVE), 0);

    // The helper may announce itself again later; the newest window counts. Windows of this
    // test program stand in for the helper's.
    app.helperPath = ProgramPath();
    HWND first = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    HWND second = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    app.WndProc(app.mainWindow, app.helperMessage, reinterpret_cast<WPARAM>(first), 0);
    app.WndProc(app.mainWindow, app.helperMessage, reinterpret_cast<WPARAM>(second), 0);
    EXPECT_EQ(app.helperWindow, second);
    app.helperWindow = nullptr;
    DestroyWindow(first);
    DestroyWindow(second);

    app.WndProc(app.mainWindow, WM_DESTROY, 0, 0);
    EXPECT_EQ(app.popupMenu.Get(), nullptr);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

// Tracing on: Init, every message, and both pairs of HkSetHooks reach c:/tmp/log.txt.
TEST_F(Application, TraceWritesThePairsOfTheApplication) {
    const ScopedTraceFile trace;
    ASSERT_TRUE(trace.FolderReady());
    {
        CApp app;
        ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr), ""));
        EXPECT_EQ(app.traceEnabled, 1);
        app.WndProc(app.mainWindow, WM_COPYDATA, 0, 0);
        app.hooksSet = 1;
        app.HkSetHooks();
        app.hooksSet = 0;
    }
    trace.StopTracing();

    std::string log;
    HANDLE file = CreateFileA(kTraceFilePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[65536];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
    CloseHandle(file);
    log.assign(buffer, read);
    for (const char* expected : {
             "Entering CApp::Init() - (CApp.cpp:208)\r\nLeaving  CApp::Init() - (CApp.cpp)\r\n",
             "Entering CApp::FindSchemes() - (CApp.cpp:230)\r\n",
             "Entering CApp::WndProc() - (CApp.cpp:766)\r\n"
             "Leaving  CApp::WndProc() - (CApp.cpp)\r\n",
             "Entering CApp::HkSetHooks() - (CApp.cpp:321)\r\nLeaving  CApp::HkSetHooks() - "
             "(CApp.cpp)\r\nEntering CApp::HkSetHooks() - (CApp.cpp:327)\r\n",
             "Entering CApp::~CApp() - (CApp.cpp:103)\r\nLeaving  CApp::~CApp() - (CApp.cpp)\r\n",
         }) {
        EXPECT_NE(log.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(log.find("CApp::InitInstance"), std::string::npos)
        << "InitInstance runs before the switch is copied";
}

}  // namespace
