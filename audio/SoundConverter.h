#pragma once
// Turns a WAV image's samples into a sound for the stream: decoded, at the stream's rate, with
// the stream's front channels. Main thread; keeps the last rate converter, since the sounds of
// a scheme mostly share one rate.

#include "audio/MixSound.h"
#include "audio/Resampler.h"

#include <memory>

class SoundConverter {
public:
    // Longer sounds play their beginning only: this bounds the memory a sound can take.
    static constexpr uint32_t kLongestSeconds = 10;

    // Null when the samples or the format cannot be converted.
    std::unique_ptr<MixSound> Convert(const WaveSamples& sound, const MixFormat& format);

private:
    std::unique_ptr<Resampler> resampler_;
};
