#pragma once
// The sample bytes of a WAV image as float samples in [-1, 1] at the file's own rate.

#include "audio/Mixer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t kLowestSampleRate = 1000;
constexpr uint32_t kHighestSampleRate = 768000;

inline bool IsPlausibleSampleRate(uint32_t rate) {
    return rate >= kLowestSampleRate && rate <= kHighestSampleRate;
}

struct DecodedSamples {
    std::vector<float> samples;  // interleaved
    uint16_t channels = 0;       // 1 or 2
};

// Decodes 8-bit unsigned, 16-, 24- and 32-bit signed PCM and 32-bit float, keeping the first
// two channels; for a mono stream (streamChannels 1) two channels are averaged into one. Only
// the first maxFrames frames are kept. False when the header does not describe the bytes.
bool DecodeSamples(const WaveSamples& sound, uint16_t streamChannels, size_t maxFrames,
                   DecodedSamples& decoded);
