// KbdHook.dll through its import library: export names, the system query, and the hook fed
// with synthesised input. Expected events are spelled with the encoder the hook uses, which
// HookEvent_test pins to literal values: these tests check which events come, in what order.

#include "hook/KbdHook.h"

#include "hook/HookEvent.h"
#include "tests/RecordingWindow_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void SendKey(WORD keyCode, bool keyUp) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = keyCode;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(keyCode, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = keyUp ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void Tap(WORD keyCode) {
    SendKey(keyCode, false);
    SendKey(keyCode, true);
}

// A button pressed and released in one call, so that no other input comes between.
void Click(DWORD downFlag, DWORD upFlag, DWORD data = 0) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.mouseData = data;
    }
    inputs[0].mi.dwFlags = downFlag;
    inputs[1].mi.dwFlags = upFlag;
    SendInput(ARRAYSIZE(inputs), inputs, sizeof(INPUT));
}

void MoveAndWheel() {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    inputs[0].mi.dx = 3;
    inputs[1].mi.dwFlags = MOUSEEVENTF_WHEEL;
    inputs[1].mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    SendInput(ARRAYSIZE(inputs), inputs, sizeof(INPUT));
}

// Every button, a move and a wheel turn, then a key: the key's events close what comes.
void ClickEveryButtonThenTapAKey() {
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    Click(MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1);
    Click(MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2);
    MoveAndWheel();
    Tap('K');
}

// What a press or release of a polled key posts: an event that sounds nothing.
constexpr uint32_t kPolledKeyChange = MakeHookEvent(HookEventWindowInfo, 0);

constexpr uint32_t Up(uint8_t keyCode) { return MakeKeyReleaseEvent(keyCode); }

// Waits until no further event arrives for a while, then returns what came.
std::vector<uint32_t> SettledEvents(RecordingWindow& recorder) {
    size_t seen = static_cast<size_t>(-1);
    while (seen != recorder.HookEvents().size()) {
        seen = recorder.HookEvents().size();
        recorder.PumpFor(300);
    }
    return recorder.HookEvents();
}

class HookedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(recorder.Get(), nullptr);
        ASSERT_TRUE(SetHooks(recorder.Get(), TRUE));
    }
    void TearDown() override { SetHooks(nullptr, FALSE); }

    RecordingWindow recorder;
};

TEST(KbdHookExports, CarryPlainNames) {
    const HMODULE library = GetModuleHandleA("KbdHook.dll");
    ASSERT_NE(library, nullptr);
    const char* const names[] = {"IsOsX64",    "SetupVistaUipiFilter", "SetHooks",
                                 "ResetHooks", "SetWaitForEndKey",     "RunApplication"};
    for (const char* name : names) EXPECT_NE(GetProcAddress(library, name), nullptr) << name;
}

TEST(KbdHookExports, IsOsX64MatchesTheSystemFolders) {
    // Only a 64-bit system has the folder of its 32-bit system files.
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(folder, ARRAYSIZE(folder));
    ASSERT_GT(length, 0u);
    ASSERT_LT(length + 10, ARRAYSIZE(folder));
    lstrcatA(folder, "\\SysWOW64");
    const DWORD attributes = GetFileAttributesA(folder);
    const bool hasWow64Folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(IsOsX64() != 0, hasWow64Folder);
}

TEST(KbdHookExports, SmallCallsAnswerAsDocumented) {
    EXPECT_TRUE(SetupVistaUipiFilter());
    EXPECT_EQ(SetWaitForEndKey(0), 0);
    EXPECT_EQ(SetWaitForEndKey(7), 7);
}

TEST(KbdHookExports, SetHooksRefusesAWindowThatIsNotThere) {
    RecordingWindow recorder;
    const HWND gone = recorder.Get();
    recorder.Destroy();
    EXPECT_FALSE(SetHooks(gone, TRUE));
    EXPECT_FALSE(SetHooks(nullptr, TRUE));
    EXPECT_TRUE(SetHooks(nullptr, FALSE));
}

TEST_F(HookedWindow, EachPressBecomesOneKeyEventAndItsReleaseOneRelease) {
    Tap('A');
    SendKey(VK_LSHIFT, false);
    Tap('A');
    SendKey(VK_LSHIFT, true);
    SendKey('B', false);  // held: the repeats are not reported
    SendKey('B', false);
    SendKey('B', false);
    SendKey('B', true);
    Tap('5');
    Tap(VK_SPACE);
    Tap(VK_RETURN);
    Tap(VK_LEFT);
    Tap(VK_F5);
    const std::vector<uint32_t> expected = {
        MakeKeyEvent('A', 'a'),        Up('A'),      kPolledKeyChange,
        MakeKeyEvent('A', 'A'),        Up('A'),      kPolledKeyChange,
        MakeKeyEvent('B', 'b'),        Up('B'),      MakeKeyEvent('5', '5'),
        Up('5'),                       MakeKeyEvent(VK_SPACE, ' '),  Up(VK_SPACE),
        MakeKeyEvent(VK_RETURN, '\r'), Up(VK_RETURN), MakeKeyEvent(VK_LEFT, 0),
        Up(VK_LEFT),                   MakeKeyEvent(VK_F5, 0),       Up(VK_F5),
    };
    EXPECT_EQ(SettledEvents(recorder), expected);
}

TEST_F(HookedWindow, PolledKeysPostAChangeAtEachPressAndReleaseAndNoKeyEvent) {
    const WORD polled[] = {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU,
                           VK_RMENU,  VK_SHIFT,  VK_CONTROL,  VK_MENU,     VK_LWIN};
    for (WORD key : polled) Tap(key);
    // Lock keys twice, to leave their state as it was.
    const WORD locks[] = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};
    for (WORD key : locks) {
        Tap(key);
        Tap(key);
    }
    SendKey(VK_LCONTROL, false);  // held: its repeats post nothing
    SendKey(VK_LCONTROL, false);
    SendKey(VK_LCONTROL, true);
    Tap('Z');
    const size_t changes = 2 * (ARRAYSIZE(polled) + 2 * ARRAYSIZE(locks)) + 2;
    std::vector<uint32_t> expected(changes, kPolledKeyChange);
    expected.push_back(MakeKeyEvent('Z', 'z'));
    expected.push_back(Up('Z'));
    EXPECT_EQ(SettledEvents(recorder), expected);
}

TEST_F(HookedWindow, CapsLockGivesCapitals) {
    Tap(VK_CAPITAL);
    Tap('Q');
    Tap(VK_CAPITAL);
    Tap('Q');
    const std::vector<uint32_t> expected = {
        kPolledKeyChange, kPolledKeyChange, MakeKeyEvent('Q', 'Q'), Up('Q'),
        kPolledKeyChange, kPolledKeyChange, MakeKeyEvent('Q', 'q'), Up('Q')};
    EXPECT_EQ(SettledEvents(recorder), expected);
}

TEST_F(HookedWindow, ReinstallingNeverDoublesEvents) {
    ASSERT_TRUE(SetHooks(recorder.Get(), TRUE));  // again, for the same window
    ASSERT_TRUE(ResetHooks());
    Tap('C');
    EXPECT_EQ(SettledEvents(recorder), (std::vector<uint32_t>{MakeKeyEvent('C', 'c'), Up('C')}));
}

TEST_F(HookedWindow, RemovedHookReportsNothingAndResetBringsItBack) {
    ASSERT_TRUE(SetHooks(nullptr, FALSE));
    Tap('D');
    EXPECT_TRUE(SettledEvents(recorder).empty());
    ASSERT_TRUE(ResetHooks());
    Tap('E');
    EXPECT_EQ(SettledEvents(recorder), (std::vector<uint32_t>{MakeKeyEvent('E', 'e'), Up('E')}));
}

TEST_F(HookedWindow, ResetFailsOnceTheWindowIsGone) {
    SetHooks(nullptr, FALSE);
    recorder.Destroy();
    EXPECT_FALSE(ResetHooks());
}

TEST_F(HookedWindow, AKeyUpMissedWhileRemovedDoesNotSilenceTheKey) {
    SendKey('F', false);
    ASSERT_TRUE(SetHooks(nullptr, FALSE));
    SendKey('F', true);  // unseen: no hook in place
    ASSERT_TRUE(ResetHooks());
    Tap('F');
    // The release missed goes unheard; the next press and its release are reported.
    const std::vector<uint32_t> expected = {MakeKeyEvent('F', 'f'), MakeKeyEvent('F', 'f'),
                                            Up('F')};
    EXPECT_EQ(SettledEvents(recorder), expected);
}

const std::vector<uint32_t> kKeyOnly = {MakeKeyEvent('K', 'k'), Up('K')};

const std::vector<uint32_t> kEveryClickThenTheKey = {
    MakeMouseEvent(VK_LBUTTON, false),  MakeMouseEvent(VK_LBUTTON, true),
    MakeMouseEvent(VK_RBUTTON, false),  MakeMouseEvent(VK_RBUTTON, true),
    MakeMouseEvent(VK_MBUTTON, false),  MakeMouseEvent(VK_MBUTTON, true),
    MakeMouseEvent(VK_XBUTTON1, false), MakeMouseEvent(VK_XBUTTON1, true),
    MakeMouseEvent(VK_XBUTTON2, false), MakeMouseEvent(VK_XBUTTON2, true),
    MakeKeyEvent('K', 'k'),             Up('K'),
};

TEST_F(HookedWindow, WithoutTheMouseBitClicksReportNothing) {
    ClickEveryButtonThenTapAKey();
    EXPECT_EQ(SettledEvents(recorder), kKeyOnly);
}

// The mouse hook follows the install value of each SetHooks, and ResetHooks keeps it.
TEST_F(HookedWindow, TheMouseBitReportsEachPressAndReleaseOfEveryButton) {
    const struct {
        const char* step;
        BOOL (*change)(HWND);
        const std::vector<uint32_t>* expected;
    } steps[] = {
        {"install with clicks", [](HWND w) { return SetHooks(w, TRUE | KBDHOOK_MOUSE_CLICKS); },
         &kEveryClickThenTheKey},
        {"reset keeps clicks", [](HWND) { return ResetHooks(); }, &kEveryClickThenTheKey},
        {"install again without", [](HWND w) { return SetHooks(w, TRUE); }, &kKeyOnly},
        {"reset keeps them off", [](HWND) { return ResetHooks(); }, &kKeyOnly},
        {"install with clicks again",
         [](HWND w) { return SetHooks(w, TRUE | KBDHOOK_MOUSE_CLICKS); }, &kEveryClickThenTheKey},
    };
    for (const auto& step : steps) {
        recorder.ClearHookEvents();
        ASSERT_TRUE(step.change(recorder.Get())) << step.step;
        ClickEveryButtonThenTapAKey();
        EXPECT_EQ(SettledEvents(recorder), *step.expected) << step.step;
    }
    ASSERT_TRUE(SetHooks(nullptr, FALSE));
    recorder.ClearHookEvents();
    ClickEveryButtonThenTapAKey();
    EXPECT_TRUE(SettledEvents(recorder).empty()) << "removing the hooks removes the mouse's too";
}

// A window of the thread that changes the hook: what it asks of the library while the change
// waits for the hook's thread.
struct NestedCaller {
    static std::vector<BOOL> results;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
        results.push_back(SetHooks(nullptr, FALSE));
        results.push_back(ResetHooks());
        return 0;
    }
};
std::vector<BOOL> NestedCaller::results;

TEST_F(HookedWindow, ChangesTakeTheCallersMessagesAndRefuseChangesFromThem) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = NestedCaller::Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TapvoxNestedCaller";
    RegisterClassA(&windowClass);
    const HWND caller = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0,
                                        nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(caller, nullptr);
    const struct {
        const char* change;
        HWND window;
        BOOL install;
    } changes[] = {{"install again", recorder.Get(), TRUE}, {"remove", nullptr, FALSE}};
    for (const auto& c : changes) {
        NestedCaller::results.clear();
        PostMessageA(caller, WM_APP, 0, 0);
        EXPECT_TRUE(SetHooks(c.window, c.install)) << c.change;
        EXPECT_EQ(NestedCaller::results, (std::vector<BOOL>{FALSE, FALSE})) << c.change;
    }
    // The nested calls changed nothing: the hook is off, as the last outer call left it.
    Tap('G');
    EXPECT_TRUE(SettledEvents(recorder).empty());

    // A quit met while waiting stays for the caller's own loop.
    PostQuitMessage(5);
    ASSERT_TRUE(ResetHooks());
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 5u);
    Tap('H');
    EXPECT_EQ(SettledEvents(recorder), (std::vector<uint32_t>{MakeKeyEvent('H', 'h'), Up('H')}));
    DestroyWindow(caller);
}

}  // namespace
