// KbdHook.dll loaded and freed at run time: the hook thread keeps the library in memory while
// it runs and lets it go when it ends, so freeing the library never pulls code from under a
// running hook.

#include "tests/RecordingWindow_win.h"
#include "tests/SendKeyTap_win.h"

#include <gtest/gtest.h>

namespace {

using SetHooksCall = BOOL (*)(HWND, BOOL);

bool IsLoaded() { return GetModuleHandleA("KbdHook.dll") != nullptr; }

bool WaitUntilUnloaded(RecordingWindow& pump) {
    return pump.PumpUntil([] { return !IsLoaded(); }, 5000);
}

SetHooksCall SetHooksOf(HMODULE library) {
    return reinterpret_cast<SetHooksCall>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "SetHooks")));
}

// The library loaded by the test itself, its hook installed for the recorder.
class KbdHookUnload : public ::testing::Test {
protected:
    void SetUp() override {
        library = LoadLibraryA("KbdHook.dll");
        ASSERT_NE(library, nullptr);
        setHooks = SetHooksOf(library);
        ASSERT_NE(setHooks, nullptr);
        ASSERT_TRUE(setHooks(recorder.Get(), TRUE));
    }

    RecordingWindow recorder;
    HMODULE library = nullptr;
    SetHooksCall setHooks = nullptr;
};

TEST_F(KbdHookUnload, FreedAfterTheHookIsRemoved) {
    ASSERT_TRUE(setHooks(nullptr, FALSE));
    FreeLibrary(library);
    EXPECT_TRUE(WaitUntilUnloaded(recorder));
}

TEST_F(KbdHookUnload, StaysWhileTheHookRunsAndGoesWhenItIsRemoved) {
    FreeLibrary(library);
    recorder.PumpFor(200);
    ASSERT_TRUE(IsLoaded());

    // Keys still arrive: the hook's code is still there.
    SendKeyTap('M');
    EXPECT_TRUE(recorder.PumpUntil([&] { return !recorder.HookEvents().empty(); }, 5000));

    // Removing the hook through a reference of our own ends the thread, which lets go of
    // the thread's reference; freeing ours then unloads the library.
    const HMODULE again = LoadLibraryA("KbdHook.dll");
    ASSERT_EQ(again, library);
    ASSERT_TRUE(SetHooksOf(again)(nullptr, FALSE));
    recorder.PumpFor(200);
    ASSERT_TRUE(IsLoaded());
    FreeLibrary(again);
    EXPECT_TRUE(WaitUntilUnloaded(recorder));
}

}  // namespace
