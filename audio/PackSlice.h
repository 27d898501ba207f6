#pragma once
// Turns a decoded pack sound, or a slice of it, into the 16-bit PCM WAV image the loader plays.

#include "audio/PackAudio.h"

#include <cstdint>
#include <string>
#include <vector>

// A key's sound longer than this is a mistake in the pack, not a click.
constexpr int64_t kMaxWavSliceMs = 30000;
// Each cut end is faded over this long, so the slice does not click.
constexpr uint32_t kPackSliceFadeMicroseconds = 1500;

enum class PackSliceError {
    None,
    Negative,       // a start or a length below zero
    Empty,          // a length of zero, or no sound at all
    TooLong,        // a length over kMaxWavSliceMs
    PastEnd,        // the slice begins at or past the sound's end
};

struct PackSliceFailure {
    PackSliceError code = PackSliceError::None;
    std::string detail;  // the slice and the sound's length, in milliseconds
};

// [startMs, startMs + lengthMs) of the sound, cut to its end when it runs past it; a fade at
// each end that is a cut (not the sound's own start or end). The image is the plain RIFF,
// 16-byte fmt and data layout, at the sound's rate and channels.
bool SliceToWav(const DecodedAudio& sound, int64_t startMs, int64_t lengthMs,
                std::vector<uint8_t>& wav, PackSliceFailure& failure);

// The whole sound, with no fade.
bool WholeToWav(const DecodedAudio& sound, std::vector<uint8_t>& wav, PackSliceFailure& failure);
