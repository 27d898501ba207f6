#pragma once
// The system-wide low-level keyboard hook, run on a thread of its own with its own message
// loop: the system calls a low-level hook on the thread that installed it, and no key press
// anywhere may wait for Tapvox's main thread while it loads and plays a sound.

#include "kbdhook/KeyPressFilter.h"

#include <windows.h>

#include <cstddef>

// A new press waiting for its character: the key, and the keys held when it came.
struct PendingPress {
    KBDLLHOOKSTRUCT key;
    KeyPressFilter keysHeld;
};

// Where key events go, the keys seen so far, and the presses not yet posted.
struct HookTarget {
    HWND window = nullptr;
    UINT message = 0;
    KeyPressFilter keys;
    PendingPress pending[64];
    size_t pendingCount = 0;
};

// The body of the hook callback: records the event and queues a new press. It makes no system
// call, so the system's input, which waits for the callback, never waits for more than that.
// A press that finds the queue full is dropped.
void RecordKeyEvent(HookTarget& target, const KBDLLHOOKSTRUCT& key);

// Run by the hook thread once the callback has returned: looks up the character of each
// queued press and posts its key event (hook/HookEvent.h) to the target window, in order.
// Posts and returns; never waits for the receiver.
void PostPendingPresses(HookTarget& target);

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
