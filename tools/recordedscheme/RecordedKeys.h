#pragma once
// Which recording sounds for which key. Keys are named by PC set-1 scancode in the form
// keyboard-sound packs use (libuiohook's): a key that sends the E0 prefix is 0x0E00 plus its
// scancode, the arrows 0xE000 plus theirs.

#include <string>

#include "tools/schemegen/Scheme.h"

namespace recorded {

struct ScancodeKey {
    unsigned scancode;
    const char* keyName;  // Tapvox's name; two scancodes may give one name, the left key first
};

// Every scancode with a Tapvox key, left keys before their right twins.
const ScancodeKey* ScancodeKeysBegin();
const ScancodeKey* ScancodeKeysEnd();

// The scancode of the key a recording's file number stands for, or 0 for none. The
// recordings are numbered by Linux input key code, which is the set-1 scancode for the main
// block and a number of its own for the keys that send E0.
unsigned ScancodeOfRecording(unsigned fileNumber);

// Where the scheme levels a key's sound.
schemegen::SoundRole RoleOfKey(const std::string& keyName);

}  // namespace recorded
