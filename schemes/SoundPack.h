#pragma once
// The reading of a sound pack's config.json (Mechvibes versions 1 and 2, MechvibesDX) into the
// sounds of Tapvox keys. Only the JSON is read here: the audio is checked where it is decoded.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A config.json larger than this is refused unread.
constexpr size_t kMaxPackConfigBytes = 1 << 20;
// No key sound lasts longer; a longer slice is refused as absurd.
constexpr int64_t kMaxPackSliceMs = 10'000;
// No slice starts later (a day of audio), so no slice end overflows.
constexpr int64_t kMaxPackSliceStartMs = 24 * 3600 * 1000;

struct PackSound {
    uint8_t keyCode;    // a Tapvox key code with a key name
    bool release;       // the key's release sound, else its press sound
    std::string file;   // relative to the pack's folder, as the pack names it
    bool whole;         // the whole file; else the slice below
    int64_t startMs;
    int64_t lengthMs;
};

enum class PackError {
    None,
    TooLarge,       // the config.json is over kMaxPackConfigBytes
    Malformed,      // not JSON, or not a JSON object
    UnknownFormat,  // a version or key-define type this reader does not know; detail: the field
    MissingField,   // detail: the field
    WrongType,      // detail: the field, or the key of defines/definitions
    BadSlice,       // negative, reversed, too long or too late; detail: the key
    BadFileName,    // empty, absolute, with a drive, "..", or a bad {a-b} range; detail: the name
};

struct SoundPack {
    std::string name;
    // One sound per key and direction, ordered by key code, the press before the release.
    std::vector<PackSound> sounds;
    // Pack keys with a sound but no Tapvox key.
    size_t skippedKeys = 0;
};

struct SoundPackReading {
    PackError error = PackError::None;
    std::string errorDetail;
    SoundPack pack;  // empty unless error is None
};

SoundPackReading ReadSoundPack(std::string_view configJson);
