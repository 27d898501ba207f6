#pragma once
// For a device whose mix format is 16-bit PCM: the mixer's float output, rounded and clamped.

#include <cstddef>
#include <cstdint>

inline int16_t FloatToPcm16(float sample) {
    // NaN fails both comparisons and the clamp below would keep it: silence instead.
    if (!(sample == sample)) return 0;
    const float scaled = sample * 32768.0f;
    if (scaled >= 32767.0f) return 32767;
    if (scaled <= -32768.0f) return -32768;
    return static_cast<int16_t>(scaled < 0 ? scaled - 0.5f : scaled + 0.5f);
}

inline void FloatToPcm16(const float* in, size_t count, int16_t* out) {
    for (size_t i = 0; i < count; ++i) out[i] = FloatToPcm16(in[i]);
}
