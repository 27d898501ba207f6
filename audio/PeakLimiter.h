#pragma once
// Keeps the mix at or below full scale without making a single sound quieter. The gain for each
// frame comes from the block's samples before any of them is written: it starts to fall ahead of
// a peak, never faster than from unity to silence in a millisecond, so that a sound joining a
// loud one does not make it step down; so no sample exceeds 1.0. Afterwards it returns smoothly
// to unity. Fixed storage: nothing is allocated here.

#include <array>
#include <cstddef>
#include <cstdint>

class PeakLimiter {
public:
    static constexpr double kFallSeconds = 0.001;     // the fastest fall, from unity to zero
    static constexpr double kReleaseSeconds = 0.05;   // time constant of the return to unity
    static constexpr uint32_t kLookAheadFrames = 2048; // longer blocks are taken in parts

    // Scales `frames` frames of `channels` interleaved samples in place.
    void Apply(float* samples, uint32_t frames, uint16_t channels, uint32_t sampleRate);

private:
    void ApplyPart(float* samples, uint32_t frames, uint16_t channels, float fall, float rise);

    float gain_ = 1.0f;
    std::array<float, kLookAheadFrames> allowed_{};  // the highest gain each frame allows
};
