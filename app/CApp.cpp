#include "app/CApp.h"

#include "app/Autostart_win.h"
#include "app/KeyEvents.h"
#include "app/MuteHotkey_win.h"
#include "app/ProgramPaths.h"
#include "app/ProgramPaths_win.h"
#include "app/ProgramPathsWarning_win.h"
#include "app/QuietSettings_win.h"
#include "app/SchemeFolders_win.h"
#include "app/Settings.h"
#include "app/Settings_win.h"
#include "app/Trace.h"
#include "audio/SoundEngine_win.h"
#include "help/CDlgMain.h"
#include "help/Help.h"
#include "hook/HookEvent.h"
#include "hook/KbdHook.h"
#include "hook/PolledKeys.h"
#include "lang/Localization.h"
#include "res/resource.h"
#include "tray/CTrayIcon.h"
#include "tray/InfoWindowStack.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

CApp* theApp = nullptr;

namespace {

constexpr char kMainWindowClass[] = "TVX_SOUNDPRG_MAINWND";
constexpr char kInstanceMappingName[] = "TVX_SOUNDPRG_MMF";
constexpr DWORD kInstanceMappingSize = 1024;
constexpr char kTaskbarCreatedName[] = "TaskbarCreated";
constexpr char kHelperFileName[] = "HookProc.exe";
constexpr char kTraceFileBesideProgram[] = "log.txt";

// WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX: never shown, but a
// window of this style keeps a system menu, whose sizing commands are removed.
constexpr DWORD kMainWindowStyle = 0x84CA0000;
constexpr UINT kHideWithoutChanges =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW;
constexpr UINT_PTR kPollTimerId = 7027;
constexpr UINT kPollIntervalMs = 250;
// While the shell refuses the icon (no taskbar yet at an early logon, or a busy one), it is
// offered again at this pace; slow, since each offer may wait on the shell.
constexpr UINT_PTR kTrayRetryTimerId = 7028;
constexpr UINT kTrayRetryIntervalMs = 2000;
constexpr DWORD kHelperWaitMs = 2000;
// Long enough for a helper slowed by a loaded machine, short enough that a hung one is noticed.
constexpr UINT kHelperReplyMs = 3000;
constexpr DWORD kAllCommonControlClasses = 0x1FF;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Messages that arrive after the application object is gone get the default handling.
    if (!theApp) return DefWindowProcA(window, message, wParam, lParam);
    return theApp->WndProc(window, message, wParam, lParam);
}

// True when the window belongs to a process started from the file at imagePath.
bool IsWindowOfImage(HWND window, const std::string& imagePath) {
    DWORD processId = 0;
    if (!window || !GetWindowThreadProcessId(window, &processId)) return false;
    ScopedKernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return false;
    // In the form the program's own paths take, short where the folder needs it.
    std::string image;
    return ReadProcessImagePath(process.Get(), image) &&
           lstrcmpiA(image.c_str(), imagePath.c_str()) == 0;
}

// Which field of the application keeps what the last poll saw of each polled key.
constexpr int CApp::*LastPollField(uint8_t virtualKey) {
    switch (virtualKey) {
    case VK_SHIFT: return &CApp::shiftDown;
    case VK_CONTROL: return &CApp::ctrlDown;
    case VK_MENU: return &CApp::altDown;
    case VK_LWIN: return &CApp::winDown;
    case VK_CAPITAL: return &CApp::capsLockOn;
    case VK_NUMLOCK: return &CApp::numLockOn;
    case VK_SCROLL: return &CApp::scrollLockOn;
    default: return nullptr;
    }
}

constexpr bool EveryPolledKeyHasAField() {
    for (const PolledKey& key : kPolledKeys) {
        if (LastPollField(key.virtualKey) == nullptr) return false;
    }
    return true;
}
static_assert(EveryPolledKeyHasAField(), "a polled key needs a field for its last state");

// Lock keys have no release sound: their sound marks a change of state, not a key's travel.
PolledSound SoundDue(PollRule rule, int& lastState, int16_t keyState) {
    switch (rule) {
    case PollRule::Press: return ModifierChange(lastState, keyState);
    case PollRule::Toggle:
        return ToggleChanged(lastState, keyState) ? PolledSound::Press : PolledSound::None;
    case PollRule::StateWord:
        return StateWordChanged(lastState, keyState) ? PolledSound::Press : PolledSound::None;
    }
    return PolledSound::None;
}

bool IsNtFamily() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

CApp::CApp() {
    theApp = this;
    ReadProgramPath(modulePath, sizeof(modulePath));
    helperPath = ProgramFolder(modulePath) + kHelperFileName;
    LocSetUnicode(IsNtFamily());

    instanceMapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             kInstanceMappingSize, kInstanceMappingName));
    alreadyRunning = instanceMapping && GetLastError() == ERROR_ALREADY_EXISTS;

    volume = 100;
    filter = 0;
    schemeSet = std::make_unique<SoundSchemesList>();

    // The lock states at start must not sound at the first poll.
    capsLockOn = GetKeyState(VK_CAPITAL) & 1;
    numLockOn = GetKeyState(VK_NUMLOCK) != 0;
    scrollLockOn = GetKeyState(VK_SCROLL) != 0;
}

CApp::~CApp() {
    TracePair(traceEnabled, kTraceSourceCApp, "CApp::~CApp", 103);
    // From here on the window's messages get the default handling: closing the help windows
    // and the window itself sends some, and this object is half gone. They quit nothing.
    if (theApp == this) theApp = nullptr;
    HelpRelease();
    UseOverlapEngine(false);
    schemeSet.reset();
    instanceMapping.Reset();
    ReleaseMainWindow();
}

// The window goes before its class, and the class before the icon it shows.
void CApp::ReleaseMainWindow() {
    if (mainWindow && IsWindow(mainWindow)) DestroyWindow(mainWindow);
    mainWindow = nullptr;
    if (mainWindowClass && !UnregisterClassA(kMainWindowClass, instance)) {
        // A window of the class is still open elsewhere and shows the icon: it stays with it.
        classIcon.Release();
    }
    mainWindowClass = 0;
    classIcon.Reset();
}

bool CApp::Init(HINSTANCE instanceHandle, const char* commandLineText) {
    instance = instanceHandle;
    commandLine = commandLineText ? commandLineText : "";
    isOsX64 = IsOsX64() ? 1 : 0;
    LocLoadStringA(IDS_TITLE, appTitle, ARRAYSIZE(appTitle));

    if (!InitInstance()) return false;
    if (!CheckSingleInstance()) return false;
    WarnOfProgramFolderWithoutAnsiForm(mainWindow);

    HelpInit();
    INITCOMMONCONTROLSEX controls{sizeof(controls), kAllCommonControlClasses};
    InitCommonControlsEx(&controls);
    InitCommonControls();

    CTrayIcon::SetOwner(mainWindow);
    AddTrayIcon();
    dlgMain.SetOwner(mainWindow);
    RegisterMessages();

    DefWindowProcA(mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SetWindowPos(mainWindow, nullptr, 0, 0, 100, 100, kHideWithoutChanges);

    popupMenu.Reset(LoadMenuA(LocGetResourceModule(), MAKEINTRESOURCEA(IDR_POPUP_MENU)));
    schemeMenuFilled = 0;
    muted = 0;
    autostart = IsAutostartSet() ? 1 : 0;
    ApplyTraceSetting();
    TracePair(traceEnabled, kTraceSourceCApp, "CApp::Init", 208);

    volume = ReadSettingInt(kSettingsKey, kVolumeValueName, kDefaultVolume);
    filter = ReadSettingInt(kSettingsKey, kFilterValueName, kDefaultFilter);
    // Off, the engine stays closed: the sounds go to PlaySoundA as they always did.
    overlap = ReadSettingInt(kSettingsKey, kOverlapValueName, kDefaultOverlap);
    UseOverlapEngine(overlap != 0);
    RegisterStoredMuteHotkey();
    FindSchemes();
    LoadStoredScheme();
    return true;
}

// A missing "LogFile" is written as 0 so that users find the switch in the registry; a
// "log.txt" beside the program marks a support set-up where the value is left alone.
void CApp::ApplyTraceSetting() {
    traceEnabled = IsTraceOn();
    if (traceEnabled != 0) return;
    const std::string besideProgram = ProgramFolder(modulePath) + kTraceFileBesideProgram;
    if (GetFileAttributesA(besideProgram.c_str()) == INVALID_FILE_ATTRIBUTES) SetTraceOn(0);
}

// The scheme is stored by its position in the listing, so a changed listing can make the same
// number name another scheme, or none.
void CApp::LoadStoredScheme() {
    activeScheme = ReadSettingInt(kSettingsKey, kSchemeValueName, kDefaultScheme);
    if (activeScheme >= 0 && activeScheme < schemeCount) LoadScheme(schemeList[activeScheme].name);
}

bool CApp::InitInstance() {
    TracePair(traceEnabled, kTraceSourceCApp, "CApp::InitInstance", 265);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    classIcon.Reset(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, 0)));
    windowClass.hIcon = classIcon.Get();
    windowClass.hIconSm = classIcon.Get();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kMainWindowClass;
    // A failed registration shows as a failed creation below; the icon then has no user.
    mainWindowClass = RegisterClassExA(&windowClass);
    if (!mainWindowClass) classIcon.Reset();

    mainWindow = CreateWindowExA(0, kMainWindowClass, appTitle, kMainWindowStyle,
                                 GetSystemMetrics(SM_CXSCREEN) / 2,
                                 GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr,
                                 instance, nullptr);
    if (!mainWindow) return false;
    HMENU systemMenu = GetSystemMenu(mainWindow, FALSE);
    DeleteMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(systemMenu, SC_MOVE, MF_BYCOMMAND);
    return true;
}

// The first instance leaves its main window in the shared memory; a second start with an
// empty command line brings that window forward, any other second start just ends.
bool CApp::CheckSingleInstance() {
    if (alreadyRunning) {
        if (commandLine[0] != '\0') return false;
        ScopedMapView view(
            MapViewOfFile(instanceMapping.Get(), FILE_MAP_READ, 0, 0, sizeof(uint32_t)));
        if (view) {
            uint32_t stored = 0;
            std::memcpy(&stored, view.Get(), sizeof(stored));
            const HWND first = reinterpret_cast<HWND>(static_cast<uintptr_t>(stored));
            if (IsWindow(first)) SetForegroundWindow(first);
        }
        return false;
    }
    if (instanceMapping) {
        ScopedMapView view(
            MapViewOfFile(instanceMapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(uint32_t)));
        if (view) {
            const auto stored = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(mainWindow));
            std::memcpy(view.Get(), &stored, sizeof(stored));
        }
    }
    return true;
}

void CApp::RegisterMessages() {
    hookMessage = RegisterWindowMessageA(kHookMessageName);
    helperMessage = RegisterWindowMessageA(kHelperMessageName);
    taskbarCreatedMessage = RegisterWindowMessageA(kTaskbarCreatedName);
    // Run elevated, the window would not hear a taskbar restarted by the user's Explorer, and
    // the icon would be gone until the next start.
    ChangeWindowMessageFilterEx(mainWindow, taskbarCreatedMessage, MSGFLT_ALLOW, nullptr);
}

int CApp::Run() {
    SetupVistaUipiFilter();
    if (isOsX64) StartHelperAndWait();
    if (!HkSetHooks()) LocMessageBox(mainWindow, IDS_CANNOT_SET_HOOKS, MB_ICONHAND);
    ShowTutorialOnce();
    HkSetWaitForEndKey(0);
    StartPollTimer();
    quietWatch.Start(ReadQuietSettings(), [this] { ShowQuietState(); });

    MSG message{};
    // GetMessage answers -1 on error; that ends the loop as well instead of spinning.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        PollModifierKeys();
    }

    StopPollTimer();
    quietWatch.Stop();
    HkUnsetHooks();
    if (helperWindow) PostMessageA(helperWindow, WM_CLOSE, 0, 0);
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

// The helper announces its window with the helper message, handled while the queue is pumped.
void CApp::StartHelperAndWait() {
    if (RunApplication(KBDHOOK_RUN_HELPER, 0, mainWindow, helperPath.c_str(), 0, 0) != 0) {
        LocMessageBox(mainWindow, IDS_CANNOT_RUN_HELPER, MB_ICONHAND);
        return;
    }
    // Elapsed time by unsigned difference, so the wait also ends when the tick count wraps.
    const DWORD start = GetTickCount();
    for (DWORD elapsed = 0; !helperWindow && elapsed < kHelperWaitMs;
         elapsed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kHelperWaitMs - elapsed, QS_ALLINPUT);
        if (!PumpMessages()) return;
    }
}

bool CApp::PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void CApp::StartPollTimer() {
    pollTimerSet = SetTimer(mainWindow, kPollTimerId, kPollIntervalMs, nullptr);
}

void CApp::StopPollTimer() {
    if (!pollTimerSet) return;
    KillTimer(mainWindow, kPollTimerId);
    pollTimerSet = 0;
}

void CApp::ShowTutorialOnce() {
    ScopedRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS) {
        key.Release();
        return;
    }
    if (ReadSettingDword(key.Get(), kShowTutorialValueName) == 0) return;
    const DWORD shown = 0;
    RegSetValueExA(key.Get(), kShowTutorialValueName, 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&shown), sizeof(shown));
    ShowTour();
}

LRESULT CApp::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TracePair(IsTraceOn(), kTraceSourceCApp, "CApp::WndProc", 766);
    // Registered messages have run-time numbers, so they are tested before the fixed ones.
    if (message == hookMessage && hookMessage != 0) {
        HandleHook(wParam, lParam);
        return 0;
    }
    if (message == taskbarCreatedMessage && taskbarCreatedMessage != 0) {
        OnTaskbarCreated();
        return 0;
    }
    if (message == helperMessage && helperMessage != 0) return OnHelperAnnounced(wParam);

    switch (message) {
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_COPYDATA: return 0;
    case WM_MENUSELECT: return 0;
    case WM_HELP: OnHelp(window, reinterpret_cast<const HELPINFO*>(lParam)); return 0;
    case WM_COMMAND: OnCommand(window, wParam); return 0;
    case WM_HOTKEY:
        if (wParam == kMuteHotkeyId) ToggleMute();
        return 0;
    case WM_TIMER: return OnTimer(window, wParam, lParam);
    case WM_POWERBROADCAST: OnPowerBroadcast(wParam); return TRUE;
    case TrayCallbackMessage: OnTrayCallback(window, static_cast<UINT>(lParam)); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Any process can send the helper message; only a window of our own helper is taken, since
// every later helper command waits on the window it names.
LRESULT CApp::OnHelperAnnounced(WPARAM helper) {
    const HWND window = reinterpret_cast<HWND>(helper);
    if (IsWindowOfImage(window, helperPath)) helperWindow = window;
    return 0;
}

// The taskbar was recreated (Explorer restarted): the icon has to be added again.
void CApp::OnTaskbarCreated() {
    trayIcon.Remove();
    AddTrayIcon();
}

// Until the shell takes the icon, the retry timer offers it again.
void CApp::AddTrayIcon() {
    if (trayIcon.Add())
        KillTimer(mainWindow, kTrayRetryTimerId);
    else
        SetTimer(mainWindow, kTrayRetryTimerId, kTrayRetryIntervalMs, nullptr);
}

void CApp::OnDestroy() {
    UnregisterMuteHotkey(mainWindow);
    popupMenu.Reset();
    PostQuitMessage(0);
}

void CApp::OnHelp(HWND window, const HELPINFO* help) {
    const bool onMenuItem = help && help->iContextType == HELPINFO_MENUITEM;
    ShowHelpTopic(window, onMenuItem ? kMenuTopic : kIntroTopic);
}

LRESULT CApp::OnTimer(HWND window, UINT_PTR timerId, LPARAM lParam) {
    switch (timerId) {
    case kPollTimerId:
        HandleHook(MakeHookEvent(HookEventPoll, 0), 0);
        quietWatch.CheckFront();
        return 0;
    case kTrayRetryTimerId: AddTrayIcon(); return 0;
    default: return DefWindowProcA(window, WM_TIMER, timerId, lParam);
    }
}

void CApp::OnTrayCallback(HWND window, UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONUP:
        BringInfoWindowForward(nullptr);
        break;
    case WM_LBUTTONDBLCLK:
        BringInfoWindowForward(window);
        break;
    case WM_RBUTTONUP: {
        POINT cursor{};
        GetCursorPos(&cursor);
        BringInfoWindowForward(window);
        if (!popupMenu) break;
        HMENU popup = GetSubMenu(popupMenu.Get(), 0);
        PrepareMenu(popup);
        TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, window, nullptr);
        // Without a message after the menu, it may not close on a click elsewhere, or not
        // open on the next right click.
        PostMessageA(window, WM_NULL, 0, 0);
        break;
    }
    default:
        break;
    }
}

// The newest open information window comes forward; when there is none, or it cannot, the
// fallback window does (needed before a popup menu, which otherwise does not close when the
// user clicks elsewhere).
bool CApp::BringInfoWindowForward(HWND fallback) {
    if (SetForegroundWindow(TopInfoWindow())) return true;
    return fallback && SetForegroundWindow(fallback);
}

void CApp::HandleHook(WPARAM event, LPARAM window) {
    TracePair(IsTraceOn(), kTraceSourceCApp, "CApp::HandleHook", 491);
    const uint32_t hookEvent = static_cast<uint32_t>(event);
    switch (HookEventKindOf(hookEvent)) {
    case HookEventKey: {
        const uint8_t keyCode = HookEventKeyCode(hookEvent);
        schemeSet->PlayNS(keyCode, SoundsSilenced(), volume,
                          FilterForKeyEvent(keyCode, HookEventCharacter(hookEvent), filter));
        break;
    }
    case HookEventWindow:
        if (window != 0 && isOsX64) HkSetWaitForEndKey(0);
        break;
    case HookEventReinstall:
        if (hooksSet) HkResetHooks();
        break;
    case HookEventKeyRelease:
        schemeSet->PlayReleaseNS(HookEventKeyCode(hookEvent), SoundsSilenced(), volume);
        break;
    case HookEventMouse:
        if (HookEventIsButtonRelease(hookEvent))
            schemeSet->PlayReleaseNS(HookEventKeyCode(hookEvent), SoundsSilenced(), volume);
        else
            schemeSet->PlayNS(HookEventKeyCode(hookEvent), SoundsSilenced(), volume, 0);
        break;
    case HookEventPoll:
        PollModifierKeys();
        break;
    default:
        break;
    }
}

// Modifier and lock keys are polled rather than taken from the hook. Their states are tracked
// while silenced too, so unmuting does not replay old presses. The right Windows key is not polled.
void CApp::PollModifierKeys() {
    for (const PolledKey& key : kPolledKeys) {
        switch (SoundDue(key.rule, this->*LastPollField(key.virtualKey),
                         GetKeyState(key.virtualKey))) {
        case PolledSound::Press: schemeSet->PlayNS(key.keyCode, SoundsSilenced(), volume, 0); break;
        case PolledSound::Release:
            schemeSet->PlayReleaseNS(key.keyCode, SoundsSilenced(), volume);
            break;
        case PolledSound::None: break;
        }
    }
}

// A helper that does not answer in time counts as having failed; it is told to close and
// forgotten, so that a hung helper costs the main thread one wait, not one per command.
LRESULT CApp::SendHelperCommand(UINT command, LPARAM parameter) {
    DWORD_PTR reply = 0;
    if (SendMessageTimeoutA(helperWindow, helperMessage, command, parameter, SMTO_ABORTIFHUNG,
                            kHelperReplyMs, &reply)) {
        return static_cast<LRESULT>(reply);
    }
    PostMessageA(helperWindow, WM_CLOSE, 0, 0);
    helperWindow = nullptr;
    return 0;
}

bool CApp::HkSetHooks() {
    TracePair(IsTraceOn(), kTraceSourceCApp, "CApp::HkSetHooks", 321);
    TracePair(traceEnabled, kTraceSourceCApp, "CApp::HkSetHooks", 327);
    if (hooksSet) return true;
    SetupVistaUipiFilter();
    const BOOL install = HookInstallValue();
    hooksSet = SetHooks(mainWindow, install) ? 1 : 0;
    if (hooksSet) installedHooks = install;
    if (hooksSet && helperWindow) {
        hooksSet = IsHelperSuccess(static_cast<uint32_t>(SendHelperCommand(HelperInstallHooks, 1)));
        if (!hooksSet) SetHooks(nullptr, FALSE);
    }
    // A scheme chosen while the library waited for its hook thread.
    MatchHooksToScheme();
    return hooksSet != 0;
}

void CApp::HkUnsetHooks() {
    TracePair(IsTraceOn(), kTraceSourceCApp, "CApp::HkUnsetHooks", 365);
    if (!hooksSet) return;
    hooksSet = 0;
    SetHooks(nullptr, FALSE);
    if (helperWindow) SendHelperCommand(HelperInstallHooks, 0);
}

bool CApp::HkResetHooks() {
    TracePair(IsTraceOn(), kTraceSourceCApp, "CApp::HkResetHooks", 387);
    if (!hooksSet) return false;
    ReinstallHooks(true);
    return hooksSet != 0;
}

// A request that comes while a re-install runs is taken up when that one is done, so that
// none is lost and none runs inside another.
void CApp::ReinstallHooks(bool helperToo) {
    reinstallAsked = std::max(reinstallAsked, helperToo ? 2 : 1);
    if (reinstalling) return;
    reinstalling = 1;
    while (reinstallAsked && hooksSet) {
        const bool helperAsked = reinstallAsked == 2;
        reinstallAsked = 0;
        if (ReinstallLibraryHooks() && helperAsked && helperWindow) {
            hooksSet = IsHelperSuccess(
                static_cast<uint32_t>(SendHelperCommand(HelperReinstallHooks, 0)));
            if (!hooksSet) SetHooks(nullptr, FALSE);
        }
    }
    reinstallAsked = 0;
    reinstalling = 0;
}

// The one path that re-arms the library's hooks. When that fails the helper's hooks come off
// too: with hooksSet false nothing would ever remove them.
bool CApp::ReinstallLibraryHooks() {
    const BOOL install = HookInstallValue();
    hooksSet = (install == installedHooks ? ResetHooks() : SetHooks(mainWindow, install)) ? 1 : 0;
    if (hooksSet) installedHooks = install;
    if (!hooksSet && helperWindow) SendHelperCommand(HelperInstallHooks, 0);
    return hooksSet != 0;
}

// Clicks are hooked only while the scheme gives a mouse button a sound; otherwise the hooks
// are the keyboard's alone, as they always were.
BOOL CApp::HookInstallValue() const {
    return schemeSet->NamesMouseSound() ? TRUE | KBDHOOK_MOUSE_CLICKS : TRUE;
}

// The helper is not told: the library's hooks hear 64-bit programs as well.
void CApp::MatchHooksToScheme() {
    if (hooksSet && HookInstallValue() != installedHooks) ReinstallHooks(false);
}

LRESULT CApp::HkSetWaitForEndKey(int value) {
    TracePair(IsTraceOn(), kTraceSourceCApp, "CApp::HkSetWaitForEndKey", 437);
    SetWaitForEndKey(value);
    return helperWindow ? SendHelperCommand(HelperSetWaitForEndKey, value) : 0;
}

void CApp::OnPowerBroadcast(WPARAM powerEvent) {
    TracePair(IsTraceOn(), kTraceSourceCApp, "CApp::OnPowerBroadcast", 745);
    const bool resumed = powerEvent == PBT_APMRESUMECRITICAL || powerEvent == PBT_APMRESUMESUSPEND;
    // Only the library is re-armed; the helper keeps its own hooks across a suspend and hears
    // only of a failure.
    if (resumed && hooksSet) ReinstallHooks(false);
}

// The schemes are the folders directly inside the scheme set's schemes folder, beside the
// program, in the listing's own order, which fixes both the menu order and the meaning of the
// stored index.
bool CApp::FindSchemes() {
    TracePair(traceEnabled, kTraceSourceCApp, "CApp::FindSchemes", 230);
    schemeCount = 0;
    ListSchemeFolders(SchemesFolder(), [this](const char* name) {
        TakeSchemeFolder(schemeList, schemeCount, name);
        return schemeCount < static_cast<int>(kMaxSchemes);
    });
    return true;
}

std::string CApp::SchemesFolder() const { return schemeSet->schemesFolder; }

void CApp::LoadScheme(const char* name) {
    schemeSet->ReadFromConfig(name);
    MatchHooksToScheme();
}
