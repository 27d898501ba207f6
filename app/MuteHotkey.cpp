#include "app/MuteHotkey.h"

namespace {

bool IsModifierKey(unsigned virtualKey) {
    switch (virtualKey) {
    case 0x10: case 0x11: case 0x12:            // Shift, Ctrl, Alt
    case 0x5B: case 0x5C:                       // left and right Windows keys
    case 0xA0: case 0xA1: case 0xA2: case 0xA3:  // left and right Shift and Ctrl
    case 0xA4: case 0xA5:                       // left and right Alt
        return true;
    default:
        return false;
    }
}

}  // namespace

bool IsUsableMuteHotkey(uint32_t word) {
    if (word == kNoMuteHotkey) return true;
    if (word > 0xFFFF) return false;
    const unsigned modifiers = word >> 8;
    const unsigned virtualKey = word & 0xFF;
    const unsigned known = kHotkeyShift | kHotkeyControl | kHotkeyAlt | kHotkeyExtended;
    return (modifiers & ~known) == 0 && (modifiers & (kHotkeyControl | kHotkeyAlt)) != 0 &&
           virtualKey != 0 && !IsModifierKey(virtualKey);
}

uint16_t MuteHotkeyOfStored(bool present, uint32_t stored) {
    if (!present || !IsUsableMuteHotkey(stored)) return kDefaultMuteHotkey;
    return static_cast<uint16_t>(stored);
}

// The extended-key bit says which of two keys with one code was pressed; the system's chord
// does not tell them apart.
HotkeyChord ChordOfMuteHotkey(uint16_t word) {
    const unsigned modifiers = word >> 8;
    HotkeyChord chord{kChordNoRepeat, word & 0xFFu};
    if (modifiers & kHotkeyShift) chord.modifiers |= kChordShift;
    if (modifiers & kHotkeyControl) chord.modifiers |= kChordControl;
    if (modifiers & kHotkeyAlt) chord.modifiers |= kChordAlt;
    return chord;
}
