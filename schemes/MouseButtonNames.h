#pragma once
// The scheme words that name mouse buttons. A button's sounds are stored under its virtual-key
// code (1, 2, 4, 5, 6), which no key of a keyboard sends and no key name holds, so they share
// the keys' tables without changing any key's sound.

#include <cstddef>

// The codes of the buttons a scheme may give sounds, in the order the writer saves them.
inline constexpr unsigned char kMouseButtonCodes[] = {1, 2, 4, 5, 6};

// The code of a button word ("LBUTTON", "RBUTTON", "MBUTTON", "XBUTTON1", "XBUTTON2"), or 0.
// Exact and case-sensitive, as key names are; callers upper-case user text first.
unsigned MouseButtonCodeFromName(const char* upperName);

// The word of a button's code, or nullptr for any other code.
const char* MouseButtonNameOfCode(unsigned code);
