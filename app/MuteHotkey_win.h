#pragma once
// The mute hotkey in the registry and on the main window.

#include <windows.h>

#include <cstdint>

// The identifier of the hotkey on the main window; WM_HOTKEY carries it in wParam.
constexpr int kMuteHotkeyId = 1;

// The "MuteHotkey" value under the key, or the default when it is missing or hostile. Its type
// is not tested: a value shorter than a DWORD fills the low bytes.
uint16_t ReadMuteHotkey(const char* subKey);
// Stores the word as a REG_DWORD; returns the registry error (0 = done).
LONG WriteMuteHotkey(const char* subKey, uint16_t word);

// Registers the hotkey on the window; true when done or when the word is none. False when the
// system refuses, most often because another program holds the chord.
bool RegisterMuteHotkey(HWND window, uint16_t word);
void UnregisterMuteHotkey(HWND window);
