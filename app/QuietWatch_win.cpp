#include "app/QuietWatch_win.h"

#include "app/QuietPrograms.h"
#include "hook/FullScreenRule.h"

#include <oleacc.h>

#include <utility>

namespace {

QuietWatch* g_runningWatch = nullptr;

bool HasClass(HWND window, const char* className) {
    char name[64];
    return GetClassNameA(window, name, ARRAYSIZE(name)) > 0 && lstrcmpiA(name, className) == 0;
}

bool IsShellWindow(HWND window) {
    return window == GetDesktopWindow() || window == GetShellWindow() ||
           HasClass(window, "Progman") || HasClass(window, "WorkerW") ||
           HasClass(window, "Shell_TrayWnd");
}

ScreenRect ScreenRectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool IsFullScreenWindow(HWND window) {
    if (!window) return false;
    ForegroundWindowFacts facts;
    RECT windowRect;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    const HMONITOR monitorHandle = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
    if (!GetWindowRect(window, &windowRect) || !monitorHandle ||
        !GetMonitorInfoA(monitorHandle, &monitor)) {
        return false;
    }
    facts.window = ScreenRectOf(windowRect);
    facts.monitor = ScreenRectOf(monitor.rcMonitor);
    facts.isShell = IsShellWindow(window);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    facts.maximisedWithCaption = IsZoomed(window) && (style & WS_CAPTION) == WS_CAPTION;
    return IsFullScreen(facts);
}

// The file name of the program that owns window; empty when the process cannot be asked.
std::string ProgramFileNameOf(HWND window) {
    DWORD processId = 0;
    if (!window || !GetWindowThreadProcessId(window, &processId)) return {};
    ScopedKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    char path[MAX_PATH];
    DWORD size = ARRAYSIZE(path);
    if (!QueryFullProcessImageNameA(process.Get(), 0, path, &size) || size >= ARRAYSIZE(path)) {
        return {};
    }
    path[size] = '\0';
    return ProgramFileName(path);
}

// What the accessibility layer says of the focused object; browsers mark password fields so.
bool IsProtectedObject(HWND window, LONG objectId, LONG childId) {
    // The question goes to the window's thread and waits for it; a hung program would stall
    // every key sound with it.
    if (IsHungAppWindow(window)) return false;
    IAccessible* object = nullptr;
    VARIANT child;
    VariantInit(&child);
    if (AccessibleObjectFromEvent(window, static_cast<DWORD>(objectId),
                                  static_cast<DWORD>(childId), &object, &child) != S_OK ||
        !object) {
        return false;
    }
    VARIANT state;
    VariantInit(&state);
    const bool isProtected = object->get_accState(child, &state) == S_OK &&
                             state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_PROTECTED) != 0;
    VariantClear(&state);
    VariantClear(&child);
    object->Release();
    return isProtected;
}

bool IsEditControl(HWND window) { return window && HasClass(window, "Edit"); }

bool IsPasswordEdit(HWND window) {
    return IsEditControl(window) && (GetWindowLongA(window, GWL_STYLE) & ES_PASSWORD) != 0;
}

// A standard edit control says so in its style, without a trip through the accessibility layer.
bool IsPasswordControl(HWND window, LONG objectId, LONG childId) {
    if (!window) return false;
    if (IsEditControl(window)) return IsPasswordEdit(window);
    return IsProtectedObject(window, objectId, childId);
}

}  // namespace

ScopedWinEventHook QuietWatch::HookEvent(DWORD event, DWORD processId) {
    return ScopedWinEventHook(SetWinEventHook(event, event, nullptr, &QuietWatch::OnEvent,
                                              processId, 0, WINEVENT_OUTOFCONTEXT));
}

QuietWatch::~QuietWatch() { Stop(); }

bool QuietWatch::Start(const QuietSettings& settings, std::function<void()> changed) {
    Stop();
    // The accessibility layer answers through COM; a thread that already runs COM keeps it.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    changed_ = std::move(changed);
    g_runningWatch = this;
    foregroundHook_ = HookEvent(EVENT_SYSTEM_FOREGROUND, 0);
    focusHook_ = HookEvent(EVENT_OBJECT_FOCUS, 0);
    Apply(settings);
    return foregroundHook_ && focusHook_;
}

void QuietWatch::Stop() {
    foregroundHook_.Reset(nullptr);
    focusHook_.Reset(nullptr);
    locationHook_.Reset(nullptr);
    if (g_runningWatch == this) g_runningWatch = nullptr;
    if (comStarted_) CoUninitialize();
    comStarted_ = false;
    facts_ = {};
    reason_ = QuietReason::None;
    foreground_ = nullptr;
    focus_ = nullptr;
    checkedForeground_ = nullptr;
    checkedFocus_ = nullptr;
}

void QuietWatch::Apply(const QuietSettings& settings) {
    settings_ = settings;
    if (g_runningWatch != this) return;
    checkedForeground_ = nullptr;
    checkedFocus_ = nullptr;
    focus_ = nullptr;
    facts_.passwordFocus = false;
    OnForeground(GetForegroundWindow());
    CheckFront();
}

void QuietWatch::CheckFront() {
    if (g_runningWatch != this) return;
    const HWND front = GetForegroundWindow();
    if (front != checkedForeground_) {
        checkedForeground_ = front;
        if (front != foreground_) OnForeground(front);
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    const DWORD threadId = front ? GetWindowThreadProcessId(front, nullptr) : 0;
    const HWND focus = threadId && GetGUIThreadInfo(threadId, &thread) ? thread.hwndFocus : nullptr;
    if (focus == checkedFocus_) return;
    checkedFocus_ = focus;
    if (focus == focus_) return;
    // Only the window's style is read here: the object inside a window that has the focus (a
    // browser's password field) is named by the focus event alone, which must not be undone.
    focus_ = focus;
    facts_.passwordFocus = settings_.passwords && IsPasswordEdit(focus);
    Decide();
}

void CALLBACK QuietWatch::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId,
                                  LONG childId, DWORD, DWORD) {
    QuietWatch* watch = g_runningWatch;
    if (!watch) return;
    switch (event) {
    case EVENT_SYSTEM_FOREGROUND: watch->OnForeground(window); break;
    case EVENT_OBJECT_FOCUS: watch->OnFocus(window, objectId, childId); break;
    case EVENT_OBJECT_LOCATIONCHANGE: watch->OnLocation(window, objectId); break;
    default: break;
    }
}

void QuietWatch::OnForeground(HWND window) {
    foreground_ = window;
    facts_.fullScreen = settings_.fullScreen && IsFullScreenWindow(window);
    // The process is asked for its file only while the list names any.
    facts_.listedProgram = !settings_.programs.empty() &&
                           IsQuietProgram(settings_.programs, ProgramFileNameOf(window));
    WatchForegroundPlace(window);
    Decide();
}

void QuietWatch::OnFocus(HWND window, LONG objectId, LONG childId) {
    focus_ = window;
    facts_.passwordFocus = settings_.passwords && IsPasswordControl(window, objectId, childId);
    Decide();
}

// The caret and the pointer move as objects of their own; only the front window's own moves
// can take it in or out of full screen.
void QuietWatch::OnLocation(HWND window, LONG objectId) {
    if (window != foreground_ || objectId != OBJID_WINDOW) return;
    facts_.fullScreen = settings_.fullScreen && IsFullScreenWindow(window);
    Decide();
}

void QuietWatch::WatchForegroundPlace(HWND window) {
    DWORD processId = 0;
    if (window && settings_.fullScreen) GetWindowThreadProcessId(window, &processId);
    locationHook_ = processId ? HookEvent(EVENT_OBJECT_LOCATIONCHANGE, processId)
                              : ScopedWinEventHook();
}

void QuietWatch::Decide() {
    const QuietReason reason =
        QuietReasonFor(false, {settings_.fullScreen, settings_.passwords}, facts_);
    if (reason == reason_) return;
    reason_ = reason;
    if (changed_) changed_();
}
