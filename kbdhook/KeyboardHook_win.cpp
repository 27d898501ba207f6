#include "kbdhook/KeyboardHook_win.h"

#include "hook/HookEvent.h"
#include "kbdhook/KeyCharacter_win.h"

#include <new>

namespace {

// Bounds for a hook thread that never answers; the caller's messages are taken meanwhile.
constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kStopTimeoutMs = 5000;

// Who decided how the start went; the thread and Start race for it once.
enum StartState : LONG { Starting, Installed, Failed, Abandoned };

// The hook callback has no context argument; it runs on the hook thread only.
thread_local HookTarget* t_target = nullptr;

LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && t_target != nullptr)
        RecordKeyEvent(*t_target, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && t_target != nullptr)
        RecordMouseEvent(*t_target, wParam, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The button of a press or release message as its virtual-key code; 0 for any other message.
uint8_t ButtonOf(WPARAM mouseMessage, DWORD mouseData) {
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: return VK_LBUTTON;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: return VK_RBUTTON;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP: return VK_MBUTTON;
        case WM_XBUTTONDOWN:
        case WM_XBUTTONUP:
            switch (HIWORD(mouseData)) {
                case XBUTTON1: return VK_XBUTTON1;
                case XBUTTON2: return VK_XBUTTON2;
                default: return 0;
            }
        default: return 0;
    }
}

}  // namespace

// Shared by the starting thread and the hook thread, freed by whichever lets go last, so that
// neither waits without bound for the other.
struct HookThreadContext {
    LONG references = 2;
    volatile LONG startState = Starting;
    HMODULE module = nullptr;
    HANDLE ready = nullptr;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    bool mouseClicks = false;
    HookTarget target;
};

namespace {

// Takes what is queued for the calling thread; false once it met the quit message, which it
// puts back for the caller's own loop.
bool DispatchQueuedMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

// Waits for any of the handles, at most timeoutMs, while the calling thread's windows go on
// taking their messages: the caller is a program's main thread, whose tray icon and windows
// must not freeze meanwhile. What was queued before the call is taken first. After a quit
// message the rest of the wait takes no messages, so the quit stays for the caller's loop.
void WaitDispatchingMessages(const HANDLE* handles, DWORD count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    bool dispatching = true;
    for (;;) {
        if (dispatching) dispatching = DispatchQueuedMessages();
        // Elapsed time by unsigned difference, so the wait also ends when the tick count wraps.
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return;
        const DWORD woke =
            dispatching ? MsgWaitForMultipleObjectsEx(count, handles, timeoutMs - elapsed,
                                                      QS_ALLINPUT, MWMO_INPUTAVAILABLE)
                        : WaitForMultipleObjects(count, handles, FALSE, timeoutMs - elapsed);
        // A handle, the end of the time or a failure ends the wait; only messages go round.
        if (woke != WAIT_OBJECT_0 + count) return;
    }
}

void Release(HookThreadContext* context) {
    if (InterlockedDecrement(&context->references) != 0) return;
    if (context->ready != nullptr) CloseHandle(context->ready);
    if (context->thread != nullptr) CloseHandle(context->thread);
    delete context;
}

// The system calls the hook while this thread takes its messages; the presses the calls
// queued are posted after each round, outside the callback.
void RunMessageLoop(HookTarget& target) {
    for (;;) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG message;
        bool quit = false;
        while (!quit && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                quit = true;
            else
                DispatchMessageW(&message);
        }
        PostPendingPresses(target);
        if (quit) return;
    }
}

DWORD WINAPI HookThreadMain(void* parameter) {
    auto* context = static_cast<HookThreadContext*>(parameter);
    const HMODULE module = context->module;
    MSG message;
    // Creates this thread's message queue, so that the quit message of Stop always lands.
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    t_target = &context->target;
    // From here on the hook's own events keep Caps Lock's state; this is where it starts.
    context->target.keys.SetCapsLockOn((GetKeyState(VK_CAPITAL) & 0x01) != 0);
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, LowLevelKeyboardProc, module, 0);
    HHOOK mouseHook = hook != nullptr && context->mouseClicks
                          ? SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, module, 0)
                          : nullptr;
    const LONG outcome = InterlockedCompareExchange(&context->startState,
                                                    hook != nullptr ? Installed : Failed, Starting);
    SetEvent(context->ready);
    if (hook != nullptr && outcome == Starting) RunMessageLoop(context->target);
    if (mouseHook != nullptr) UnhookWindowsHookEx(mouseHook);
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    t_target = nullptr;
    Release(context);
    // The thread holds its own reference to the module that holds its code, so the library
    // cannot be unloaded under it; it lets go only as it ends.
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

void RecordKeyEvent(HookTarget& target, const KBDLLHOOKSTRUCT& key) {
    const KeyEventOutcome outcome = target.keys.OnKeyEvent(key.vkCode, (key.flags & LLKHF_UP) != 0);
    if (outcome == KeyEventOutcome::Ignored) return;
    if (target.pendingCount >= ARRAYSIZE(target.pending)) return;
    target.pending[target.pendingCount++] = PendingPress{key, target.keys, outcome, 0};
}

void RecordMouseEvent(HookTarget& target, WPARAM mouseMessage, const MSLLHOOKSTRUCT& mouse) {
    const uint8_t button = ButtonOf(mouseMessage, mouse.mouseData);
    if (button == 0 || target.pendingCount >= ARRAYSIZE(target.pending)) return;
    const bool released = mouseMessage == WM_LBUTTONUP || mouseMessage == WM_RBUTTONUP ||
                          mouseMessage == WM_MBUTTONUP || mouseMessage == WM_XBUTTONUP;
    target.pending[target.pendingCount++].mouseEvent = MakeMouseEvent(button, released);
}

void PostPendingPresses(HookTarget& target) {
    for (size_t i = 0; i < target.pendingCount; ++i) {
        const PendingPress& press = target.pending[i];
        uint32_t event = press.mouseEvent;
        if (event == 0) {
            const uint8_t keyCode = static_cast<uint8_t>(press.key.vkCode);
            event = MakeHookEvent(HookEventWindowInfo, 0);
            if (press.outcome == KeyEventOutcome::NewPress)
                event = MakeKeyEvent(keyCode, KeyCharacter(press.key, press.keysHeld));
            else if (press.outcome == KeyEventOutcome::Released)
                event = MakeKeyReleaseEvent(keyCode);
        }
        PostMessageW(target.window, target.message, event, 0);
    }
    target.pendingCount = 0;
}

bool KeyboardHookThread::Start(HWND window, UINT message, bool mouseClicks) {
    Stop();
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&HookThreadMain), &module))
        return false;
    auto* context = new (std::nothrow) HookThreadContext;
    if (context == nullptr) {
        FreeLibrary(module);
        return false;
    }
    context->module = module;
    context->target.window = window;
    context->target.message = message;
    context->mouseClicks = mouseClicks;
    context->ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (context->ready != nullptr)
        context->thread = CreateThread(nullptr, 0, HookThreadMain, context, 0, &context->threadId);
    if (context->thread == nullptr) {
        FreeLibrary(module);
        context->references = 1;
        Release(context);
        return false;
    }
    const HANDLE waits[] = {context->ready, context->thread};
    WaitDispatchingMessages(waits, ARRAYSIZE(waits), kStartTimeoutMs);
    const LONG outcome = InterlockedCompareExchange(&context->startState, Abandoned, Starting);
    if (outcome == Installed) {
        context_ = context;
        return true;
    }
    // The thread removes its hook and ends by itself once it sees the start was given up.
    Release(context);
    return false;
}

void KeyboardHookThread::Stop() {
    if (context_ == nullptr) return;
    HookThreadContext* const context = context_;
    context_ = nullptr;
    PostThreadMessageW(context->threadId, WM_QUIT, 0, 0);
    WaitDispatchingMessages(&context->thread, 1, kStopTimeoutMs);
    Release(context);
}

void KeyboardHookThread::LetGo() {
    if (context_ == nullptr) return;
    PostThreadMessageW(context_->threadId, WM_QUIT, 0, 0);
    Release(context_);
    context_ = nullptr;
}
