// The popup menu of the tray icon and the commands it sends to the main window.

#include "app/CApp.h"

#include "app/Autostart_win.h"
#include "app/MuteHotkey.h"
#include "app/MuteHotkey_win.h"
#include "app/QuietSettings_win.h"
#include "app/Settings.h"
#include "app/Settings_win.h"
#include "audio/SoundEngine_win.h"
#include "help/CDlgAbout.h"
#include "help/Help.h"
#include "res/resource.h"
#include "tray/MenuText.h"

#include <string>

namespace {

UINT CheckFlag(int checked) { return MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED); }

// The "Sound Schemes" submenu: the one item of the popup that opens a submenu.
HMENU FindSchemesSubmenu(HMENU popup) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (HMENU submenu = GetSubMenu(popup, i)) return submenu;
    }
    return nullptr;
}

}  // namespace

void CApp::OnCommand(HWND window, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDM_ABOUT: ShowAbout(); break;
    case IDM_HELP: ShowHelpTopic(nullptr, kIntroTopic); break;
    case IDM_MUTE: ToggleMute(); break;
    case IDM_STARTUP: ToggleStartup(); break;
    case IDM_MANAGE_SCHEMES: RunManageSchemesDialog(window); break;
    case IDM_SETTINGS: RunSettingsDialog(window); break;
    case IDM_EXIT: PostQuitMessage(0); break;
    default:
        if (SchemeIndexOfCommand(LOWORD(wParam)) >= 0) SelectScheme(LOWORD(wParam));
        break;
    }
}

// The scheme is named by its menu item's text, read back as the name it shows; its new check
// mark comes with the next showing of the menu, and its position is what gets stored.
void CApp::SelectScheme(UINT commandId) {
    HMENU schemesMenu = FindSchemesSubmenu(GetSubMenu(popupMenu.Get(), 0));
    if (!schemesMenu) return;
    const int length = GetMenuStringA(schemesMenu, commandId, nullptr, 0, MF_BYCOMMAND);
    if (length <= 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetMenuStringA(schemesMenu, commandId, &text[0], length + 1, MF_BYCOMMAND);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    LoadScheme(NameOfMenuText(text).c_str());
    if (activeScheme >= 0 && activeScheme < schemeCount) {
        CheckMenuItem(popupMenu.Get(), schemeList[activeScheme].commandId, CheckFlag(0));
    }
    activeScheme = SchemeIndexOfCommand(commandId);
    WriteSettingInt(kSettingsKey, kSchemeValueName, activeScheme);
}

// Mute is never stored: every start begins with sounds on.
void CApp::ToggleMute() {
    muted = !muted;
    CheckMenuItem(popupMenu.Get(), IDM_MUTE, CheckFlag(muted));
    ShowQuietState();
}

// A chord another program holds is not a reason to bother the user at start-up: the Settings
// dialog says so when it opens.
void CApp::RegisterStoredMuteHotkey() {
    muteHotkey = ReadMuteHotkey(kSettingsKey);
    muteHotkeyTaken = !RegisterMuteHotkey(mainWindow, muteHotkey);
}

// The old chord stays when the new one is refused.
bool CApp::ChangeMuteHotkey(uint16_t word) {
    UnregisterMuteHotkey(mainWindow);
    if (RegisterMuteHotkey(mainWindow, word)) {
        muteHotkey = word;
        muteHotkeyTaken = false;
        return true;
    }
    muteHotkeyTaken = !RegisterMuteHotkey(mainWindow, muteHotkey);
    return false;
}

// The mark follows the user's choice even when the registry refuses the change.
void CApp::ToggleStartup() {
    autostart = !autostart;
    CheckMenuItem(popupMenu.Get(), IDM_STARTUP, CheckFlag(autostart));
    SetAutostart(autostart != 0);
}

// The dialog lists the disk afresh each time; nothing is reloaded when it closes.
void CApp::RunManageSchemesDialog(HWND owner) {
    manageSchemesDialog.SetSchemesFolder(SchemesFolder().c_str());
    manageSchemesDialog.schemeEditor.playVolume = volume;
    manageSchemesDialog.DoModal(owner);
}

void CApp::RunSettingsDialog(HWND owner) {
    settingsDialog.volume = volume;
    settingsDialog.filter = filter;
    settingsDialog.overlap = overlap;
    settingsDialog.muteHotkey = muteHotkey;
    settingsDialog.muteHotkeyTaken = muteHotkeyTaken;
    settingsDialog.tryMuteHotkey = [this](uint16_t word) { return ChangeMuteHotkey(word); };
    settingsDialog.quiet = ReadQuietSettings();
    const INT_PTR result = settingsDialog.DoModal(owner);
    settingsDialog.tryMuteHotkey = nullptr;
    if (result != IDOK) return;
    volume = settingsDialog.volume;
    filter = settingsDialog.filter;
    WriteSettingInt(kSettingsKey, kVolumeValueName, volume);
    WriteSettingInt(kSettingsKey, kFilterValueName, filter);
    // The engine changes at once, from the next key on.
    overlap = settingsDialog.overlap;
    WriteSettingInt(kSettingsKey, kOverlapValueName, overlap);
    UseOverlapEngine(overlap != 0);
    WriteMuteHotkey(kSettingsKey, muteHotkey);
    WriteQuietSettings(settingsDialog.quiet);
    quietWatch.Apply(settingsDialog.quiet);
}

void CApp::PrepareMenu(HMENU popup) {
    HMENU schemesMenu = FindSchemesSubmenu(popup);
    if (!schemeMenuFilled && schemesMenu) {
        for (int i = 0; i < schemeCount; ++i) {
            AppendMenuA(schemesMenu, MF_STRING, schemeList[i].commandId,
                        MenuTextOfName(schemeList[i].name).c_str());
        }
        schemeMenuFilled = 1;
    }
    CheckMenuItem(popup, IDM_STARTUP, CheckFlag(autostart));
    if (activeScheme >= 0 && activeScheme < schemeCount) {
        CheckMenuItem(popup, schemeList[activeScheme].commandId, CheckFlag(1));
    }
}
