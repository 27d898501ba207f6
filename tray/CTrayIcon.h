#pragma once
// The notification-area icon: added once the main window exists, added again when the taskbar
// is recreated, removed at process exit. Mouse actions arrive at the owner window as
// TrayCallbackMessage with the mouse message in lParam.

#include "res/resource.h"
#include "tray/TrayTip.h"

#include <windows.h>
#include <shellapi.h>

constexpr UINT TrayCallbackMessage = 0xB040;
constexpr UINT kTrayIconId = 105;

class CTrayIcon {
public:
    // Loads the tip (the program title) through the localized loader.
    CTrayIcon();
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // The window that receives TrayCallbackMessage.
    static void SetOwner(HWND owner);
    // Adds the icon unless it is already added. True once it is in the notification area; a
    // refusal (no taskbar yet at an early logon, a busy shell) leaves it unmarked, to be tried
    // again.
    bool Add();
    // Deletes the icon if it is added; the shell's answer, or false when it was not added.
    bool Remove();
    bool IsAdded() const { return added_ != 0; }
    const char* Tip() const { return tip_; }
    // Shows tip from now on, and again after the taskbar is recreated. False while the icon
    // is not added or when the shell refused the change.
    bool SetTip(const char* tip);

    // The quiet variant of the icon while keys are silent, the program's own otherwise; kept
    // for the next Add. False while the icon is not added or when the shell refused.
    bool SetQuietIcon(bool quiet);

private:
    NOTIFYICONDATAA notifyData_{};
    int added_ = 0;
    char tip_[256] = {};
    UINT iconId_ = IDI_PROGRAM;
};

// The process-wide icon, built before the application starts.
extern CTrayIcon trayIcon;
