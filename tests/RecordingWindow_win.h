#pragma once
// Test support: a hidden top-level window that records what the hook library and the helper
// send to a main window: hook events and the helper's announcement.

#include "hook/HookEvent.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class RecordingWindow {
public:
    RecordingWindow() {
        hookMessage_ = RegisterWindowMessageA(kHookMessageName);
        helperMessage_ = RegisterWindowMessageA(kHelperMessageName);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &RecordingWindow::WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        window_ = CreateWindowExA(0, kClassName, "recorder", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, windowClass.hInstance, this);
    }
    ~RecordingWindow() { Destroy(); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Get() const { return window_; }
    void Destroy() {
        if (window_ != nullptr) DestroyWindow(window_);
        window_ = nullptr;
    }

    const std::vector<uint32_t>& HookEvents() const { return hookEvents_; }
    void ClearHookEvents() { hookEvents_.clear(); }
    HWND AnnouncedHelper() const { return announcedHelper_; }

    // Dispatches this thread's messages until done() holds or timeoutMs have passed.
    template <typename Done>
    bool PumpUntil(Done done, DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        for (;;) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            if (done()) return true;
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) return false;
            // Short slices, so a condition that no message signals (a process ending) is
            // seen soon after it holds.
            const DWORD slice = timeoutMs - elapsed < 50 ? timeoutMs - elapsed : 50;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
        }
    }
    void PumpFor(DWORD ms) {
        PumpUntil([] { return false; }, ms);
    }

private:
    static constexpr char kClassName[] = "TapvoxHookTestRecorder";

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && message == self->hookMessage_) {
            self->hookEvents_.push_back(static_cast<uint32_t>(wParam));
            return 0;
        }
        if (self != nullptr && message == self->helperMessage_) {
            self->announcedHelper_ = reinterpret_cast<HWND>(wParam);
            return 0;
        }
        if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    UINT hookMessage_ = 0;
    UINT helperMessage_ = 0;
    std::vector<uint32_t> hookEvents_;
    HWND announcedHelper_ = nullptr;
};
