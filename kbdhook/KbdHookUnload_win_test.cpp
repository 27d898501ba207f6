// KbdHook.dll loaded and freed at run time: the hook thread keeps the library in memory while
// it runs and lets it go when it ends, so freeing the library never pulls code from under a
// running hook.

#include "tests/RecordingWindow_win.h"

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

TEST(KbdHookUnload, FreedAfterTheHookIsRemoved) {
    RecordingWindow recorder;
    const HMODULE library = LoadLibraryA("KbdHook.dll");
    ASSERT_NE(library, nullptr);
    const SetHooksCall setHooks = SetHooksOf(library);
    ASSERT_NE(setHooks, nullptr);
    ASSERT_TRUE(setHooks(recorder.Get(), TRUE));
    ASSERT_TRUE(setHooks(nullptr, FALSE));
    FreeLibrary(library);
    EXPECT_TRUE(WaitUntilUnloaded(recorder));
}

TEST(KbdHookUnload, StaysWhileTheHookRunsAndGoesWhenItIsRemoved) {
    RecordingWindow recorder;
    const HMODULE library = LoadLibraryA("KbdHook.dll");
    ASSERT_NE(library, nullptr);
    const SetHooksCall setHooks = SetHooksOf(library);
    ASSERT_NE(setHooks, nullptr);
    ASSERT_TRUE(setHooks(recorder.Get(), TRUE));
    FreeLibrary(library);
    recorder.PumpFor(200);
    ASSERT_TRUE(IsLoaded());

    // Keys still arrive: the hook's code is still there.
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = 'M';
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(ARRAYSIZE(inputs), inputs, sizeof(INPUT));
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
