#include "audio/SoundConverter.h"

#include "audio/SampleConversion.h"

std::unique_ptr<MixSound> SoundConverter::Convert(const WaveSamples& sound,
                                                  const MixFormat& format) {
    if (!IsPlausibleSampleRate(format.sampleRate) || format.channels == 0) return nullptr;
    DecodedSamples decoded;
    if (!DecodeSamples(sound, format.channels, size_t(sound.sampleRate) * kLongestSeconds,
                       decoded)) {
        return nullptr;
    }
    auto converted = std::make_unique<MixSound>();
    converted->format = format;
    converted->channels = decoded.channels;
    if (sound.sampleRate == format.sampleRate) {
        converted->samples = std::move(decoded.samples);
        return converted;
    }
    if (!resampler_ || resampler_->InRate() != sound.sampleRate ||
        resampler_->OutRate() != format.sampleRate) {
        resampler_ = std::make_unique<Resampler>(sound.sampleRate, format.sampleRate);
    }
    const size_t frames = decoded.samples.size() / decoded.channels;
    converted->samples.resize(resampler_->OutputFrames(frames) * decoded.channels);
    resampler_->Convert(decoded.samples.data(), frames, decoded.channels,
                        converted->samples.data());
    return converted;
}
