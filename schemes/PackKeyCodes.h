#pragma once
// The one table from the key codes of sound packs to Tapvox key codes. Mechvibes packs name keys
// by PC set-1 scancode (0x0E00 plus the code for keys sent with the E0 prefix, 0xE000 plus the
// code for the arrows, 0xEE00 plus the keypad code as an alias of a navigation key);
// MechvibesDX packs name them by key name ("KeyA", "Space", "ShiftLeft").

#include <cstdint>
#include <string_view>

// A pack key seen as a Tapvox key. keyCode is 0 for a pack key with no Tapvox key (one the scheme
// file cannot name). Where two pack keys give one Tapvox key (left and right Shift both give
// SHIFT), the one of the lower rank wins: the left-hand key over the right, the main form over
// an alias.
struct PackKey {
    uint8_t keyCode;
    uint8_t rank;
};

PackKey PackKeyFromCode(uint32_t packCode);
PackKey PackKeyFromName(std::string_view packKeyName);
