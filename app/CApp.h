#pragma once
// The application object: start-up, the hidden main window and its messages, the single-
// instance rule, the run loop with the poll timer, the hook state and teardown. One exists per
// process, on the entry point's stack.

#include "app/QuietWatch_win.h"
#include "app/SchemeEntry.h"
#include "app/WinHandles.h"
#include "dialogs/DlgManageSchemes.h"
#include "dialogs/DlgSettings.h"
#include "schemes/SoundSchemesList.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class CApp {
public:
    CApp();
    ~CApp();
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    bool Init(HINSTANCE instanceHandle, const char* commandLineText);
    bool InitInstance();
    bool CheckSingleInstance();
    void RegisterMessages();
    int Run();
    // Dispatches what is queued without waiting; false when it met the quit message, which it
    // leaves queued for the message loop.
    bool PumpMessages();
    void StartPollTimer();
    void StopPollTimer();
    void ShowTutorialOnce();
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Hook events and the hooks themselves.
    void HandleHook(WPARAM event, LPARAM window);
    void PollModifierKeys();
    bool HkSetHooks();
    void HkUnsetHooks();
    bool HkResetHooks();
    LRESULT HkSetWaitForEndKey(int value);
    void OnPowerBroadcast(WPARAM powerEvent);

    // True while Mute or a quiet rule holds; every path that plays an input sound asks it.
    bool SoundsSilenced() const { return muted || quietWatch.Reason() != QuietReason::None; }
    // Why keys are silent, Mute first.
    QuietReason ShownQuietReason() const;
    // Shows the reason in the tray; called whenever Mute or the quiet rule changes.
    void ShowQuietState();

    bool FindSchemes();
    void OnCommand(HWND window, WPARAM wParam);
    void PrepareMenu(HMENU popup);

    DlgSettings settingsDialog;
    DlgManageSchemes manageSchemesDialog;
    int muted = 0;
    int autostart = 0;
    int traceEnabled = 0;
    int schemeMenuFilled = 0;
    ScopedMenu popupMenu;
    std::unique_ptr<SoundSchemesList> schemeSet;
    SchemeList schemeList{};
    int schemeCount = 0;
    int activeScheme = -1;
    int volume = 0;
    int filter = 0;
    // The "Overlap" setting: non-zero while the overlap engine plays the sounds.
    int overlap = 0;
    // The mute hotkey's word (kNoMuteHotkey for none), and whether the system refused it.
    uint16_t muteHotkey = 0;
    bool muteHotkeyTaken = false;
    HINSTANCE instance = nullptr;
    char modulePath[MAX_PATH] = {};
    // The helper program beside this one; only its windows are taken as the helper.
    std::string helperPath;
    const char* commandLine = "";
    int isOsX64 = 0;
    char appTitle[256] = {};
    HWND mainWindow = nullptr;
    HWND helperWindow = nullptr;
    UINT hookMessage = 0;
    UINT helperMessage = 0;
    UINT taskbarCreatedMessage = 0;
    int hooksSet = 0;
    UINT_PTR pollTimerSet = 0;
    int shiftDown = 0;
    int ctrlDown = 0;
    int altDown = 0;
    int winDown = 0;
    int capsLockOn = 0;
    int numLockOn = 0;
    int scrollLockOn = 0;
    QuietWatch quietWatch;
    ScopedKernelHandle instanceMapping;
    int alreadyRunning = 0;

private:
    // The main window's class, while this object registered it, and the icon it shows.
    ATOM mainWindowClass = 0;
    ScopedIcon classIcon;
    // Set while the hooks are re-installed. The library dispatches messages meanwhile; a
    // re-install asked for then (1: the library's hooks, 2: the helper's as well) runs after.
    int reinstalling = 0;
    int reinstallAsked = 0;
    // The install value of the library's hooks as last set: the mouse hook comes and goes with
    // the scheme's mouse words.
    BOOL installedHooks = FALSE;

    void ReleaseMainWindow();
    void AddTrayIcon();
    void ReinstallHooks(bool helperToo);
    bool ReinstallLibraryHooks();
    BOOL HookInstallValue() const;
    void MatchHooksToScheme();
    void StartHelperAndWait();
    void ApplyTraceSetting();
    void LoadStoredScheme();
    LRESULT OnHelperAnnounced(WPARAM helper);
    void OnTaskbarCreated();
    void OnDestroy();
    void OnHelp(HWND window, const HELPINFO* help);
    LRESULT OnTimer(HWND window, UINT_PTR timerId, LPARAM lParam);
    void OnTrayCallback(HWND window, UINT mouseMessage);
    bool BringInfoWindowForward(HWND fallback);
    void ToggleMute();
    void RegisterStoredMuteHotkey();
    bool ChangeMuteHotkey(uint16_t word);
    void ToggleStartup();
    void RunSettingsDialog(HWND owner);
    void RunManageSchemesDialog(HWND owner);
    LRESULT SendHelperCommand(UINT command, LPARAM parameter);
    std::string SchemesFolder() const;
    void SelectScheme(UINT commandId);
    void LoadScheme(const char* name);
};

// The one application object; set by its constructor.
extern CApp* theApp;
