#include "audio/PeakLimiter.h"

#include <algorithm>
#include <cmath>

void PeakLimiter::Apply(float* samples, uint32_t frames, uint16_t channels, uint32_t sampleRate) {
    const size_t count = size_t(frames) * channels;
    float peak = 0.0f;
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::fabs(samples[i]));
    // The highest gain that keeps this block's peak at full scale.
    const float ceiling = peak > 1.0f ? 1.0f / peak : 1.0f;
    if (ceiling < gain_) gain_ = ceiling;
    if (gain_ == 1.0f) return;

    // Rises toward the ceiling, never above it, so the limit holds on every sample.
    const auto step = float(1.0 - std::exp(-1.0 / (kReleaseSeconds * sampleRate)));
    for (uint32_t frame = 0; frame < frames; ++frame) {
        float* target = samples + size_t(frame) * channels;
        for (uint16_t channel = 0; channel < channels; ++channel) {
            // Clamped against the last rounding of gain times peak.
            target[channel] = std::clamp(target[channel] * gain_, -1.0f, 1.0f);
        }
        gain_ = std::min(ceiling, gain_ + (ceiling - gain_) * step);
    }
    // Close enough to unity to stop scaling.
    if (ceiling == 1.0f && gain_ > 0.99999f) gain_ = 1.0f;
}
