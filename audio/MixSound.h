#pragma once
// A sound converted for one output format, ready for a voice: interleaved float frames at the
// stream's rate, mono or stereo (stereo only when the stream has two channels or more).

#include "audio/Mixer.h"

#include <cstddef>
#include <vector>

struct MixSound {
    MixFormat format;           // the stream format it was converted for
    uint16_t channels = 0;      // 1 or 2
    std::vector<float> samples;

    size_t Frames() const { return channels == 0 ? 0 : samples.size() / channels; }
};

inline bool operator==(const MixFormat& a, const MixFormat& b) {
    return a.sampleRate == b.sampleRate && a.channels == b.channels;
}
inline bool operator!=(const MixFormat& a, const MixFormat& b) { return !(a == b); }
