#pragma once
// Which key a recording sounds for. The recordings are numbered by Linux input key code; the
// tool turns that number into the scancode form sound packs use and lets the packs' key table
// say which Tapvox key it is.

#include <cstdint>
#include <string>

#include "tools/schemegen/Scheme.h"

namespace recorded {

// The scancode, in the sound packs' form, of the key a recording's file number stands for, or 0
// for none. The recordings are numbered by Linux input key code, which is the set-1 scancode for
// the main block and a number of its own for the keys that send E0.
unsigned ScancodeOfRecording(unsigned fileNumber);

// The Tapvox key a recording sounds for. keyName is nullptr for a recording of no named key
// (grave accent and backslash, or a number with no key). Where two recordings give one key,
// the one of the lower rank is the key's own: the left key over the right.
struct RecordedKey {
    const char* keyName;
    uint8_t rank;
};
RecordedKey KeyOfRecording(unsigned fileNumber);

// Where the scheme levels a key's sound.
schemegen::SoundRole RoleOfKey(const std::string& keyName);

}  // namespace recorded
