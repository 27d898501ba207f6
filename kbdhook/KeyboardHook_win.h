#pragma once
// The system-wide low-level keyboard hook, run on a thread of its own with its own message
// loop: the system calls a low-level hook on the thread that installed it, and no key press
// anywhere may wait for Tapvox's main thread while it loads and plays a sound.

#include "kbdhook/KeyPressFilter.h"

#include <windows.h>

// Where key events go, and the keys seen so far.
struct HookTarget {
    HWND window = nullptr;
    UINT message = 0;
    KeyPressFilter keys;
};

// The body of the hook callback: records the event and, for a new press, posts its key event
// (hook/HookEvent.h) to the target window. Posts and returns; never waits for the receiver.
void ReportKeyEvent(HookTarget& target, const KBDLLHOOKSTRUCT& key);

struct HookThreadContext;

class KeyboardHookThread {
public:
    KeyboardHookThread() = default;
    ~KeyboardHookThread() { Stop(); }
    KeyboardHookThread(const KeyboardHookThread&) = delete;
    KeyboardHookThread& operator=(const KeyboardHookThread&) = delete;

    // Starts the thread and installs the hook on it, reporting to window with message.
    // True once the hook is in place; false, with no thread left running, otherwise.
    // Each start begins with no key down: a key-up missed while no hook was in place must
    // not silence that key's next press.
    bool Start(HWND window, UINT message);

    // Removes the hook and ends the thread. Waits a bounded time; a thread that does not end
    // in time is left to finish on its own.
    void Stop();

    bool IsRunning() const { return context_ != nullptr; }

private:
    HookThreadContext* context_ = nullptr;
};
