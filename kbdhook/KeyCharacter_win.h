#pragma once
// The character a key press produces, as the typing program will see it.

#include "kbdhook/KeyPressFilter.h"

#include <windows.h>

#include <cstdint>

// The character of key under the modifiers held (as keys records them), the Caps Lock toggle
// and the keyboard layout of the foreground window, as one byte of the ANSI code page.
// 0 when the key produces no character, a dead key is pending, or the character has no
// single-byte form.
uint8_t KeyCharacter(const KBDLLHOOKSTRUCT& key, const KeyPressFilter& keys);
