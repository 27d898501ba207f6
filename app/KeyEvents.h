#pragma once
// How key events and polled key states become sound requests, apart from the calls that read
// the keyboard and play the sounds.

#include <cstdint>

// The filter for a key event: the chosen one for a letter key (A to Z) whose character is not
// a small ASCII letter, that is, a capital or a letter of another layout; 0 for every other key.
int FilterForKeyEvent(uint8_t keyCode, uint8_t character, int filter);

// Each rule compares a key's state word (as GetKeyState returns it) with what the last poll
// saw, stores the new state, and tells which of the key's sounds is due.

enum class PolledSound { None, Press, Release };

// Modifiers: the press sound once per press, the release sound once per release; nothing
// while held.
PolledSound ModifierChange(int& wasDown, int16_t keyState);
// Caps Lock: whenever its toggle bit changes.
bool ToggleChanged(int& wasOn, int16_t keyState);
// Num Lock and Scroll Lock: whenever the whole state word turns zero or non-zero.
bool StateWordChanged(int& wasNonZero, int16_t keyState);
