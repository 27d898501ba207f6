#include "audio/MixVoices.h"

#include <algorithm>

bool MixVoices::Start(MixSound* sound, const MixFormat& format) {
    Voice* free = nullptr;
    Voice* oldest = nullptr;
    size_t playing = 0;
    for (Voice& voice : voices_) {
        if (voice.sound == nullptr) {
            if (free == nullptr) free = &voice;
        } else if (voice.fadeLeft == 0) {
            ++playing;
            if (oldest == nullptr || voice.startOrder < oldest->startOrder) oldest = &voice;
        }
    }
    if (free == nullptr) return false;
    const auto frames = [&](double seconds) {
        return std::max<uint32_t>(1, uint32_t(format.sampleRate * seconds));
    };
    if (playing >= kMostPlaying) oldest->fadeLeft = oldest->fadeOut;
    *free = Voice{sound, 0, frames(kFadeInSeconds), frames(kFadeOutSeconds), 0, started_++};
    return true;
}

size_t MixVoices::Mix(float* out, uint32_t frames, const MixFormat& format,
                      std::array<MixSound*, kSlots>& finished) {
    size_t count = 0;
    for (Voice& voice : voices_) {
        if (voice.sound == nullptr) continue;
        if (voice.sound->format != format || MixVoice(voice, out, frames, format.channels)) {
            finished[count++] = voice.sound;
            voice = Voice{};
        }
    }
    return count;
}

bool MixVoices::MixVoice(Voice& voice, float* out, uint32_t frames, uint16_t channels) {
    const MixSound& sound = *voice.sound;
    const size_t length = sound.Frames();
    const unsigned soundChannels = std::min<unsigned>(channels, 2);
    for (uint32_t frame = 0; frame < frames; ++frame) {
        if (voice.position >= length) return true;
        float gain = 1.0f;
        if (voice.position < voice.fadeIn) gain = float(voice.position) / float(voice.fadeIn);
        if (voice.fadeLeft != 0) gain *= float(voice.fadeLeft) / float(voice.fadeOut + 1);
        const float* source = &sound.samples[voice.position * sound.channels];
        float* target = out + size_t(frame) * channels;
        // A mono sound feeds both front channels alike.
        for (unsigned channel = 0; channel < soundChannels; ++channel) {
            target[channel] += gain * source[std::min<unsigned>(channel, sound.channels - 1)];
        }
        ++voice.position;
        if (voice.fadeLeft != 0 && --voice.fadeLeft == 0) return true;
    }
    return voice.position >= length;
}

size_t MixVoices::StopAll(std::array<MixSound*, kSlots>& finished) {
    size_t count = 0;
    for (Voice& voice : voices_) {
        if (voice.sound != nullptr) finished[count++] = voice.sound;
        voice = Voice{};
    }
    return count;
}

bool MixVoices::Active() const {
    return std::any_of(voices_.begin(), voices_.end(),
                       [](const Voice& voice) { return voice.sound != nullptr; });
}
