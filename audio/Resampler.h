#pragma once
// Band-limited sample-rate conversion: a Kaiser-windowed sinc, tabulated at fixed fractional
// positions (linearly interpolated between them) and cut off just below the lower of the two
// Nyquist frequencies, so that nothing above it folds back as an alias.

#include <cstddef>
#include <cstdint>
#include <vector>

class Resampler {
public:
    // Builds the filter table; both rates must be plausible (IsPlausibleSampleRate).
    Resampler(uint32_t inRate, uint32_t outRate);

    uint32_t InRate() const { return inRate_; }
    uint32_t OutRate() const { return outRate_; }
    unsigned Taps() const { return taps_; }

    // Frames written for inFrames frames: the same length of time, rounded up.
    size_t OutputFrames(size_t inFrames) const;

    // in: inFrames interleaved frames of `channels`; out: room for OutputFrames(inFrames).
    // Samples before the start and after the end count as silence.
    void Convert(const float* in, size_t inFrames, unsigned channels, float* out) const;

private:
    uint32_t inRate_;
    uint32_t outRate_;
    unsigned taps_;
    std::vector<float> table_;  // kPhases + 1 rows of taps_ coefficients
};
