#include "app/MuteHotkey_win.h"

#include "app/MuteHotkey.h"
#include "app/Settings.h"
#include "app/WinHandles.h"

static_assert(kChordAlt == MOD_ALT && kChordControl == MOD_CONTROL && kChordShift == MOD_SHIFT,
              "the chord bits are the system's");
static_assert(kChordNoRepeat == 0x4000, "MOD_NOREPEAT: a held chord toggles once");

uint16_t ReadMuteHotkey(const char* subKey) {
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
        key.Release();
        return MuteHotkeyOfStored(false, 0);
    }
    // One byte more than a DWORD, so that a longer value is seen as too long.
    BYTE data[sizeof(DWORD) + 1] = {};
    DWORD size = sizeof(data);
    const LONG read = RegQueryValueExA(key.Get(), kMuteHotkeyValueName, nullptr, nullptr, data,
                                       &size);
    if (read == ERROR_FILE_NOT_FOUND) return MuteHotkeyOfStored(false, 0);
    if (read != ERROR_SUCCESS || size > sizeof(DWORD)) return MuteHotkeyOfStored(true, ~0u);
    const uint32_t value = data[0] | (data[1] << 8) | (data[2] << 16) |
                           (static_cast<uint32_t>(data[3]) << 24);
    return MuteHotkeyOfStored(true, value);
}

LONG WriteMuteHotkey(const char* subKey, uint16_t word) {
    ScopedRegKey key;
    const LONG opened = RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0,
                                        KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
    if (opened != ERROR_SUCCESS) {
        key.Release();
        return opened;
    }
    const DWORD value = word;
    return RegSetValueExA(key.Get(), kMuteHotkeyValueName, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

bool RegisterMuteHotkey(HWND window, uint16_t word) {
    if (word == kNoMuteHotkey) return true;
    const HotkeyChord chord = ChordOfMuteHotkey(word);
    return RegisterHotKey(window, kMuteHotkeyId, chord.modifiers, chord.virtualKey) != FALSE;
}

void UnregisterMuteHotkey(HWND window) { UnregisterHotKey(window, kMuteHotkeyId); }
