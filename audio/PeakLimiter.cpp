#include "audio/PeakLimiter.h"

#include <algorithm>
#include <cmath>

void PeakLimiter::Apply(float* samples, uint32_t frames, uint16_t channels, uint32_t sampleRate) {
    const auto fall = float(1.0 / (kFallSeconds * sampleRate));
    const auto rise = float(1.0 - std::exp(-1.0 / (kReleaseSeconds * sampleRate)));
    while (frames > 0) {
        const uint32_t part = std::min(frames, kLookAheadFrames);
        ApplyPart(samples, part, channels, fall, rise);
        samples += size_t(part) * channels;
        frames -= part;
    }
}

void PeakLimiter::ApplyPart(float* samples, uint32_t frames, uint16_t channels, float fall,
                            float rise) {
    // From the end back: what each frame allows, lowered ahead of a peak by at most `fall` a
    // frame, so that the gain can get there in time.
    float allowed = 1.0f;
    float lowest = 1.0f;
    for (uint32_t frame = frames; frame-- > 0;) {
        const float* at = samples + size_t(frame) * channels;
        float peak = 0.0f;
        for (uint16_t channel = 0; channel < channels; ++channel) {
            peak = std::max(peak, std::fabs(at[channel]));
        }
        allowed = std::min(peak > 1.0f ? 1.0f / peak : 1.0f, allowed + fall);
        allowed_[frame] = allowed;
        lowest = std::min(lowest, allowed);
    }
    if (gain_ == 1.0f && lowest == 1.0f) return;  // nothing to limit, nothing to release

    for (uint32_t frame = 0; frame < frames; ++frame) {
        gain_ = std::min(allowed_[frame], gain_ + (1.0f - gain_) * rise);
        float* at = samples + size_t(frame) * channels;
        for (uint16_t channel = 0; channel < channels; ++channel) {
            // Clamped against the last rounding of gain times peak.
            at[channel] = std::clamp(at[channel] * gain_, -1.0f, 1.0f);
        }
    }
    // Close enough to unity to stop scaling.
    if (gain_ > 0.99999f) gain_ = 1.0f;
}
