#pragma once
// The mute hotkey as the hotkey control gives it (a 16-bit word: the virtual key in the low
// byte, HOTKEYF_ modifiers in the high byte), what may be stored, and the chord the system
// registers for it.

#include <cstdint>

// The hotkey control's modifier bits.
constexpr unsigned kHotkeyShift = 0x01;
constexpr unsigned kHotkeyControl = 0x02;
constexpr unsigned kHotkeyAlt = 0x04;
constexpr unsigned kHotkeyExtended = 0x08;

// RegisterHotKey's modifier bits.
constexpr unsigned kChordAlt = 0x0001;
constexpr unsigned kChordControl = 0x0002;
constexpr unsigned kChordShift = 0x0004;
constexpr unsigned kChordNoRepeat = 0x4000;

// Ctrl+Alt+Shift+M. Ctrl+Alt alone is AltGr on many European layouts, so Ctrl+Alt+letter may be
// a typed character (AltGr+M is µ in German); Windows takes Win+ chords and programs take
// Ctrl+Shift+ and Ctrl+Alt+ ones, while a chord of all three modifiers is rarely bound.
constexpr uint16_t kDefaultMuteHotkey =
    static_cast<uint16_t>(((kHotkeyControl | kHotkeyAlt | kHotkeyShift) << 8) | 'M');

// The chord is none: no hotkey is registered.
constexpr uint16_t kNoMuteHotkey = 0;

// A word the dialog can give: none, or a key that is not itself a modifier held with Ctrl or
// Alt (a bare key or Shift+key would take that key from typing everywhere).
bool IsUsableMuteHotkey(uint32_t word);

// The stored value, or the default when it is missing, longer than a DWORD or not usable.
uint16_t MuteHotkeyOfStored(bool present, uint32_t stored);

struct HotkeyChord {
    unsigned modifiers;  // kChord* bits, held key repeats not counted
    unsigned virtualKey;
};

HotkeyChord ChordOfMuteHotkey(uint16_t word);
