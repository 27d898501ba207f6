#pragma once
// The system-wide low-level keyboard hook, and the mouse hook when asked for, run on a thread
// of their own with its own message loop: the system calls a low-level hook on the thread that
// installed it, and no key press or click anywhere may wait for Tapvox's main thread while it
// loads and plays a sound.

#include "kbdhook/KeyPressFilter.h"

#include <windows.h>

#include <cstddef>

// An event waiting to be posted: a new press, which waits for its character (the key, and the
// keys held when it came), a release, a change of a polled key, or a click. One queue keeps
// keys and clicks in the order they came.
struct PendingPress {
    KBDLLHOOKSTRUCT key;
    KeyPressFilter keysHeld;
    KeyEventOutcome outcome;
    uint32_t mouseEvent;  // a click's event, ready to post; 0 for a key's
};

// Where key events go, the keys seen so far, and the presses and clicks not yet posted.
struct HookTarget {
    HWND window = nullptr;
    UINT message = 0;
    KeyPressFilter keys;
    PendingPress pending[64];
    size_t pendingCount = 0;
};

// The body of the hook callback: records the event and queues a new press, a release or a
// polled key's change. It makes no system call, so the system's input, which waits for the callback, never
// waits for more than that. An event that finds the queue full is dropped.
void RecordKeyEvent(HookTarget& target, const KBDLLHOOKSTRUCT& key);

// The body of the mouse hook callback: queues the press or release of a mouse button as its
// mouse event (hook/HookEvent.h) and returns at once for anything else, the moves above all,
// which come far more often than clicks. No system call; a click that finds the queue full is
// dropped.
void RecordMouseEvent(HookTarget& target, WPARAM mouseMessage, const MSLLHOOKSTRUCT& mouse);

// Run by the hook thread once the callback has returned, when the system's key state already
// holds the events: posts, in order, each queued press's key event with its character, each
// release's event, and for each polled key's change an event that sounds nothing
// (hook/HookEvent.h), after which the receiver's poll reads the new state, and each click's
// event. Posts and returns; never waits for the receiver, and a sent message would be handled
// where the receiver's poll does not follow it.
void PostPendingPresses(HookTarget& target);

struct HookThreadContext;

class KeyboardHookThread {
public:
    KeyboardHookThread() = default;
    // Tells the thread to end without waiting for it: the library's static object goes at
    // unload or process exit, under the loader's lock, where no message may be dispatched.
    ~KeyboardHookThread() { LetGo(); }
    KeyboardHookThread(const KeyboardHookThread&) = delete;
    KeyboardHookThread& operator=(const KeyboardHookThread&) = delete;

    // Starts the thread and installs the keyboard hook on it, and with mouseClicks the mouse
    // hook too, reporting to window with message. True once the keyboard hook is in place (a
    // mouse hook refused leaves clicks unreported); false, with no thread left running,
    // otherwise.
    // While it waits for the thread, and while Stop does, the calling thread's messages are
    // dispatched; neither may be called again from inside that dispatch.
    // Each start begins with no key down: a key-up missed while no hook was in place must
    // not silence that key's next press.
    bool Start(HWND window, UINT message, bool mouseClicks);

    // Removes the hook and ends the thread. Waits a bounded time; a thread that does not end
    // in time is left to finish on its own.
    void Stop();

    bool IsRunning() const { return context_ != nullptr; }

private:
    // Asks the thread to end and drops this side's hold on it.
    void LetGo();

    HookThreadContext* context_ = nullptr;
};
