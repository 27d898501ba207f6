#pragma once
// Watches the window in front and the focused control, and keeps which quiet rule holds. The
// facts are gathered when the foreground, the focus or the front window's place changes, so
// the key path reads one stored value and never asks the system per key.

#include "app/QuietSettings.h"
#include "app/WinHandles.h"
#include "hook/QuietRules.h"

#include <windows.h>

#include <functional>

class QuietWatch {
public:
    QuietWatch() = default;
    ~QuietWatch();
    QuietWatch(const QuietWatch&) = delete;
    QuietWatch& operator=(const QuietWatch&) = delete;

    // Installs the event hooks on the calling thread, whose message loop delivers the events,
    // and decides at once for the window in front. changed runs whenever the reason changes.
    // One watch runs at a time; false when the system refused the hooks.
    bool Start(const QuietSettings& settings, std::function<void()> changed);
    void Stop();
    // New settings take effect at once.
    void Apply(const QuietSettings& settings);
    // Asks which window is in front and which control has the focus, and decides again when
    // either changed since the last time it asked. Some systems (Wine among them) announce no
    // foreground change, nor a focus that comes back with its window; the poll timer calls it.
    void CheckFront();
    // The rule that holds, Mute apart; None while the watch is stopped.
    QuietReason Reason() const { return reason_; }

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG objectId,
                                 LONG childId, DWORD thread, DWORD time);
    void OnForeground(HWND window);
    void OnFocus(HWND window, LONG objectId, LONG childId);
    void OnLocation(HWND window, LONG objectId);
    void WatchForegroundPlace(HWND window);
    static ScopedWinEventHook HookEvent(DWORD event, DWORD processId);
    void Decide();

    QuietSettings settings_;
    std::function<void()> changed_;
    QuietFacts facts_;
    QuietReason reason_ = QuietReason::None;
    HWND foreground_ = nullptr;
    HWND focus_ = nullptr;
    // What CheckFront saw last, apart from what the events said.
    HWND checkedForeground_ = nullptr;
    HWND checkedFocus_ = nullptr;
    bool comStarted_ = false;
    ScopedWinEventHook foregroundHook_;
    ScopedWinEventHook focusHook_;
    // Only the front window's process: every window's moves would wake us far too often.
    ScopedWinEventHook locationHook_;
};
