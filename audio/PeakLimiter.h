#pragma once
// Keeps the mix at or below full scale without making a single sound quieter: the gain for a
// block comes from the block's own peak before any of it is written, so no sample exceeds 1.0;
// afterwards it returns smoothly to unity.

#include <cstddef>
#include <cstdint>

class PeakLimiter {
public:
    static constexpr double kReleaseSeconds = 0.05;  // time constant of the return to unity

    // Scales frames frames of `channels` interleaved samples in place.
    void Apply(float* samples, uint32_t frames, uint16_t channels, uint32_t sampleRate);

    float Gain() const { return gain_; }

private:
    float gain_ = 1.0f;
};
