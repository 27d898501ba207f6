#include "audio/SampleConversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
// Extensible images carry their true type in a subformat we are not handed; every depth is
// taken as integer PCM, the type recorders write.
constexpr uint16_t kTagExtensible = 0xFFFE;

enum class SampleType { Unsigned8, Signed16, Signed24, Signed32, Float32, None };

SampleType TypeOf(const WaveSamples& sound) {
    const bool pcm = sound.formatTag == kTagPcm || sound.formatTag == kTagExtensible;
    if (sound.formatTag == kTagFloat) {
        return sound.bitsPerSample == 32 ? SampleType::Float32 : SampleType::None;
    }
    if (!pcm) return SampleType::None;
    switch (sound.bitsPerSample) {
    case 8: return SampleType::Unsigned8;
    case 16: return SampleType::Signed16;
    case 24: return SampleType::Signed24;
    case 32: return SampleType::Signed32;
    default: return SampleType::None;
    }
}

int32_t ReadSigned(const uint8_t* at, unsigned bytes) {
    // Little-endian, the top byte's sign carried up through the shift.
    uint32_t value = 0;
    for (unsigned i = 0; i < bytes; ++i) value |= uint32_t(at[i]) << (8 * i);
    return int32_t(value << (32 - 8 * bytes));
}

float ReadSample(const uint8_t* at, SampleType type) {
    switch (type) {
    case SampleType::Unsigned8: return (float(at[0]) - 128.0f) / 128.0f;
    case SampleType::Signed16:
    case SampleType::Signed24:
    case SampleType::Signed32:
        // Every depth shifted up to 32 bits, so one scale serves them all.
        return float(double(ReadSigned(at, type == SampleType::Signed16   ? 2
                                           : type == SampleType::Signed24 ? 3
                                                                          : 4)) /
                     2147483648.0);
    case SampleType::Float32: {
        float value;
        std::memcpy(&value, at, sizeof value);
        // Out-of-range and non-numbers in outside data must not reach the mix.
        if (!std::isfinite(value)) return 0.0f;
        return std::clamp(value, -1.0f, 1.0f);
    }
    case SampleType::None: break;
    }
    return 0.0f;
}

}  // namespace

bool DecodeSamples(const WaveSamples& sound, uint16_t streamChannels, size_t maxFrames,
                   DecodedSamples& decoded) {
    const SampleType type = TypeOf(sound);
    const unsigned sampleBytes = sound.bitsPerSample / 8u;
    if (type == SampleType::None || sound.channels == 0 || streamChannels == 0 ||
        sound.blockAlign != sound.channels * sampleBytes ||
        !IsPlausibleSampleRate(sound.sampleRate) || sound.size % sound.blockAlign != 0 ||
        (sound.data == nullptr && sound.size != 0)) {
        return false;
    }
    const size_t frames = std::min(sound.size / sound.blockAlign, maxFrames);
    const bool averageToMono = streamChannels == 1 && sound.channels >= 2;
    decoded.channels = averageToMono ? 1 : std::min<uint16_t>(sound.channels, 2);
    decoded.samples.resize(frames * decoded.channels);
    float* out = decoded.samples.data();
    for (size_t frame = 0; frame < frames; ++frame) {
        const uint8_t* at = sound.data + frame * sound.blockAlign;
        if (averageToMono) {
            *out++ = (ReadSample(at, type) + ReadSample(at + sampleBytes, type)) * 0.5f;
            continue;
        }
        for (unsigned channel = 0; channel < decoded.channels; ++channel) {
            *out++ = ReadSample(at + channel * sampleBytes, type);
        }
    }
    return true;
}
