#include "tray/CTrayIcon.h"

#include "lang/Localization.h"
#include "res/resource.h"

// The shell reads the record by its size field; this is the size it was designed for.
#ifndef _WIN64
static_assert(sizeof(NOTIFYICONDATAA) == 508, "the notify record must keep its size");
#endif

namespace {

HWND g_trayOwner = nullptr;

// The icon at the tray's size; the shell keeps its own copy, so the caller destroys it.
HICON LoadTrayIcon(UINT iconId) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId),
                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

}  // namespace

CTrayIcon trayIcon;

CTrayIcon::CTrayIcon() { LocLoadStringA(IDS_TITLE, tip_, sizeof(tip_)); }

CTrayIcon::~CTrayIcon() { Remove(); }

void CTrayIcon::SetOwner(HWND owner) { g_trayOwner = owner; }

bool CTrayIcon::Add() {
    if (added_) return true;
    const HICON icon = LoadTrayIcon(iconId_);
    notifyData_.cbSize = sizeof(notifyData_);
    notifyData_.hWnd = g_trayOwner;
    notifyData_.uID = kTrayIconId;
    notifyData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    notifyData_.uCallbackMessage = TrayCallbackMessage;
    notifyData_.hIcon = icon;
    CopyTrayTip(notifyData_.szTip, tip_);
    const BOOL shown = Shell_NotifyIconA(NIM_ADD, &notifyData_);
    // The shell keeps its own copy of the icon.
    if (icon) DestroyIcon(icon);
    notifyData_.hIcon = nullptr;
    added_ = shown ? 1 : 0;
    return added_ != 0;
}

bool CTrayIcon::SetTip(const char* tip) {
    lstrcpynA(tip_, tip, ARRAYSIZE(tip_));
    if (!added_) return false;
    notifyData_.uFlags = NIF_TIP;
    CopyTrayTip(notifyData_.szTip, tip_);
    return Shell_NotifyIconA(NIM_MODIFY, &notifyData_) != FALSE;
}

bool CTrayIcon::SetQuietIcon(bool quiet) {
    iconId_ = quiet ? IDI_QUIET : IDI_PROGRAM;
    if (!added_) return false;
    const HICON icon = LoadTrayIcon(iconId_);
    notifyData_.uFlags = NIF_ICON;
    notifyData_.hIcon = icon;
    const BOOL shown = Shell_NotifyIconA(NIM_MODIFY, &notifyData_);
    if (icon) DestroyIcon(icon);
    notifyData_.hIcon = nullptr;
    return shown != FALSE;
}

bool CTrayIcon::Remove() {
    if (!added_) return false;
    const BOOL removed = Shell_NotifyIconA(NIM_DELETE, &notifyData_);
    added_ = 0;
    return removed != FALSE;
}
